#include "base/Json.h"

#include <charconv>

namespace qlt {

namespace {

// One pass over the text; every step moves on or fails.
class FlatReader {
  public:
    explicit FlatReader(std::string_view text) : m_text(text) {}

    std::optional<JsonFlatObject> object() {
        JsonFlatObject out;
        if (!take('{')) return std::nullopt;
        if (!take('}')) {
            do {
                std::string key;
                JsonValue value;
                if (!string(key) || !take(':') || !member(value)) return std::nullopt;
                out.insert_or_assign(std::move(key), std::move(value));
            } while (take(','));
            if (!take('}')) return std::nullopt;
        }
        skipSpace();
        if (m_at != m_text.size()) return std::nullopt;
        return out;
    }

  private:
    void skipSpace() {
        while (m_at < m_text.size() &&
               (m_text[m_at] == ' ' || m_text[m_at] == '\t' || m_text[m_at] == '\r' || m_text[m_at] == '\n'))
            ++m_at;
    }

    bool take(char ch) {
        skipSpace();
        if (m_at >= m_text.size() || m_text[m_at] != ch) return false;
        ++m_at;
        return true;
    }

    bool member(JsonValue& value) {
        if (!take('[')) return item(value.scalar);
        value.isList = true;
        if (take(']')) return true;
        do {
            JsonValue::Item next;
            if (!item(next)) return false;
            value.list.push_back(std::move(next));
        } while (take(','));
        return take(']');
    }

    bool item(JsonValue::Item& out) {
        skipSpace();
        if (m_at >= m_text.size()) return false;
        if (m_text[m_at] == '"') {
            std::string text;
            if (!string(text)) return false;
            out = std::move(text);
            return true;
        }
        for (const auto& [word, meaning] : {std::pair{"true", true}, std::pair{"false", false}}) {
            if (m_text.substr(m_at).starts_with(word)) {
                m_at += std::string_view(word).size();
                out = meaning;
                return true;
            }
        }
        std::int64_t number = 0;
        const char* first = m_text.data() + m_at;
        const auto [end, error] = std::from_chars(first, m_text.data() + m_text.size(), number);
        if (error != std::errc() || end == first) return false;
        m_at += static_cast<std::size_t>(end - first);
        out = number;
        return true;
    }

    bool string(std::string& out) {
        if (!take('"')) return false;
        while (m_at < m_text.size()) {
            const char ch = m_text[m_at++];
            if (ch == '"') return true;
            if (static_cast<unsigned char>(ch) < 0x20) return false;
            if (ch != '\\') {
                out.push_back(ch);
            } else if (!escape(out)) {
                return false;
            }
        }
        return false;
    }

    bool escape(std::string& out) {
        if (m_at >= m_text.size()) return false;
        switch (const char ch = m_text[m_at++]) {
            case '"':
            case '\\':
            case '/':
                out.push_back(ch);
                return true;
            case 'n':
                out.push_back('\n');
                return true;
            case 'r':
                out.push_back('\r');
                return true;
            case 't':
                out.push_back('\t');
                return true;
            case 'b':
                out.push_back('\b');
                return true;
            case 'f':
                out.push_back('\f');
                return true;
            case 'u':
                return codeUnit(out);
            default:
                return false;
        }
    }

    // \uXXXX below U+0800, as the writer makes them; a wider one (a writer
    // of another kind) would need surrogates and is refused.
    bool codeUnit(std::string& out) {
        unsigned value = 0;
        if (m_text.size() - m_at < 4) return false;
        const auto [end, error] = std::from_chars(m_text.data() + m_at, m_text.data() + m_at + 4, value, 16);
        if (error != std::errc() || end != m_text.data() + m_at + 4 || value >= 0x800) return false;
        m_at += 4;
        if (value < 0x80) {
            out.push_back(static_cast<char>(value));
        } else {
            out.push_back(static_cast<char>(0xC0 | (value >> 6)));
            out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
        }
        return true;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

}  // namespace

std::optional<JsonFlatObject> readJsonFlatObject(std::string_view text) {
    return FlatReader(text).object();
}

}  // namespace qlt
