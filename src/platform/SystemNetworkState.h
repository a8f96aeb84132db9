#pragma once

#include <optional>

#include "base/NetworkState.h"

namespace qlt {

// The system's own view of the connection: the network information backend
// (NetworkManager, GLib) when it reports reachability, else the kernel's
// routing table and interface flags.
class SystemNetworkState final : public NetworkState {
  public:
    bool isConnected() const override;

  private:
    static std::optional<bool> reportedOnline();
    static bool routedOnline();
};

}  // namespace qlt
