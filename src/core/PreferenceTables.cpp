#include "core/PreferenceTables.h"

#include <algorithm>

#include "store/Formatting.h"

namespace qlt {

namespace {

constexpr std::array<std::uint8_t, 4> kThresholdDelTags = {4, 3, 2, 1};

template <class Table>
bool inTable(const Table& table, int position) {
    return position >= 0 && static_cast<std::size_t>(position) < table.size();
}

}  // namespace

int thresholdPosition(std::uint8_t delTag) {
    return (delTag >= 1 && delTag <= 3) ? 4 - delTag : 0;
}

std::uint8_t delTagForThreshold(int position) {
    return inTable(kThresholdDelTags, position) ? kThresholdDelTags[static_cast<std::size_t>(position)] : 0;
}

int scanBufPosition(std::int32_t scanBuf) {
    const auto found = std::find(kScanBufSizes.begin(), kScanBufSizes.end(), scanBuf);
    return found == kScanBufSizes.end() ? -1 : static_cast<int>(found - kScanBufSizes.begin());
}

std::optional<std::int32_t> scanBufForPosition(int position) {
    if (!inTable(kScanBufSizes, position)) return std::nullopt;
    return kScanBufSizes[static_cast<std::size_t>(position)];
}

int iconStylePosition(std::uint8_t defaultTag) {
    return inTable(kIconStyleNames, defaultTag) ? defaultTag : -1;
}

std::optional<std::uint8_t> iconStyleForPosition(int position) {
    if (!inTable(kIconStyleNames, position)) return std::nullopt;
    return static_cast<std::uint8_t>(position);
}

std::string emailAppAfterOk(std::string_view editText, const std::string& emailApp) {
    if (editText.empty()) return {};
    const std::string path(editText);
    return FileExists(path) ? path : emailApp;
}

}  // namespace qlt
