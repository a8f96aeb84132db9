#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qlt::test {

// Just enough JSON to read what the command line prints: objects (keys kept
// in order), arrays, strings with code points up to U+00FF (read back into
// single bytes), whole numbers, null. Anything else fails the parse.
struct Json {
    enum class Kind { Object, Array, String, Number, Null } kind = Kind::Number;
    std::vector<std::pair<std::string, Json>> members;
    std::vector<Json> items;
    std::string text;
    long long number = 0;

    const Json& operator[](std::string_view key) const {
        for (const auto& [k, v] : members)
            if (k == key) return v;
        static const Json missing{Kind::String, {}, {}, "<missing>", 0};
        return missing;
    }
    std::vector<std::string> keys() const {
        std::vector<std::string> out;
        for (const auto& m : members) out.push_back(m.first);
        return out;
    }
    std::vector<long long> numbers() const {
        std::vector<long long> out;
        for (const auto& i : items) out.push_back(i.number);
        return out;
    }
};

class JsonReader {
  public:
    static std::optional<Json> parse(std::string_view text) {
        JsonReader r(text);
        Json value;
        if (!r.value(value, 0)) return std::nullopt;
        r.skipSpace();
        if (r.m_pos != text.size()) return std::nullopt;
        return value;
    }

  private:
    explicit JsonReader(std::string_view text) : m_text(text) {}

    void skipSpace() {
        while (m_pos < m_text.size() &&
               (m_text[m_pos] == ' ' || m_text[m_pos] == '\n' || m_text[m_pos] == '\r'))
            ++m_pos;
    }
    bool take(char c) {
        skipSpace();
        if (m_pos >= m_text.size() || m_text[m_pos] != c) return false;
        ++m_pos;
        return true;
    }
    bool peek(char c) {
        skipSpace();
        return m_pos < m_text.size() && m_text[m_pos] == c;
    }

    bool value(Json& out, int depth) {
        if (depth > 8) return false;
        if (peek('{')) return object(out, depth);
        if (peek('[')) return array(out, depth);
        if (peek('"')) {
            out.kind = Json::Kind::String;
            return string(out.text);
        }
        if (m_text.substr(m_pos).starts_with("null")) {
            out.kind = Json::Kind::Null;
            m_pos += 4;
            return true;
        }
        return integer(out);
    }

    bool object(Json& out, int depth) {
        out.kind = Json::Kind::Object;
        take('{');
        if (take('}')) return true;
        do {
            std::string key;
            Json member;
            if (!peek('"') || !string(key) || !take(':') || !value(member, depth + 1)) return false;
            out.members.emplace_back(std::move(key), std::move(member));
        } while (take(','));
        return take('}');
    }

    bool array(Json& out, int depth) {
        out.kind = Json::Kind::Array;
        take('[');
        if (take(']')) return true;
        do {
            Json item;
            if (!value(item, depth + 1)) return false;
            out.items.push_back(std::move(item));
        } while (take(','));
        return take(']');
    }

    bool integer(Json& out) {
        const std::size_t start = m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '-') ++m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9') ++m_pos;
        if (m_pos == start) return false;
        out.kind = Json::Kind::Number;
        out.number = std::stoll(std::string(m_text.substr(start, m_pos - start)));
        return true;
    }

    // A string whose characters are all below U+0100, back to one byte each.
    bool string(std::string& out) {
        take('"');
        while (m_pos < m_text.size()) {
            const auto b = static_cast<unsigned char>(m_text[m_pos++]);
            if (b == '"') return true;
            if (b < 0x20) return false;  // control bytes must be escaped
            if (b == '\\') {
                if (!escape(out)) return false;
            } else if (b < 0x80) {
                out.push_back(static_cast<char>(b));
            } else if ((b == 0xC2 || b == 0xC3) && m_pos < m_text.size()) {
                out.push_back(static_cast<char>(((b & 0x03) << 6) | (m_text[m_pos++] & 0x3F)));
            } else {
                return false;
            }
        }
        return false;
    }

    bool escape(std::string& out) {
        if (m_pos >= m_text.size()) return false;
        static const std::map<char, char> kShort{
            {'"', '"'}, {'\\', '\\'}, {'n', '\n'}, {'r', '\r'}, {'t', '\t'}};
        const char c = m_text[m_pos++];
        if (const auto it = kShort.find(c); it != kShort.end()) {
            out.push_back(it->second);
            return true;
        }
        if (c != 'u' || m_pos + 4 > m_text.size() || m_text.substr(m_pos, 2) != "00") return false;
        const unsigned code = std::stoul(std::string(m_text.substr(m_pos + 2, 2)), nullptr, 16);
        m_pos += 4;
        out.push_back(static_cast<char>(code));
        return true;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

}  // namespace qlt::test
