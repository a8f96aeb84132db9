// What real servers do that once lost or blocked mail: ids that differ only
// far in or in case, NULs and huge lines in a message's first lines, replies
// in many small writes or at a crawl, a dead first address.
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "content/MailboxScan.h"
#include "pop3/HostileFixture.h"
#include "pop3/Pop3Fixture.h"
#include "pop3/SocketErrors.h"
#include "pop3/TcpStream.h"

namespace qlt::test {
namespace {

using namespace std::string_literals;

std::string topOf(const std::string& subject, const std::string& body = "body\r\n") {
    return "+OK\r\nSubject: " + subject + "\r\n\r\n" + body + ".\r\n";
}

class ServerQuirksScan : public HostileFixture {
  protected:
    // STAT for n messages and a refused CAPA.
    ScriptedServer& statOf(int n) {
        return loggedIn().expect("stat\r\n").send("+OK " + std::to_string(n) + " 600\r\n").withoutCapa();
    }

    ScriptedServer& message(int n, const std::string& uidlReply, const std::string& top) {
        const std::string number = std::to_string(n);
        return server.expect("list " + number + "\r\n")
            .send("+OK " + number + " 120\r\n")
            .expect("uidl " + number + "\r\n")
            .send(uidlReply)
            .expect("top " + number + " 1024\r\n")
            .send(top);
    }

