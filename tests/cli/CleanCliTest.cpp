#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QString>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "base/MessageEntry.h"
#include "base/UiPort.h"
#include "core/DeletionLog.h"
#include "platform/KeyringSecrets.h"
#include "platform/QSettingsProfile.h"
#include "risk/AutoTag.h"
#include "risk/SenderList.h"
#include "store/AccountPersistence.h"
#include "support/CliRun.h"
#include "support/FakePop3Server.h"
#include "support/ScriptedUiPort.h"
#include "support/StillWindow.h"
#include "support/TempFolder.h"

namespace qlt::test {
namespace {

constexpr const char* kSpam =
    "+OK\r\nFrom: Deals <foe@spam.example>\r\nSubject: Buy\tnow\r\n\r\nbody\r\n.\r\n";
constexpr const char* kClean = "+OK\r\nFrom: Ann <ann@example.org>\r\nSubject: Lunch\r\n\r\nbody\r\n.\r\n";

// A profile in a private XDG_CONFIG_HOME with two accounts, "Home" current
// and "Work" on the fake server, and a data folder whose sender list holds
// one foe. Risk alone tags nothing, so exactly the foe's message goes.
class CleanCli : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(data());
        ScriptedUiPort ui;
        SenderList(ui, senderListPath(data())).addSender("foe@spam.example", kSenderFoe);
    }

    std::string data() const { return folder.file("data"); }
    QString profileFile() const {
        return QString::fromStdString(folder.file("config/Tamsworth/quillgt.conf"));
    }

    void writeProfile(unsigned workPort, const std::string& workPassword, std::uint8_t delTag = kDelTagNone,
                      std::uint32_t workRemembers = 0) {
        AccountStore store;
        AccountRecord home;
        home.server = "127.0.0.1";
        home.port = FakePop3Server::unusedPort();
        home.userName = "home";
        home.password = "pw";
        home.accountName = "Home";
        home.timeout = 5;
        store.AddAccount(home);
        AccountRecord work = home;
        work.port = workPort;
        work.userName = "ann";
        work.password = workPassword;
        work.accountName = "Work";
        work.accountNumber = 2;
        work.rememberPassword = workRemembers;
        store.AppendAccount(work);
        store.MakeAccountCurrent(1);
        Settings settings;
        settings.delTag = delTag;
        settings.rescanDel = 0;
        QSettingsProfile profile(profileFile());
        StillWindow window;
        ASSERT_TRUE(AccountPersistence(profile, window).SaveAccounts(store, settings));
    }

    // What the open program does when the user adds an account.
    bool addAccountInTheProgram(const std::string& name) {
        QSettingsProfile profile(profileFile());
        StillWindow window;
        AccountPersistence persistence(profile, window);
        AccountStore store;
        Settings settings;
        persistence.LoadAccounts(store, settings);
        AccountRecord added = *store.GetAccount(1);
        added.accountName = name;
        added.userName = name;
        return store.AddAccount(added) && persistence.SaveAccounts(store, settings);
    }

    AccountStore readProfile() {
        AccountStore store;
        Settings settings;
        QSettingsProfile profile(profileFile());
        StillWindow window;
        AccountPersistence(profile, window).LoadAccounts(store, settings);
        return store;
    }

    CliRun clean(std::vector<std::string> args, std::vector<std::string> env = {},
                 const std::string& input = {}) {
        args.insert(args.begin(), "clean");
        args.insert(args.end(), {"--data", data()});
        env.push_back("XDG_CONFIG_HOME=" + folder.file("config"));
        return runCli(args, env, input);
    }

