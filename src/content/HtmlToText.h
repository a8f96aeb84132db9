#pragma once

#include <string>
#include <string_view>

namespace qlt {

// Plain text of an HTML body for the preview and the rating: head dropped,
// <br> as line breaks, tags removed (the target of an "http:" link inside a
// tag kept on a line of its own), a few stray quoted-printable escapes and
// entities replaced. Not a parser: comments, scripts and nesting mean nothing.
std::string HtmlToText(std::string_view html);

// Replaces `find` (letter case ignored) by `replacement` until no occurrence
// is left, so a replacement that forms a new occurrence with its neighbours is
// replaced in turn ("&amp;amp;" with "&amp;" -> "&" ends as "&"). Linear in the
// text. A replacement not shorter than `find` would never end that way; it is
// then made once per occurrence, left to right.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement);

// Trims white space at both ends and turns every run of spaces and tabs into
// one space; line breaks stay.
std::string CollapseBlanks(std::string_view text);

}  // namespace qlt
