#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "base/Utf8Text.h"

namespace qlt {

// A JSON string of an entry's bytes, read as the window reads them (UTF-8
// when valid, else Latin-1); quote, backslash, CR, LF and tab get their short
// escapes, other control bytes \u00XX.
inline void appendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out.push_back('"');
    for (const char ch : displayUtf8(text)) {
        const auto b = static_cast<unsigned char>(ch);
        switch (b) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (b < 0x20 || b == 0x7F) {
                    out += "\\u00";
                    out.push_back(kHex[b >> 4]);
                    out.push_back(kHex[b & 0xF]);
                } else {
                    out.push_back(ch);
                }
        }
    }
    out.push_back('"');
}

// Builds one object key by key into `out`; the object closes when the writer
// goes.
class JsonObjectWriter {
  public:
    explicit JsonObjectWriter(std::string& out) : m_out(out) { m_out.push_back('{'); }
    ~JsonObjectWriter() { m_out.push_back('}'); }
    JsonObjectWriter(const JsonObjectWriter&) = delete;
    JsonObjectWriter& operator=(const JsonObjectWriter&) = delete;

    void text(std::string_view name, std::string_view value) {
        key(name);
        appendJsonString(m_out, value);
    }
    void number(std::string_view name, long long value) {
        key(name);
        m_out += std::to_string(value);
    }
    void boolean(std::string_view name, bool value) {
        key(name);
        m_out += value ? "true" : "false";
    }
    template <typename T, std::size_t N>
    void numbers(std::string_view name, const std::array<T, N>& values) {
        list(name, values, [](std::string& out, T value) { out += std::to_string(value); });
    }
    template <std::size_t N>
    void texts(std::string_view name, const std::array<std::string, N>& values) {
        list(name, values, [](std::string& out, const std::string& value) { appendJsonString(out, value); });
    }
    // Starts a value the caller writes itself.
    std::string& raw(std::string_view name) {
        key(name);
        return m_out;
    }

  private:
    template <typename T, std::size_t N, typename AppendItem>
    void list(std::string_view name, const std::array<T, N>& values, AppendItem appendItem) {
        key(name);
        m_out.push_back('[');
        for (std::size_t i = 0; i < N; ++i) {
            if (i != 0) m_out.push_back(',');
            appendItem(m_out, values[i]);
        }
        m_out.push_back(']');
    }
    void key(std::string_view name) {
        if (!m_first) m_out.push_back(',');
        m_first = false;
        appendJsonString(m_out, name);
        m_out.push_back(':');
    }

    std::string& m_out;
    bool m_first = true;
};

// A value of a flat object as JsonObjectWriter writes one: a text, an
// integer, true or false, or a list of texts and integers.
struct JsonValue {
    using Item = std::variant<std::string, std::int64_t, bool>;
    Item scalar;
    std::vector<Item> list;
    bool isList = false;
};
using JsonFlatObject = std::map<std::string, JsonValue, std::less<>>;

// Reads one object of that shape (nested objects, lists in lists, fractions
// and null are refused); nothing when the text is not one. Untrusted text:
// the read is one pass, and the text must end after the object but for
// white space.
std::optional<JsonFlatObject> readJsonFlatObject(std::string_view text);

}  // namespace qlt
