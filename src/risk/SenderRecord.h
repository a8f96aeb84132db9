#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "base/BoundedText.h"
#include "base/MessageEntry.h"

namespace qlt {

// The highest kind a sender record may hold: 0 marks nothing, 1 friend
// (white list), 2 foe (black list), the values of MessageEntry::senderStatus.
inline constexpr std::uint8_t kMaxSenderKind = kSenderFoe;

// One entry of the sender list, as kept in its file: 76 bytes.
//   0  kind  u8
//   1  text  75  zero-terminated, at most 74 characters, the rest zero
struct SenderRecord {
    static constexpr std::size_t kSize = 76;
    static constexpr std::size_t kTextCapacity = 75;

    std::uint8_t kind = kSenderUnlisted;
    BoundedText<kTextCapacity> text;  // longer texts are cut to 74 characters

    void writeTo(std::span<std::uint8_t, kSize> out) const {
        out[0] = kind;
        for (std::size_t i = 0; i < kTextCapacity; ++i)
            out[1 + i] = i < text.size() ? static_cast<std::uint8_t>(text.view()[i]) : 0;
    }

    // A text field without a terminator keeps its first 74 characters.
    static SenderRecord readFrom(std::span<const std::uint8_t, kSize> in) {
        SenderRecord r;
        r.kind = in[0];
        r.text = std::string_view(reinterpret_cast<const char*>(in.data() + 1), kTextCapacity);
        return r;
    }

    friend bool operator==(const SenderRecord&, const SenderRecord&) = default;
};

}  // namespace qlt
