#include "platform/RouteTable.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace qlt {

namespace {

constexpr unsigned kRouteUp = 0x1;
constexpr std::size_t kMaxRoutes = 4096;

struct Route {
    std::string_view interface;
    std::string_view destination;
    std::string_view flags;
    std::string_view mask;
};

std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t at = line.find_first_not_of(" \t");
    while (at != std::string_view::npos) {
        const std::size_t end = std::min(line.find_first_of(" \t", at), line.size());
        out.push_back(line.substr(at, end - at));
        at = line.find_first_not_of(" \t", end);
    }
    return out;
}

// Iface Destination Gateway Flags RefCnt Use Metric Mask ...
std::optional<Route> parseRoute(std::string_view line) {
    const auto parts = fields(line);
    if (parts.size() < 8) return std::nullopt;
    return Route{parts[0], parts[1], parts[3], parts[7]};
}

bool isUpDefault(const Route& route) {
    unsigned flags = 0;
    const auto* end = route.flags.data() + route.flags.size();
    if (std::from_chars(route.flags.data(), end, flags, 16).ptr != end) return false;
    return (flags & kRouteUp) != 0 && route.destination == "00000000" && route.mask == "00000000";
}

bool isLive(std::string_view name, const std::vector<InterfaceState>& interfaces) {
    return std::any_of(interfaces.begin(), interfaces.end(), [name](const InterfaceState& state) {
        return state.name == name && state.up && state.running && !state.loopback;
    });
}

}  // namespace

bool hasLiveDefaultRoute(std::string_view routeTable, const std::vector<InterfaceState>& interfaces) {
    // The first line names the columns.
    std::size_t start = routeTable.find('\n');
    for (std::size_t count = 0; start != std::string_view::npos && count < kMaxRoutes; ++count) {
        ++start;
        const std::size_t end = std::min(routeTable.find('\n', start), routeTable.size());
        const auto route = parseRoute(routeTable.substr(start, end - start));
        if (route && isUpDefault(*route) && isLive(route->interface, interfaces)) return true;
        start = end < routeTable.size() ? end : std::string_view::npos;
    }
    return false;
}

}  // namespace qlt
