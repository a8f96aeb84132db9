#include "core/NewMailNotice.h"

#include <algorithm>
#include <optional>

#include "store/Formatting.h"

namespace qlt {

namespace {

constexpr std::array<const char*, 4> kLevelNames = {"Green", "Yellow", "Orange", "Red"};

enum class HiddenFor { XRated, FoulLanguage };

// A message rated both ways is counted once, as X-rated: of the two it is
// the one a reader least wants on screen with someone looking on.
std::optional<HiddenFor> hiddenFor(const NoticeMessage& message) {
    if (message.level[kXRated] >= kLevelOrange) return HiddenFor::XRated;
    if (message.level[kFoulLanguage] >= kLevelOrange) return HiddenFor::FoulLanguage;
    return std::nullopt;
}

// A server's text on one line: control characters would break the notice's layout.
std::string oneLine(const std::string& text, const char* whenEmpty) {
    if (text.empty()) return whenEmpty;
    std::string line = text;
    std::ranges::replace_if(
        line, [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }, ' ');
    return line;
}

std::string messagesText(std::size_t n) {
    return std::to_string(n) + " message" + PluralS(static_cast<long long>(n));
}

}  // namespace

void AddToNotice(NewMailNotice& notice, const MessageEntry& entry, const std::string& accountName) {
    ++notice.count;
    const auto highest = *std::ranges::max_element(entry.level);
    notice.highestLevel = std::max(notice.highestLevel, std::min(static_cast<int>(highest), 3));
    if (std::ranges::find(notice.accounts, accountName) == notice.accounts.end())
        notice.accounts.push_back(accountName);
    if (notice.messages.size() < kNoticeMessages)
        notice.messages.push_back({entry.from.str(), entry.subject.str(), entry.level});
}

std::string NewMailNoticeTitle(const NewMailNotice& notice) {
    const auto count = static_cast<long long>(notice.count);
    const std::string title = std::to_string(count) + " new message" + PluralS(count);
    if (notice.accounts.size() > 1)
        return title + " in " + std::to_string(notice.accounts.size()) + " accounts";
    if (notice.accounts.size() == 1 && !notice.accounts.front().empty())
        return title + " for " + notice.accounts.front();
    return title;
}

std::string NewMailNoticeText(const NewMailNotice& notice, bool redact) {
    std::string text;
    std::size_t hiddenXRated = 0;
    std::size_t hiddenFoul = 0;
    for (const NoticeMessage& message : notice.messages) {
        const auto hidden = redact ? hiddenFor(message) : std::nullopt;
        if (hidden) {
            ++(*hidden == HiddenFor::XRated ? hiddenXRated : hiddenFoul);
            continue;
        }
        text +=
            oneLine(message.sender, "(no sender)") + ": " + oneLine(message.subject, "(no subject)") + "\n";
    }
    if (hiddenXRated > 0) text += messagesText(hiddenXRated) + " hidden (X-rated)\n";
    if (hiddenFoul > 0) text += messagesText(hiddenFoul) + " hidden (foul language)\n";
    if (notice.count > notice.messages.size())
        text += "and " + std::to_string(notice.count - notice.messages.size()) + " more\n";
    return text +
           "Highest risk: " + kLevelNames.at(static_cast<std::size_t>(std::clamp(notice.highestLevel, 0, 3)));
}

}  // namespace qlt
