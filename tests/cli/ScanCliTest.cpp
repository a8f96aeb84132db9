#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <functional>
#include <string>
#include <vector>

#include "support/CliRun.h"
#include "support/FakePop3Server.h"
#include "support/TempFolder.h"

namespace qlt::test {
namespace {

constexpr const char* kPassword = "s3cret";
constexpr const char* kWarning =
    "quillgate-cli scan: warning: a password on the command line is seen by every local user; use "
    "--password-file FILE, --password - or QUILLGATE_PASSWORD\n";

class ScanCli : public ::testing::Test {
  protected:
    static CliRun scan(unsigned port, const std::vector<std::string>& extra,
                       const std::vector<std::string>& env = {}, const std::string& input = {}) {
        std::vector<std::string> args = {"scan",   "--server", "127.0.0.1", "--port", std::to_string(port),
                                         "--user", "ann",      "--timeout", "5"};
        args.insert(args.end(), extra.begin(), extra.end());
        return runCli(args, env, input);
    }

    // A login with kPassword to an empty mailbox.
    static void emptyMailbox(FakePop3Server& server) {
        server.greetAndLogin("ann", kPassword).expect("stat\r\n").send("+OK 0 0\r\n");
    }

    std::string file(const std::string& name, const std::string& bytes) const {
        const std::string path = folder.file(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    TempFolder folder{"qlt-scan-cli"};
};

TEST_F(ScanCli, ThePasswordComesFromWhereverItIsGiven) {
    const std::string passwordFile = file("password", std::string(kPassword) + "\r\nnext line\n");
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::vector<std::string> env;
        std::string input;
        std::string err;
    } rows[] = {
        {"environment", {}, {std::string("QUILLGATE_PASSWORD=") + kPassword}, "", ""},
        {"file before environment", {"--password-file", passwordFile}, {"QUILLGATE_PASSWORD=other"}, "", ""},
        {"standard input", {"--password", "-"}, {}, std::string(kPassword) + "\r\n", ""},
        {"command line, warned", {"--password", kPassword}, {}, "", kWarning},
    };
    for (const auto& row : rows) {
        FakePop3Server server;
        emptyMailbox(server);
        server.start();
        const CliRun run = scan(server.port(), row.args, row.env, row.input);
        EXPECT_EQ(server.finish(), "") << row.name;
        EXPECT_EQ(run.exitCode, 0) << row.name << ": " << run.err;
        EXPECT_EQ(run.err, row.err) << row.name;
    }
}

TEST_F(ScanCli, NoPasswordToBeHadIsExitCodeTwoWithTheReason) {
    const std::string passwordFile = file("password", kPassword);
    const std::string emptyFile = file("empty", "\n");
    const std::string absent = folder.file("absent");
    const std::string dir = folder.path().string();
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::string input;
        std::string error;
    } rows[] = {
        {"missing file",
         {"--password-file", absent},
         "",
         "cannot read the password file " + absent + ": No such file or directory"},
        {"folder as file",
         {"--password-file", dir},
         "",
         "cannot read the password file " + dir + ": Is a directory"},
        {"empty file",
         {"--password-file", emptyFile},
         "",
         "the password file " + emptyFile + " holds no password"},
        {"empty standard input", {"--password", "-"}, "", "standard input holds no password"},
        {"both options",
         {"--password", kPassword, "--password-file", passwordFile},
         "",
         "give --password or --password-file, not both"},
        {"none", {}, "", "a password is needed: --password-file FILE, --password - or QUILLGATE_PASSWORD"},
    };
    for (const auto& row : rows) {
        const CliRun run = scan(FakePop3Server::unusedPort(), row.args, {"QUILLGATE_PASSWORD="}, row.input);
        EXPECT_EQ(run.exitCode, 2) << row.name;
        EXPECT_EQ(run.out, "") << row.name;
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')), "quillgate-cli scan: " + row.error) << row.name;
    }
}

TEST_F(ScanCli, AFailedScanTellsWhyInTheJsonAndOnOneLineOfStandardError) {
    const struct {
        const char* name;
        std::function<void(FakePop3Server&)> script;
        std::string error;  // in the JSON
        std::string line;   // on standard error
    } rows[] = {
        {"no server", {}, "Could not connect to server", "Could not connect to server"},
        {"password refused",
         [](FakePop3Server& server) {
             server.send("+OK ready\r\n")
                 .expect("user ann\r\n")
                 .send("+OK\r\n")
                 .expect(std::string("pass ") + kPassword + "\r\n")
                 .send("-ERR [AUTH] Authentication failed.\r\n");
         },
         "ERROR: It does not like your password\r\n-ERR [AUTH] Authentication failed.\r\n",
         "ERROR: It does not like your password -ERR [AUTH] Authentication failed."},
        // Each TOP that fails is tried again on a new connection, whose login
        // clears the client's error text.
        {"TOP refused at every try",
         [](FakePop3Server& server) {
             server.greetAndLogin("ann", kPassword)
                 .expect("stat\r\n")
                 .send("+OK 1 100\r\n")
                 .withoutCapa()
                 .expect("list 1\r\n")
                 .send("+OK 1 100\r\n")
                 .expect("uidl 1\r\n")
                 .send("+OK 1 uid-1\r\n");
             for (int tries = 0; tries < 4; ++tries) {
                 if (tries > 0) server.acceptNext().greetAndLogin("ann", kPassword);
                 server.expect("top 1 1024\r\n").send("-ERR no such message\r\n");
             }
             server.acceptNext().greetAndLogin("ann", kPassword);
         },
         "ERROR: The scan failed: a message's TOP failed 4 times",
         "ERROR: The scan failed: a message's TOP failed 4 times"},
    };
    for (const auto& row : rows) {
        FakePop3Server server;
        if (row.script) {
            row.script(server);
            server.start();
        }
        const unsigned port = row.script ? server.port() : FakePop3Server::unusedPort();
        const CliRun run = scan(port, {}, {std::string("QUILLGATE_PASSWORD=") + kPassword});
        if (row.script) {
            EXPECT_EQ(server.finish(), "") << row.name;
        }
        EXPECT_EQ(run.exitCode, 1) << row.name;
        const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(run.out));
        ASSERT_TRUE(json.isObject()) << row.name << ": not JSON: " << run.out;
        EXPECT_EQ(json["error"].toString().toStdString(), row.error) << row.name;
        EXPECT_TRUE(run.err.ends_with("quillgate-cli scan: " + row.line + "\n"))
            << row.name << ": " << run.err;
    }
}

TEST_F(ScanCli, ANewWireLogFileIsReadableByTheUserAlone) {
    FakePop3Server server;
    emptyMailbox(server);
    server.start();
    const std::string log = folder.file("wire.log");
    // With no mask at all, only the program's own choice of mode is left.
    const mode_t mask = umask(0);
    const CliRun run =
        scan(server.port(), {}, {std::string("QUILLGATE_PASSWORD=") + kPassword, "QLT_WIRE_LOG=" + log});
    umask(mask);
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    struct stat made {};
    ASSERT_EQ(stat(log.c_str(), &made), 0);
    EXPECT_EQ(made.st_mode & 0777, 0600u);
    EXPECT_NE(readWholeFile(log).find("C: pass ********\n"), std::string::npos);
}

}  // namespace
}  // namespace qlt::test
