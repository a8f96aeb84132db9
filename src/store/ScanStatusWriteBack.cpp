#include "store/ScanStatusWriteBack.h"

#include <algorithm>
#include <vector>

#include "store/AccountPersistence.h"
#include "store/Settings.h"

namespace qlt {

namespace {

bool sameAccount(const AccountRecord& a, const AccountRecord& b) {
    return a.server == b.server && a.port == b.port && a.userName == b.userName;
}

AccountRecord* storedAccount(std::vector<AccountRecord>& records, const AccountRecord& scanned, int number) {
    const auto at = static_cast<std::size_t>(number - 1);
    if (number >= 1 && at < records.size() && sameAccount(records[at], scanned)) return &records[at];
    const auto found =
        std::ranges::find_if(records, [&](const AccountRecord& r) { return sameAccount(r, scanned); });
    return found == records.end() ? nullptr : &*found;
}

void copyScanStatus(const AccountRecord& from, AccountRecord& to) {
    to.status = from.status;
    to.messageCount = from.messageCount;
    to.mailboxSize = from.mailboxSize;
    to.selectedRow = from.selectedRow;
    to.linkSpeed = from.linkSpeed;
    to.scanIncomplete = from.scanIncomplete;
    to.lastScanned = from.lastScanned;
}

}  // namespace

bool WriteBackScanStatus(Profile& profile, const AccountRecord& scanned, int number) {
    return profile.update([&](Profile& stored) {
        const std::optional<Bytes> value = stored.readBinary(kAccountsValueName);
        auto records = value ? DecodeAccounts(*value) : std::nullopt;
        if (!records) return false;
        AccountRecord* account = storedAccount(*records, scanned, number);
        if (account == nullptr) return true;
        copyScanStatus(scanned, *account);
        return stored.writeBinary(kAccountsValueName, EncodeAccountRecords(*records));
    });
}

}  // namespace qlt
