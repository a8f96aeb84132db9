#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qlt {

// The longest build text the About box shows; a longer version is cut.
inline constexpr std::size_t kMaxBuildTextLength = 63;

std::string buildText(std::string_view version);

// The version this program was built as, cut to fit.
std::string programBuildText();

}  // namespace qlt
