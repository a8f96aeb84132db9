#include "core/AccountQueries.h"

namespace qlt {

bool HasCurrentAccount(const AccountStore& accounts) {
    const int n = accounts.currentAccountNumber;
    return n != AccountStore::kNoCurrentAccount && n >= 1 && n <= accounts.GetAccountCount();
}

long long SumOfServerCounts(const AccountStore& accounts) {
    long long sum = 0;
    for (int n = 1; n <= accounts.GetAccountCount(); ++n) sum += accounts.GetAccount(n)->messageCount;
    return sum;
}

}  // namespace qlt
