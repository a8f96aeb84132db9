#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qlt {

struct InterfaceState {
    std::string name;
    bool up = false;
    bool running = false;
    bool loopback = false;
};

// True when the kernel's IPv4 routing table (the text of /proc/net/route)
// holds a default route that is up, on an interface that is up, running and
// not the loopback. That is as near as the system can tell, without asking
// a network manager, that a way to the Internet exists.
bool hasLiveDefaultRoute(std::string_view routeTable, const std::vector<InterfaceState>& interfaces);

}  // namespace qlt
