#pragma once

#include "store/AccountStore.h"

namespace qlt {

// A current account exists when its number names an account of the store.
bool HasCurrentAccount(const AccountStore& accounts);

// The server message counts of every account's last scan, added up.
long long SumOfServerCounts(const AccountStore& accounts);

}  // namespace qlt
