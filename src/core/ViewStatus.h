#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/MessageList.h"
#include "core/MessageView.h"
#include "store/AccountStore.h"

namespace qlt {

// The counts field under the message view: "No Account" without accounts,
// else the entries of every account, the server counts of every account and
// the plural of the first. A number outside 0..9999 shows as 0.
std::string MessageCountText(const AccountStore& accounts, const MessageList& list);

// The position field: "Pos: n" of the current row, and the tagged rows when
// the last STAT found messages (`statCount`); empty without a current entry.
std::string PositionText(const MessageView& view, std::int32_t statCount);

inline constexpr int kRiskLampCount = 4;  // the user-strings level has no lamp
inline constexpr int kLampNoData = -1;

struct RiskLamps {
    // Per lamp kLampNoData or the highest level 0..3 (virus, spam, X-rated,
    // foul language).
    std::array<int, kRiskLampCount> lamp{kLampNoData, kLampNoData, kLampNoData, kLampNoData};
    // 0 without data, else 1 + the highest lamp level; the tray icon kind.
    int overallRisk = 0;

    friend bool operator==(const RiskLamps&, const RiskLamps&) = default;
};

// refreshRiskLamps over the entries the view lists (the current account's,
// or every account's with Show All). An account not read yet ("Update
// Needed") or without messages shows no data.
RiskLamps ComputeRiskLamps(const AccountStore& accounts, const MessageList& list, bool showAll);

}  // namespace qlt
