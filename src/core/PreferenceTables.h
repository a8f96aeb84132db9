#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qlt {

// The lists of the Advanced Preferences dialog and the settings behind their
// positions. A position of -1 is "nothing selected".

inline constexpr std::array<const char*, 4> kThresholdNames = {"none", "3. Red", "2. Orange", "1. Yellow"};
// DelTag 1, 2, 3 select their entry; any other value selects "none".
int thresholdPosition(std::uint8_t delTag);
// "none" stores 4 (no row reaches it); no selection stores 0.
std::uint8_t delTagForThreshold(int position);

inline constexpr std::array<std::int32_t, 6> kScanBufSizes = {128, 256, 512, 1024, 2048, 4096};
// -1 for a size not in the table.
int scanBufPosition(std::int32_t scanBuf);
std::optional<std::int32_t> scanBufForPosition(int position);

inline constexpr std::array<const char*, 5> kIconStyleNames = {"Block", "Bar", "Fill Bar", "CxBar",
                                                               "Grid CxBar"};
// The style's own position, -1 for a value past the table.
int iconStylePosition(std::uint8_t defaultTag);
std::optional<std::uint8_t> iconStyleForPosition(int position);

// EmailApp after OK: an empty edit clears it (the system's mail program is
// used); an edit naming an existing file replaces it; anything else keeps it,
// so a full path chosen by Browse survives the edit showing its file name.
std::string emailAppAfterOk(std::string_view editText, const std::string& emailApp);

}  // namespace qlt
