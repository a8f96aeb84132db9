#include "platform/SystemNetworkState.h"

#include <QFile>
#include <QNetworkInformation>
#include <QNetworkInterface>

#include "platform/RouteTable.h"

namespace qlt {

namespace {

constexpr auto kRouteFile = "/proc/net/route";
constexpr qint64 kMaxRouteTable = 256 * 1024;

std::vector<InterfaceState> interfaceStates() {
    std::vector<InterfaceState> states;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        states.push_back({interface.name().toStdString(), flags.testFlag(QNetworkInterface::IsUp),
                          flags.testFlag(QNetworkInterface::IsRunning),
                          flags.testFlag(QNetworkInterface::IsLoopBack)});
    }
    return states;
}

}  // namespace

bool SystemNetworkState::isConnected() const {
    if (const auto reported = reportedOnline()) return *reported;
    return routedOnline();
}

std::optional<bool> SystemNetworkState::reportedOnline() {
    // Loading is done once; later calls find the backend already in place.
    if (!QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)) {
        return std::nullopt;
    }
    const auto reachability = QNetworkInformation::instance()->reachability();
    if (reachability == QNetworkInformation::Reachability::Unknown) return std::nullopt;
    // A local network or a captive portal does not reach a mail server.
    return reachability == QNetworkInformation::Reachability::Online;
}

bool SystemNetworkState::routedOnline() {
    QFile routes(kRouteFile);
    if (!routes.open(QIODevice::ReadOnly)) return false;
    return hasLiveDefaultRoute(routes.read(kMaxRouteTable).toStdString(), interfaceStates());
}

}  // namespace qlt
