#pragma once

#include <string>
#include <string_view>

namespace qlt {

// Entry texts are the bytes the mail gave, in no declared charset. Shown as
// text they are UTF-8 when they are valid UTF-8, else Latin-1, as the window
// shows them.

// True when text is well-formed UTF-8: no overlong form, no surrogate, no
// code point past U+10FFFF, no sequence cut short.
bool isValidUtf8(std::string_view text);

// The bytes as UTF-8: unchanged when valid UTF-8 (a leading byte order mark
// dropped), else each byte the Latin-1 character of its value.
std::string displayUtf8(std::string_view bytes);

}  // namespace qlt
