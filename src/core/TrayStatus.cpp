#include "core/TrayStatus.h"

#include "core/AccountQueries.h"
#include "store/Formatting.h"

namespace qlt {

int TrayIconFor(int kind) {
    if (kind >= 1 && kind <= kTrayKindScanning) return kTrayIconProgram + kind;
    return kTrayIconProgram;
}

std::string TrayTipText(const AccountStore& accounts) {
    if (accounts.GetAccountCount() == 0) return "Quillgate - Inactive (No Account)";
    const long long messages = SumOfServerCounts(accounts);
    std::string tip = "QLT - mail checked " + FormatLastScanned(accounts.currentAccount) + " - " +
                      std::to_string(messages) + " Message" + PluralS(messages) + " ";
    if (tip.size() > kTrayTipMaxLength) tip.resize(kTrayTipMaxLength);
    return tip;
}

std::string SignInNeededTip(const std::string& accountName) {
    return ("QLT - sign in needed: " + accountName).substr(0, kTrayTipMaxLength);
}

}  // namespace qlt