    // The scan's dialogue over a mailbox of these TOP replies (by default the
    // foe's message, then a clean one); beforeQuitReply runs while clean
    // waits for the server's goodbye.
    static void scanScript(
        FakePop3Server& server, const std::string& password,
        const std::vector<std::string>& tops = {kSpam, kClean},
        std::function<bool()> beforeQuitReply = [] { return true; }) {
        std::size_t total = 0;
        for (std::size_t i = 0; i < tops.size(); ++i) total += messageSize(i);
        server.greetAndLogin("ann", password)
            .expect("stat\r\n")
            .send("+OK " + std::to_string(tops.size()) + " " + std::to_string(total) + "\r\n")
            .withoutCapa();
        for (std::size_t i = 0; i < tops.size(); ++i) {
            const std::string number = std::to_string(i + 1);
            server.expect("list " + number + "\r\n")
                .send("+OK " + number + " " + std::to_string(messageSize(i)) + "\r\n")
                .expect("uidl " + number + "\r\n")
                .send("+OK " + number + " uid-" + number + "\r\n")
                .expect("top " + number + " 1024\r\n")
                .send(tops[i]);
        }
        server.expect("quit\r\n").run(std::move(beforeQuitReply)).send("+OK\r\n");
    }
    static std::size_t messageSize(std::size_t index) { return 120 + 60 * index; }

    // The delete command's dialogue that removes the first message.
    static void deletionScript(FakePop3Server& server, const std::string& password) {
        server.acceptNext()
            .greetAndLogin("ann", password)
            .withoutCapa()
            .expect("uidl 1\r\n")
            .send("+OK 1 uid-1\r\n")
            .expect("dele 1\r\n")
            .send("+OK\r\n")
            .expect("quit\r\n")
            .send("+OK\r\n");
    }

    TempFolder folder{"qlt-clean-cli"};
};

TEST_F(CleanCli, DryRunListsTheTaggedMessageAndDeletesNothing) {
    FakePop3Server server;
    scanScript(server, "pw");
    server.start();
    writeProfile(server.port(), "pw");

    const CliRun run = clean({"--account", "Work", "--dry-run"});

    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    // The tab of the subject would make a fourth column.
    EXPECT_EQ(run.out, "1\tDeals <foe@spam.example>\tBuy now\n1 message would be deleted.\n");
    const AccountStore after = readProfile();
    // The scan is recorded as the program's own would be.
    EXPECT_EQ(after.GetAccount(2)->messageCount, 2);
    EXPECT_EQ(after.GetAccount(2)->mailboxSize, 300);
    // The program's current account stays what it was.
    EXPECT_EQ(after.GetAccount(1)->isCurrent, 1u);
    EXPECT_EQ(after.GetAccount(2)->isCurrent, 0u);
}

// On the private bus with a keyring of tests/platform/with-keyring.sh;
// elsewhere it skips, and the script fails a skip.
TEST_F(CleanCli, ReadsThePasswordTheProgramKeepsInTheKeyring) {
    if (!qEnvironmentVariableIsSet("QLT_KEYRING_BUS"))
        GTEST_SKIP() << "needs the keyring daemon of tests/platform/with-keyring.sh";
    FakePop3Server server;
    scanScript(server, "from-keyring");
    server.start();
    writeProfile(server.port(), "", kDelTagNone, 1);
    int argc = 1;
    char name[] = "qlt-cli-tests";
    char* argv[] = {name, nullptr};
    const QCoreApplication app(argc, argv);
    KeyringSecrets keyring;
    ASSERT_EQ(
        keyring.write(SecretKey(SecretKind::Password, "127.0.0.1", static_cast<int>(server.port()), "ann"),
                      "from-keyring"),
        SecretStore::Outcome::Done);

    const CliRun run = clean({"--account", "Work", "--dry-run"});

    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(readProfile().GetAccount(2)->password.empty()) << "the command moves nothing";
}

TEST_F(CleanCli, AnAccountTheProgramAddsWhileCleanRunsIsKept) {
    FakePop3Server server;
    scanScript(server, "pw", {kSpam, kClean}, [this] { return addAccountInTheProgram("Play"); });
    server.start();
    writeProfile(server.port(), "pw");

    const CliRun run = clean({"--account", "Work", "--dry-run"});

    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const AccountStore after = readProfile();
    ASSERT_EQ(after.GetAccountCount(), 3);
    EXPECT_EQ(after.GetAccount(3)->accountName.str(), "Play");
    EXPECT_EQ(after.GetAccount(3)->isCurrent, 1u) << "the program's choice of current account stands";
    EXPECT_EQ(after.GetAccount(1)->isCurrent, 0u);
    EXPECT_EQ(after.GetAccount(2)->messageCount, 2) << "the scan is still recorded";
    EXPECT_EQ(after.GetAccount(3)->messageCount, 0);
}