    std::vector<std::string> subjects() const {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < checker.messages().count(); ++i)
            out.push_back(checker.messages().at(i).subject.str());
        return out;
    }
};

TEST_F(ServerQuirksScan, IdsThatDifferFarInOrInCaseOrAreMissingAreEachAMessage) {
    const std::vector<std::string> replies = {"+OK 1 1700000000.100001\r\n",
                                              "+OK 2 1700000000.100002\r\n",
                                              "+OK 3 Abc\r\n",
                                              "+OK 4 abc\r\n",
                                              "+OK 5\r\n",
                                              "+OK 6\r\n"};
    statOf(6);
    for (int i = 1; i <= 6; ++i) message(i, replies[i - 1], topOf("m" + std::to_string(i)));
    server.expect("quit\r\n").send("+OK\r\n");
    scan();
    EXPECT_EQ(subjects(), (std::vector<std::string>{"m1", "m2", "m3", "m4", "m5", "m6"}));
    EXPECT_EQ(account().status, kStatusCompleted);
}

// The reply is read through its NUL to its end: no time-out, no reconnect.
TEST_F(ServerQuirksScan, ANulInTheFirstLinesNeitherBlocksNorFailsTheScan) {
    for (const bool pipelined : {false, true}) {
        SCOPED_TRACE(pipelined ? "pipelined" : "one at a time");
        CheckerRig local;
        FakePop3Server quirky;
        const int n = local.addAccount(quirky.port(), "ann", "pw");
        local.checker.accounts().MakeAccountCurrent(n);
        quirky.greetAndLogin("ann", "pw").expect("stat\r\n").send("+OK 1 60\r\n");
        if (pipelined)
            quirky.capa("PIPELINING\r\n").expect("list 1\r\nuidl 1\r\n").send("+OK 1 60\r\n+OK 1 nul\r\n");
        else
            quirky.withoutCapa()
                .expect("list 1\r\n")
                .send("+OK 1 60\r\n")
                .expect("uidl 1\r\n")
                .send("+OK 1 nul\r\n");
        quirky.expect("top 1 1024\r\n").send(topOf("zero\0byte"s, "line\0two\r\n"s)).expect("quit\r\n");
        quirky.send("+OK\r\n");
        quirky.start();
        local.checker.onScanButton();
        EXPECT_EQ(quirky.finish(), "");
        ASSERT_EQ(local.checker.messages().count(), 1u);
        EXPECT_EQ(local.checker.messages().at(0).subject.str(), "zero");
        EXPECT_TRUE(local.clock.sleeps.empty()) << "no reconnect";
    }
}

// A refusal in the middle of a pipelined window: the messages answered
// before it are read, as one at a time they would have been.
TEST_F(ServerQuirksScan, ARefusedListingKeepsTheMessagesAnsweredBeforeIt) {
    loggedIn().expect("stat\r\n").send("+OK 3 360\r\n").capa("PIPELINING\r\n");
    server.expect("list 1\r\nuidl 1\r\nlist 2\r\nuidl 2\r\nlist 3\r\nuidl 3\r\n")
        .send("+OK 1 120\r\n+OK 1 one\r\n+OK 2 120\r\n+OK 2 two\r\n-ERR gone\r\n-ERR gone\r\n")
        .expect("top 1 1024\r\ntop 2 1024\r\n")
        .send(topOf("first") + topOf("second"));
    scan();
    EXPECT_EQ(subjects(), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(account().status, kStatusUpdateNeeded);
}

// A first line longer than TOP's receive cap: the rest of that reply must
// not be read as LIST's, so the scan goes on on a new connection.
TEST_F(ServerQuirksScan, ATopCutShortByItsCapGoesOnOnANewConnection) {
    statOf(2)
        .expect("list 1\r\n")
        .send("+OK 1 120\r\n")
        .expect("uidl 1\r\n")
        .send("+OK 1 huge\r\n")
        .expect("top 1 1024\r\n")
        .send("+OK\r\nSubject: ")
        .flood("Q", 5 * 1024 * 1024);
    server.acceptNext().greetAndLogin("ann", "pw");
    message(2, "+OK 2 small\r\n", topOf("second")).expect("quit\r\n").send("+OK\r\n");
    scan();
    ASSERT_EQ(checker.messages().count(), 2u);
    EXPECT_EQ(checker.messages().at(1).subject.str(), "second");
    EXPECT_EQ(account().status, kStatusCompleted);
}

// A greeting whose tail comes later, and a CAPA refusal a byte per write:
// each line is read to its end.
TEST_F(ServerQuirksScan, LinesInPiecesAreReadToTheirEnd) {
    server.send("+OK rea")
        .delay(300)
        .send("dy\r\n")
        .expect("user ann\r\n")
        .trickle("+OK\r\n", 1)
        .expect("pass pw\r\n")
        .send("+OK\r\n")
        .expect("stat\r\n")
        .send("+OK 1 120\r\n")
        .expect("capa\r\n")
        .trickle("-ERR unknown command\r\n", 1);
    message(1, "+OK 1 one\r\n", topOf("pieces")).expect("quit\r\n").send("+OK\r\n");
    scan();
    EXPECT_EQ(subjects(), std::vector<std::string>{"pieces"});
}

// The drain after "-ERR" ends within the account's time-out, however long
// the server goes on trickling.
TEST_F(ServerQuirksScan, ATricklingRefusalIsDrainedWithinTheTimeOut) {
    loggedIn().expect("stat\r\n").send("-ERR busy\r\n").trickle(std::string(200, 'x'), 200);
    scan();
    EXPECT_EQ(account().status, kStatusUpdateNeeded);
}

// A kilobyte and more within each time-out keeps a reply alive for as long as
// it takes; a reply of 1 s time-outs that takes four is no failure.
TEST_F(ServerQuirksScan, ASlowButLiveTopIsReadWhole) {
    statOf(1).expect("list 1\r\n").send("+OK 1 120\r\n").expect("uidl 1\r\n").send("+OK 1 slow\r\n");
    server.expect("top 1 1024\r\n").send("+OK\r\nSubject: slow\r\n\r\n");
    for (int i = 0; i < 10; ++i) server.send(std::string(1200, 'b') + "\r\n").delay(400);
    server.send(".\r\n").expect("quit\r\n").send("+OK\r\n");
    scan();
    EXPECT_EQ(subjects(), std::vector<std::string>{"slow"});
    EXPECT_TRUE(rig.clock.sleeps.empty()) << "no reconnect";
}

class ServerQuirksClient : public Pop3Fixture {};

TEST_F(ServerQuirksClient, RetrKeepsTheSamePace) {
    struct Row {
        const char* name;
        std::size_t chunk;  // bytes every 400 ms
        bool read;
    };
    for (const Row& row : {Row{"slow but live", 1200, true}, Row{"trickling", 40, false}}) {
        SCOPED_TRACE(row.name);
        ScriptedServer paced{clock};
        paced.greetAndLogin("ann", "s3cret").expect("list 1\r\n").send("+OK 1 20000\r\n");
        paced.expect("retr 1\r\n").send("+OK\r\nSubject: paced\r\n\r\n");
        for (int i = 0; i < 10; ++i) paced.send(std::string(row.chunk, 'r') + "\r\n").delay(400);
        paced.send(".\r\n");
        Pop3Client retr{ui, clock, [&paced] { return std::make_unique<ScriptedStream>(paced); }};
        AccountRecord a = account(1);
        ASSERT_TRUE(retr.Connect(a)) << retr.m_strError;
        const std::filesystem::path file = std::filesystem::temp_directory_path() / "qlt-paced-retr.eml";
        EXPECT_EQ(retr.Retr(1, file.string()), row.read) << retr.m_strError;
        retr.Close();
        EXPECT_EQ(paced.finish(), "");
        std::filesystem::remove(file);
    }
}

TEST_F(ServerQuirksClient, OkCountsOnlyAtTheStartOfACommandsReply) {
    loggedInScript().expect("stat\r\n").send("-ERR not now, +OK later\r\n").close();
    connectAndLogIn();
    EXPECT_FALSE(client.Stat());
    EXPECT_EQ(server.finish(), "");
}

TEST_F(ServerQuirksClient, ALineBreakInTheCredentialsSendsNothing) {
    for (const char* user : {"ann\r\ndele 1", "ann\ndele 1"}) {
        AccountRecord a = account();
        a.userName = user;
        EXPECT_FALSE(client.Connect(a));
        EXPECT_EQ(server.connections(), 0);
        EXPECT_NE(client.m_strError.find("line break"), std::string::npos) << client.m_strError;
    }
}

// A listener whose queue is full drops every further connection attempt on
// the floor, as an address without a route does.
int deadListener(std::vector<int>& held, sockaddr_in& address) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), length);
    ::listen(fd, 0);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    for (int i = 0; i < 3; ++i) {
        const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        ::connect(filler, reinterpret_cast<sockaddr*>(&address), length);
        held.push_back(filler);
    }
    held.push_back(fd);
    return fd;
}

class ServerQuirksLoopback : public LoopbackPop3Fixture {};

TEST_F(ServerQuirksLoopback, ADeadFirstAddressGivesWayToTheNext) {
    std::vector<int> held;
    sockaddr_in dead{};
    deadListener(held, dead);
    server.send("+OK here\r\n").hang(2000);
    server.start();
    std::vector<SocketAddress> addresses(2);
    std::memcpy(&addresses[0].address, &dead, sizeof dead);
    sockaddr_in live = dead;
    live.sin_port = htons(static_cast<std::uint16_t>(server.port()));
    std::memcpy(&addresses[1].address, &live, sizeof live);
    for (SocketAddress& a : addresses) {
        a.family = AF_INET;
        a.length = sizeof(sockaddr_in);
    }
    TcpStream stream(ui, clock);
    ASSERT_EQ(stream.connectAny(addresses, 10000), ConnectResult::Connected);
    char greeting[16] = {};
    EXPECT_EQ(stream.receive(greeting, sizeof greeting, 2000), 10);
    EXPECT_EQ(std::string(greeting), "+OK here\r\n");
    stream.close();
    server.finish();
    for (const int fd : held) ::close(fd);
}

}  // namespace
}  // namespace qlt::test
