#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/MessageEntry.h"

namespace qlt {

// "--" followed by the quoted value of the first "boundary=" in the text, or
// empty (also for an unquoted value, which then finds no parts).
std::string FindBoundary(std::string_view text);

// The text between the delimiter found at or after `position` and the next
// one (or the end of the text); `position` moves to just after the first.
// Empty, with `position` unchanged, when no delimiter is left. The preamble is
// never returned; what follows the last delimiter is a part of its own.
std::string_view NextPart(std::string_view text, std::string_view delimiter, std::size_t& position);

// Value of a part's field (case-sensitive name with its ": ") up to the line
// end, joined with the next line when it ends in ";", cut to 127 characters.
// A name at the very start of the part does not count.
std::string GetPartField(std::string_view part, std::string_view name);

// The part's text after its first empty line, or the whole part when it has none.
std::string_view StripPartHeaders(std::string_view part);

// Walks the body's parts by the entry's boundary, records at most 32 of them
// in the entry (setting isBase64 where a text part was base64-decoded) and
// returns the first part's text that is not empty after conversion.
std::string WalkMultipart(std::string_view body, MessageEntry& entry);

// Converts a part's text (headers already removed) by its content type.
void ConvertPart(std::string& part, const MimePartInfo& info);

// Replaces a multipart/alternative block by its plain text, or by the text of
// its first HTML sub-part when the block has no "text/plain" at all.
void PickAlternative(std::string& text, std::string_view delimiter);

}  // namespace qlt
