#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace qlt {

// Where a keyword is looked for. Any other stored value never matches.
enum KeywordWhere : std::uint8_t {
    kWhereText = 1,     // the message text
    kWhereHeaders = 2,  // the header block
    kWhereFrom = 3,
    kWhereSubject = 4,
};

// One entry of the keyword table, as kept in the dictionary data file:
// 40 bytes, integers little-endian.
//   0  id        u32   reason code the rating copies into the message
//   4  text      32    zero-terminated, at most 31 characters
//  36  length    u8    the writer's count of the text; not used for matching
//  37  category  u8    1 virus, 2 spam, 3 X-rated, 4 foul language, 5 user strings
//  38  level     u8    1 yellow, 2 orange, 3 red
//  39  where     u8    KeywordWhere
struct KeywordRecord {
    static constexpr std::size_t kSize = 40;
    static constexpr std::size_t kTextCapacity = 32;
    static constexpr std::size_t kMaxTextLength = kTextCapacity - 1;

    std::uint32_t id = 0;
    std::array<char, kTextCapacity> text{};
    std::uint8_t length = 0;
    std::uint8_t category = 0;
    std::uint8_t level = 0;
    std::uint8_t where = 0;

    // The text up to its terminator (a field without one ends at its last byte).
    std::string_view textView() const {
        std::size_t n = 0;
        while (n < kTextCapacity && text[n] != '\0') ++n;
        return {text.data(), n};
    }

    // Stores the text cut to 31 characters (and at a NUL byte), zero-filled,
    // and its length.
    void setText(std::string_view value) {
        text.fill('\0');
        std::size_t n = 0;
        while (n < value.size() && n < kMaxTextLength && value[n] != '\0') {
            text[n] = value[n];
            ++n;
        }
        length = static_cast<std::uint8_t>(n);
    }

    void writeTo(std::span<std::uint8_t, kSize> out) const {
        for (std::size_t i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(id >> (8 * i));
        for (std::size_t i = 0; i < kTextCapacity; ++i) out[4 + i] = static_cast<std::uint8_t>(text[i]);
        out[36] = length;
        out[37] = category;
        out[38] = level;
        out[39] = where;
    }

    static KeywordRecord readFrom(std::span<const std::uint8_t, kSize> in) {
        KeywordRecord r;
        for (std::size_t i = 0; i < 4; ++i) r.id |= static_cast<std::uint32_t>(in[i]) << (8 * i);
        for (std::size_t i = 0; i < kTextCapacity; ++i) r.text[i] = static_cast<char>(in[4 + i]);
        r.length = in[36];
        r.category = in[37];
        r.level = in[38];
        r.where = in[39];
        return r;
    }

    static KeywordRecord make(std::uint32_t id, std::string_view text, std::uint8_t category,
                              std::uint8_t level, std::uint8_t where) {
        KeywordRecord r;
        r.id = id;
        r.setText(text);
        r.category = category;
        r.level = level;
        r.where = where;
        return r;
    }

    friend bool operator==(const KeywordRecord&, const KeywordRecord&) = default;
};

}  // namespace qlt