TEST_F(CleanCli, DeletesTheTaggedMessageWithAGivenPassword) {
    const std::string passwordFile = folder.file("password");
    std::ofstream(passwordFile) << "given-pw\n";
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::vector<std::string> env;
        std::string input;
    } rows[] = {
        {"environment", {}, {"QUILLGATE_PASSWORD=given-pw"}, ""},
        {"password file", {"--password-file", passwordFile}, {}, ""},
        {"standard input", {"--password", "-"}, {}, "given-pw\n"},
    };
    for (const auto& row : rows) {
        FakePop3Server server;
        scanScript(server, "given-pw");
        deletionScript(server, "given-pw");
        server.start();
        writeProfile(server.port(), "");

        auto args = row.args;
        args.insert(args.begin(), {"--account", "2"});
        const CliRun run = clean(args, row.env, row.input);

        EXPECT_EQ(server.finish(), "") << row.name;
        EXPECT_EQ(run.exitCode, 0) << row.name << ": " << run.err;
        EXPECT_EQ(run.out, "1\tDeals <foe@spam.example>\tBuy now\nDeleted 1 of 1 message.\n") << row.name;
        const AccountStore after = readProfile();
        EXPECT_TRUE(after.GetAccount(2)->password.empty())
            << row.name << ": a given password is never stored";
        EXPECT_EQ(after.GetAccount(1)->isCurrent, 1u) << row.name;
        // No wait for undo, and the log keeps what went.
        const auto logged = DeletionLog(data() + "/" + kDeletionLogFileName).read();
        ASSERT_FALSE(logged.empty()) << row.name;
        EXPECT_EQ(logged.back().from, "Deals <foe@spam.example>") << row.name;
        EXPECT_EQ(logged.back().account, "Work") << row.name;
        EXPECT_TRUE(logged.back().blackListed) << row.name;
    }
}

TEST_F(CleanCli, ALoginRefusedIsExitCodeOneWithTheServersWords) {
    FakePop3Server server;
    server.send("+OK ready\r\n")
        .expect("user ann\r\n")
        .send("+OK\r\n")
        .expect("pass pw\r\n")
        .send("-ERR [AUTH] Authentication failed.\r\n");
    server.start();
    writeProfile(server.port(), "pw");

    const CliRun run = clean({"--account", "Work"});

    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("-ERR [AUTH] Authentication failed."), std::string::npos) << run.err;
}

constexpr const char* kBase64Hello =
    "+OK\r\nFrom: Ann <ann@example.org>\r\nTo: work@example.org\r\nSubject: Hello\r\n"
    "Content-Type: text/plain\r\nContent-Transfer-Encoding: base64\r\n\r\nSGVsbG8gdGhlcmUu\r\n.\r\n";
constexpr const char* kUserString =
    "+OK\r\nFrom: Ann <ann@example.org>\r\nTo: work@example.org\r\nSubject: The secret project\r\n"
    "\r\nNothing more.\r\n.\r\n";
constexpr const char* kExeAttachment =
    "+OK\r\nFrom: Ann <ann@example.org>\r\nTo: work@example.org\r\nSubject: Photos\r\n"
    "Content-Type: multipart/mixed; boundary=\"b1\"\r\n\r\n--b1\r\nContent-Type: text/plain\r\n\r\n"
    "See the file.\r\n--b1\r\nContent-Type: application/octet-stream; name=\"photos.exe\"\r\n\r\n"
    "TVqQ\r\n--b1--\r\n.\r\n";

struct Policy {
    const char* name;
    const char* top;
    std::vector<std::string> args;
    bool deleted;
    const char* out;
};

