#pragma once

#include <string>

#include "base/AccountRecord.h"
#include "store/AccountStore.h"

namespace qlt::test {

// A record with every field set to a distinct, recognisable value.
AccountRecord sampleAccount(int n);

// A store of the given number of sample accounts, the second flagged current.
AccountStore sampleStore(int count);

}  // namespace qlt::test
