#pragma once

#include "base/AccountRecord.h"
#include "store/Profile.h"

namespace qlt {

// Writes what a scan and a delete set in one account (status, counts, size,
// selected row, link speed, incomplete flag, last-scanned time) into the
// store as the profile holds it now, and nothing else. The account is found
// by its server, port and user name, preferring the one at `number`, because
// another process may have added, moved or removed accounts meanwhile; one
// that is gone is not written. false when the stored accounts cannot be read
// or the profile could not store the change.
bool WriteBackScanStatus(Profile& profile, const AccountRecord& scanned, int number);

}  // namespace qlt