class CleanCliPolicy : public CleanCli, public ::testing::WithParamInterface<Policy> {};

// An account that signs in with OAuth2 asks for no password; with no keyring
// to give its sign-in it fails saying so, having sent nothing.
TEST_F(CleanCli, AnOAuth2AccountWithoutItsSignInFailsClearly) {
    writeProfile(FakePop3Server::unusedPort(), "");
    AccountStore store = readProfile();
    AccountRecord work = *store.GetAccount(2);
    work.signIn = kSignInOAuth2;
    store.ReplaceAccount(2, work);
    QSettingsProfile profile(profileFile());
    StillWindow window;
    Settings settings;
    ASSERT_TRUE(AccountPersistence(profile, window).SaveAccounts(store, settings));

    const CliRun run = clean({"--account", "Work", "--dry-run"},
                             {"DBUS_SESSION_BUS_ADDRESS=unix:path=" + folder.file("no-bus")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.find("stores no password"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("The keyring did not give the sign-in token of Work"), std::string::npos)
        << run.err;
}

// With "3. Red" chosen every message here is tagged in the window; clean,
// with nobody looking, deletes only on firm evidence.
TEST_P(CleanCliPolicy, DeletesOnlyOnFirmEvidence) {
    std::ofstream(data() + "/userlst.dat") << "secret project\n";
    FakePop3Server server;
    scanScript(server, "pw", {GetParam().top});
    if (GetParam().deleted) deletionScript(server, "pw");
    server.start();
    writeProfile(server.port(), "pw", kLevelRed);

    const CliRun run = clean(GetParam().args);

    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, CleanCliPolicy,
    ::testing::Values(
        Policy{"RedOnlyByAHeuristicStays",
               kBase64Hello,
               {"--account", "Work"},
               false,
               "Deleted 0 of 0 messages.\n"},
        Policy{"DryRunListsItSkippedWithTheReason",
               kBase64Hello,
               {"--account", "Work", "--dry-run"},
               false,
               "1\tAnn <ann@example.org>\tHello\tskipped: red only by built-in heuristics: body is "
               "base64-encoded\n0 messages would be deleted.\n"},
        Policy{"HeuristicsOptionDeletesIt",
               kBase64Hello,
               {"--account", "Work", "--heuristics"},
               true,
               "1\tAnn <ann@example.org>\tHello\nDeleted 1 of 1 message.\n"},
        Policy{"RedDictionaryRecordGoes",
               kUserString,
               {"--account", "Work"},
               true,
               "1\tAnn <ann@example.org>\tThe secret project\nDeleted 1 of 1 message.\n"},
        Policy{"RiskyAttachmentGoes",
               kExeAttachment,
               {"--account", "Work"},
               true,
               "1\tAnn <ann@example.org>\tPhotos\nDeleted 1 of 1 message.\n"},
        Policy{"FoeGoes",
               kSpam,
               {"--account", "Work"},
               true,
               "1\tDeals <foe@spam.example>\tBuy now\nDeleted 1 of 1 message.\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct NoAccount {
    const char* name;
    std::vector<std::string> args;
    const char* error;
};

class CleanCliNoAccount : public CleanCli, public ::testing::WithParamInterface<NoAccount> {};

TEST_P(CleanCliNoAccount, IsExitCodeTwoAndTouchesNoServer) {
    writeProfile(FakePop3Server::unusedPort(), "");
    const CliRun run = clean(GetParam().args);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, std::string("quillgate-cli clean: ") + GetParam().error + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Choices, CleanCliNoAccount,
    ::testing::Values(
        NoAccount{"UnknownName", {"--account", "Play"}, "no account is named \"Play\""},
        NoAccount{"NumberTooHigh", {"--account", "3"}, "there is no account number 3 (the profile holds 2)"},
        NoAccount{"NoPassword",
                  {"--account", "Work"},
                  "the profile stores no password for this account: give --password-file FILE, "
                  "--password - or QUILLGATE_PASSWORD"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qlt::test
