#pragma once

#include "base/NetworkState.h"

namespace qlt::test {

// A network that is up or down as the test says, counting how often it was asked.
class FakeNetwork final : public NetworkState {
  public:
    bool isConnected() const override {
        ++asked;
        return connected;
    }
    bool connected = true;
    mutable int asked = 0;
};

}  // namespace qlt::test
