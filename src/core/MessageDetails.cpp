#include "core/MessageDetails.h"

#include <algorithm>
#include <cstdio>

#include "base/AsciiText.h"
#include "store/Formatting.h"

namespace qlt {

namespace {

constexpr std::string_view kFileNameWord = "filename";
constexpr std::string_view kBoundaryWord = "boundary";
constexpr std::size_t kFirstBoundaryCut = 2;
constexpr std::size_t kLastBoundaryCut = 65534;

}  // namespace

std::string AttachmentText(const MessageEntry& entry) {
    const int parts = entry.partCount();
    if (parts == 0) return "No";
    const auto files = std::count_if(entry.parts.begin(), entry.parts.end(), [](const MimePartInfo& part) {
        return containsNoCase(part.contentDisposition.view(), kFileNameWord);
    });
    if (files == 0) return "No files (" + std::to_string(parts) + " parts).";
    return "Yes: " + std::to_string(files) + " file" + PluralS(files) + " (" + std::to_string(parts) +
           " parts).";
}

std::string ShownContentType(std::string_view contentType) {
    const std::size_t at = contentType.find(kBoundaryWord);
    if (at == std::string_view::npos || at < kFirstBoundaryCut || at > kLastBoundaryCut)
        return std::string(contentType);
    return std::string(contentType.substr(0, at));
}

std::string ReasonCodeText(std::uint32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(code));
    return text;
}

std::array<int, kDetailRiskRows> DetailLampLevels(const MessageEntry& entry) {
    std::array<int, kDetailRiskRows> levels{};
    for (int row = 0; row < kDetailRiskRows; ++row)
        levels[static_cast<std::size_t>(row)] =
            entry.size > 0 ? entry.level[static_cast<std::size_t>(row)] : kNoLampLevel;
    return levels;
}

MessageDetails DescribeMessage(const MessageEntry& entry) {
    MessageDetails details;
    details.from = entry.from.str();
    details.sizeText = FormatSizeInParens(entry.size);
    details.to = entry.to.str();
    details.subject = entry.subject.str();
    details.date = entry.date.str();
    details.uidl = entry.uidl.str();
    details.attachments = AttachmentText(entry);
    details.contentType = ShownContentType(entry.contentType.view());
    for (std::size_t row = 0; row < details.reasons.size(); ++row) {
        details.reasons[row] = ReasonCodeText(entry.levelReason[row]);
        details.reasonWords[row] = entry.levelReasonText[row];
    }
    details.lampLevels = DetailLampLevels(entry);
    return details;
}

}  // namespace qlt
