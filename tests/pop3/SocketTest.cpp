#include <netdb.h>
#include <cerrno>

#include "pop3/Pop3Fixture.h"
#include "pop3/SocketErrors.h"
#include "pop3/TcpStream.h"
#include "pop3/WireLog.h"

namespace qlt::test {
namespace {

class SocketTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(socket.Connect("127.0.0.1", server.port(), 2000), ConnectResult::Connected);
    }

    ScriptedUiPort ui;
    FakeClock clock{FakeClock::Ticks::Real};
    FakePop3Server server;
    CSocketX socket{[this] { return std::make_unique<TcpStream>(ui, clock); }, clock};
};

TEST_F(SocketTest, ChunkOfExactlyTheBufferSizeIsTakenWhole) {
    const std::string big(5000, 'a');
    server.send(big);
    server.start();
    std::string text;
    EXPECT_EQ(socket.ReceiveChunk(text, 2000), 4096);
    EXPECT_EQ(text, big.substr(0, 4096));
    EXPECT_EQ(socket.ReceiveChunk(text, 2000), 904);
    EXPECT_EQ(text.size(), 904u);
}

TEST_F(SocketTest, NulInsideAChunkEndsItsText) {
    server.send(std::string("+OK\0hidden\r\n", 12));
    server.start();
    std::string text;
    EXPECT_EQ(socket.ReceiveChunk(text, 2000), 12);
    EXPECT_EQ(text, "+OK");
}

// The same connection over a scripted stream, where the time-outs run on the clock.
class ScriptedSocketTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(socket.Connect("pop.example.org", 110, 2000), ConnectResult::Connected);
    }

    FakeClock clock;
    ScriptedServer server{clock};
    CSocketX socket{[this] { return std::make_unique<ScriptedStream>(server); }, clock};
};

TEST_F(ScriptedSocketTest, TimeOutCancelsOnlyThatCall) {
    server.delay(600).send("+OK late\r\n");
    std::string text = "old";
    const std::uint64_t started = clock.tickMs();
    EXPECT_EQ(socket.ReceiveChunk(text, 100), -1);
    EXPECT_LT(clock.tickMs() - started, 500u);
    EXPECT_EQ(socket.GetLastError(), kSockTimedOut);
    EXPECT_EQ(text, "");
    // Time-out 0 sets no timer: the next receive waits for the late reply.
    EXPECT_EQ(socket.ReceiveChunk(text, 0), 10);
    EXPECT_EQ(text, "+OK late\r\n");
    EXPECT_EQ(server.finish(), "");
}

// The handshake waits on the real socket underneath, repainting, within its bound.
TEST_F(SocketTest, TlsHandshakeTimesOutAndRepaintsWhileWaiting) {
    server.hang(3000);
    server.start();
    const std::uint64_t started = clock.tickMs();
    const TlsHandshake handshake = socket.StartTls({"127.0.0.1", "", {}}, 500);
    const std::uint64_t waited = clock.tickMs() - started;
    EXPECT_EQ(handshake.outcome, TlsOutcome::SocketFailed);
    EXPECT_EQ(socket.GetLastError(), kSockTimedOut);
    EXPECT_FALSE(socket.IsOpen());
    EXPECT_GE(waited, 490u);
    // Only that it gave up before the server would have: a loaded machine
    // may be slow to wake it.
    EXPECT_LT(waited, 2900u);
    EXPECT_GT(ui.paintPumps, 0);
    socket.Close();
    EXPECT_EQ(server.finish(), "");
}

TEST_F(SocketTest, SendTextStopsAtNulAndClosedSocketFails) {
    server.expect("noop\r\n");
    server.start();
    EXPECT_EQ(socket.SendText(std::string("noop\r\n\0junk", 11), 0), 6);
    EXPECT_EQ(server.finish(), "");
    socket.Close();
    std::string text;
    EXPECT_EQ(socket.SendText("noop\r\n", 0), -1);
    EXPECT_EQ(socket.ReceiveChunk(text, 100), -1);
    EXPECT_EQ(socket.GetLastError(), kSockNotSocket);
}

TEST(SocketErrorsTest, MapsSystemCodesOntoSocketErrorNumbers) {
    EXPECT_EQ(socketErrorFromErrno(ETIMEDOUT), 10060);
    EXPECT_EQ(socketErrorFromErrno(ECONNREFUSED), 10061);
    EXPECT_EQ(socketErrorFromErrno(EHOSTUNREACH), 10065);
    EXPECT_EQ(socketErrorFromErrno(ENETUNREACH), 10051);
    EXPECT_EQ(socketErrorFromErrno(ECONNRESET), 10054);
    EXPECT_EQ(socketErrorFromErrno(EPIPE), 10053);
    EXPECT_EQ(socketErrorFromErrno(EILSEQ), kSockOtherBase + EILSEQ);
    EXPECT_EQ(socketErrorFromResolver(EAI_NONAME), 11001);
    EXPECT_EQ(socketErrorFromResolver(EAI_AGAIN), 11002);
}

TEST(SocketErrorsTest, TextsNameTheErrorAndEndTheLine) {
    EXPECT_EQ(socketErrorText(10060),
              "ERROR: The server did not answer in time (connection timed out) (socket error 10060)\r\n");
    EXPECT_EQ(socketErrorText(11001), "ERROR: Server host not found (socket error 11001)\r\n");
    EXPECT_EQ(socketErrorText(12345), "ERROR: Socket error 12345\r\n");
}

TEST(WireLogTest, MarksDirectionsAndMasksThePassword) {
    EXPECT_EQ(WireLog::format('C', "user ann\r\n"), "C: user ann\n");
    EXPECT_EQ(WireLog::format('C', "PASS s3cret\r\n"), "C: pass ********\n");
    EXPECT_EQ(WireLog::format('S', "+OK\r\nline\x1b\r\n.\r\n"), "S: +OK\nS: line?\nS: .\n");
    EXPECT_EQ(WireLog::format('S', "pass word\r\n"), "S: pass word\n") << "only the client's password line";
}

}  // namespace
}  // namespace qlt::test
