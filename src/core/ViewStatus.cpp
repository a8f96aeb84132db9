#include "core/ViewStatus.h"

#include <algorithm>

#include "core/AccountQueries.h"
#include "store/Formatting.h"

namespace qlt {

namespace {

constexpr long long kMaxShownCount = 9999;
constexpr std::size_t kMaxPositionRow = 9999;

long long shownCount(long long n) {
    return n >= 0 && n <= kMaxShownCount ? n : 0;
}

}  // namespace

std::string MessageCountText(const AccountStore& accounts, const MessageList& list) {
    if (accounts.GetAccountCount() == 0) return "No Account";
    const long long entries = shownCount(static_cast<long long>(list.count()));
    const long long onServers = shownCount(SumOfServerCounts(accounts));
    return std::to_string(entries) + " (" + std::to_string(onServers) + ") Message" + PluralS(entries) + " ";
}

std::string PositionText(const MessageView& view, std::int32_t statCount) {
    if (view.currentEntry() < 0 || view.currentRow() >= kMaxPositionRow) return {};
    std::string text = "Pos: " + std::to_string(view.currentRow() + 1);
    const std::size_t tagged = view.rowCount() != 0 ? view.taggedCount() : 0;
    if (statCount >= 1 && tagged != 0) text += "  Delete: " + std::to_string(tagged);
    return text;
}

RiskLamps ComputeRiskLamps(const AccountStore& accounts, const MessageList& list, bool showAll) {
    const AccountRecord& current = accounts.currentAccount;
    if (current.messageCount == 0 || current.status == kStatusUpdateNeeded) return {};
    RiskLamps lamps;
    lamps.lamp.fill(0);
    for (std::size_t i = 0; i < list.count(); ++i) {
        const MessageEntry& entry = list.at(i);
        if (!EntryShown(entry, showAll, accounts.currentAccountNumber)) continue;
        for (std::size_t c = 0; c < lamps.lamp.size(); ++c)
            lamps.lamp[c] = std::max(lamps.lamp[c], LevelIcon(entry.level[c]));
    }
    lamps.overallRisk = 1 + *std::ranges::max_element(lamps.lamp);
    return lamps;
}

}  // namespace qlt
