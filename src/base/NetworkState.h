#pragma once

namespace qlt {

// Whether the computer can reach the Internet right now.
class NetworkState {
  public:
    virtual ~NetworkState() = default;

    // False when it is not connected or the state cannot be told.
    virtual bool isConnected() const = 0;
};

}  // namespace qlt
