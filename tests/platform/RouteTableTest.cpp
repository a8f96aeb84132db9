#include <gtest/gtest.h>

#include "platform/RouteTable.h"

namespace qlt {
namespace {

const std::string kHeader =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";

std::string route(const std::string& iface, const std::string& destination, const std::string& flags,
                  const std::string& mask) {
    return iface + "\t" + destination + "\t0102A8C0\t" + flags + "\t0\t0\t100\t" + mask + "\t0\t0\t0\n";
}

TEST(RouteTable, LiveDefaultRoute) {
    const std::vector<InterfaceState> interfaces = {
        {"lo", true, true, true},
        {"eth0", true, true, false},
        {"wlan0", true, false, false},
        {"eth1", false, false, false},
    };
    const std::string defaultVia = "00000000";
    const std::string subnet = "0002A8C0";
    const std::string subnetMask = "00FFFFFF";
    std::string withoutFinalBreak = kHeader + route("eth0", defaultVia, "0003", defaultVia);
    withoutFinalBreak.pop_back();
    struct Row {
        const char* name;
        std::string table;
        bool connected;
    };
    const Row rows[] = {
        {"default route on a live interface", kHeader + route("eth0", defaultVia, "0003", defaultVia), true},
        {"default route after the subnet's",
         kHeader + route("eth0", subnet, "0001", subnetMask) + route("eth0", defaultVia, "0003", defaultVia),
         true},
        {"only the subnet", kHeader + route("eth0", subnet, "0001", subnetMask), false},
        {"default route not up", kHeader + route("eth0", defaultVia, "0002", defaultVia), false},
        {"default route on the loopback", kHeader + route("lo", defaultVia, "0001", defaultVia), false},
        {"interface without carrier", kHeader + route("wlan0", defaultVia, "0003", defaultVia), false},
        {"interface down", kHeader + route("eth1", defaultVia, "0003", defaultVia), false},
        {"unknown interface", kHeader + route("ppp0", defaultVia, "0003", defaultVia), false},
        {"zero destination with a mask", kHeader + route("eth0", defaultVia, "0003", subnetMask), false},
        {"header only", kHeader, false},
        {"header row is no route", route("eth0", defaultVia, "0003", defaultVia), false},
        {"empty", "", false},
        {"no final line break", withoutFinalBreak, true},
        {"flags not hexadecimal", kHeader + route("eth0", defaultVia, "00x3", defaultVia), false},
        {"short line", kHeader + "eth0\t00000000\t0102A8C0\t0003\n", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(hasLiveDefaultRoute(row.table, interfaces), row.connected) << row.name;
}

}  // namespace
}  // namespace qlt
