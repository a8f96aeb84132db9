#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "base/MessageEntry.h"

namespace qlt {

// What the server's LIST and UIDL said of a message, and whose it is.
struct MessageOrigin {
    std::string_view uidl;
    std::int32_t size = 0;  // octets by LIST; below 2 when unknown
    std::int32_t messageNumber = 0;
    std::uint8_t accountIndex = 0;
};

// A filled entry, not rated yet.
struct FilledMessage {
    MessageEntry entry;
    // The body exactly as fetched (after the header block's empty line, not
    // decoded, not cut), which the rating reads together with the entry. It
    // points into the reply given to FillEntry. Unset when the reply has no
    // body worth rating: such an entry is appended unrated.
    std::optional<std::string_view> bodyToRate;
};

// The text that ends a preview whose message goes on beyond what was fetched.
inline constexpr std::string_view kMoreMarker = "...\r\n\r\n(MORE)\r\n";

// Turns a TOP reply (status line and terminator removed; untrusted data!)
// into a message entry: header block and fields, content-type flags, MIME
// parts, link flags and the plain-text preview, with the "(MORE)" marker when
// the message is longer than what came.
FilledMessage FillEntry(std::string_view reply, const MessageOrigin& origin);

}  // namespace qlt
