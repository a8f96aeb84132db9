#include "pop3/LoopbackHost.h"
#include "pop3/Pop3Fixture.h"
#include "pop3/SocketErrors.h"

#include <netinet/in.h>
#include <sys/socket.h>

namespace qlt::test {
namespace {

constexpr const char* kNoStls =
    "ERROR: The server does not offer a secure connection (STLS); the password was not sent\r\n";

class SecureConnectTest : public Pop3Fixture {
  protected:
    AccountRecord secureAccount(std::uint8_t security, std::uint16_t timeoutSeconds = 2) const {
        AccountRecord a = account(timeoutSeconds);
        a.security = security;
        return a;
    }

    void expectRefusedBeforeTheLogin(std::uint8_t security, const std::string& error) {
        EXPECT_FALSE(client.Connect(secureAccount(security)));
        EXPECT_EQ(server.finish(), "");
        EXPECT_EQ(client.m_strError, error);
        EXPECT_FALSE(client.m_socket.IsOpen());
        EXPECT_EQ(server.received().find("user"), std::string::npos) << server.received();
        EXPECT_EQ(server.received().find("pass"), std::string::npos) << server.received();
    }
};

struct StlsRefusal {
    const char* name;
    const char* reply;
};

class StlsRefusalTest : public SecureConnectTest, public ::testing::WithParamInterface<StlsRefusal> {};

TEST_P(StlsRefusalTest, NeverFallsBackToClearText) {
    server.send("+OK POP3 ready\r\n").expect("stls\r\n").send(GetParam().reply).hang(1000);
    expectRefusedBeforeTheLogin(kSecurityStls, std::string(kNoStls) + GetParam().reply);
    EXPECT_EQ(server.received(), "stls\r\n");
    EXPECT_EQ(ui.progressEvents, (std::vector<std::pair<int, long>>{{20, 0}}));
}

INSTANTIATE_TEST_SUITE_P(
    Replies, StlsRefusalTest,
    ::testing::Values(StlsRefusal{"UnknownCommand", "-ERR Unknown command: STLS\r\n"},
                      StlsRefusal{"RefusedForNow", "-ERR [SYS/TEMP] TLS not available\r\n"},
                      // "+OK" further in is enough for other replies, never for this one.
                      StlsRefusal{"OkNotAtTheStart", "-ERR no, not +OK\r\n"},
                      // Clear text smuggled in behind the agreement.
                      StlsRefusal{"DataAfterTheAgreement", "+OK Begin TLS\r\n+OK logged in\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SecureConnectTest, ImplicitTlsHandshakeTimesOutWithinTheTimeOut) {
    server.hang(3000);
    const std::uint64_t started = clock.tickMs();
    expectRefusedBeforeTheLogin(kSecurityTls, socketErrorText(kSockTimedOut));
    EXPECT_GE(elapsedMs(started), 2000u);
    EXPECT_LT(elapsedMs(started), 2500u);
    // The handshake came first: no greeting was waited for.
    EXPECT_TRUE(ui.progressEvents.empty());
    // What the client sent was a TLS ClientHello, not POP3.
    ASSERT_FALSE(server.received().empty());
    EXPECT_EQ(server.received()[0], '\x16');
}

TEST_F(SecureConnectTest, StlsHandshakeTimesOut) {
    server.send("+OK POP3 ready\r\n").expect("stls\r\n").send("+OK Begin TLS negotiation\r\n").hang(3000);
    expectRefusedBeforeTheLogin(kSecurityStls, socketErrorText(kSockTimedOut));
}

TEST_F(SecureConnectTest, APlainServerOnATlsAccountIsNoSecureConnection) {
    server.send("+OK POP3 ready\r\n").hang(1000);
    EXPECT_FALSE(client.Connect(secureAccount(kSecurityTls)));
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(client.m_strError.rfind("ERROR: No secure connection could be agreed with the server (", 0), 0u)
        << client.m_strError;
    EXPECT_FALSE(client.m_socket.IsOpen());
}

TEST_F(SecureConnectTest, AServerClosingDuringTheHandshakeIsNoSecureConnection) {
    server.close();
    EXPECT_FALSE(client.Connect(secureAccount(kSecurityTls)));
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(
        client.m_strError,
        "ERROR: No secure connection could be agreed with the server (the server closed the connection)\r\n");
}

TEST_F(SecureConnectTest, AnUnknownSecuritySettingNeverConnects) {
    EXPECT_FALSE(client.Connect(secureAccount(3)));
    EXPECT_EQ(client.m_strError, "ERROR: Unknown connection security setting\r\n");
    EXPECT_FALSE(client.m_socket.IsOpen());
}

TEST(LoopbackHost, TellsLoopbackAddressesFromOthers) {
    sockaddr_in v4{};
    v4.sin_family = AF_INET;
    v4.sin_addr.s_addr = htonl(0x7F000105);  // 127.0.1.5
    EXPECT_TRUE(isLoopbackAddress(reinterpret_cast<const sockaddr&>(v4)));
    v4.sin_addr.s_addr = htonl(0xC0A80001);  // 192.168.0.1
    EXPECT_FALSE(isLoopbackAddress(reinterpret_cast<const sockaddr&>(v4)));
    sockaddr_in6 v6{};
    v6.sin6_family = AF_INET6;
    v6.sin6_addr = in6addr_loopback;
    EXPECT_TRUE(isLoopbackAddress(reinterpret_cast<const sockaddr&>(v6)));
    v6.sin6_addr.s6_addr[10] = 0xFF;  // ::ffff:127.0.0.1
    v6.sin6_addr.s6_addr[11] = 0xFF;
    v6.sin6_addr.s6_addr[12] = 127;
    EXPECT_TRUE(isLoopbackAddress(reinterpret_cast<const sockaddr&>(v6)));
    v6.sin6_addr.s6_addr[12] = 10;  // ::ffff:10.0.0.1
    EXPECT_FALSE(isLoopbackAddress(reinterpret_cast<const sockaddr&>(v6)));

    EXPECT_TRUE(resolvesToLoopbackOnly("127.0.0.1"));
    EXPECT_TRUE(resolvesToLoopbackOnly("::1"));
    EXPECT_FALSE(resolvesToLoopbackOnly("192.0.2.1"));
    EXPECT_FALSE(resolvesToLoopbackOnly("name.that.does.not.resolve.invalid"));
}

}  // namespace
}  // namespace qlt::test
