#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "content/FullRetrieval.h"
#include "pop3/Pop3Fixture.h"
#include "support/TextKeyword.h"

namespace qlt::test {
namespace {

namespace fs = std::filesystem;

const std::string kText = "Subject: whole\r\n\r\nline one\r\n..dotted\r\nlast line";
const std::string kReply = "+OK 55 octets\r\n" + kText + "\r\n.\r\n";
const std::string kFileEnd{"\r\n\0", 3};

std::string fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class RetrTest : public Pop3Fixture {
  protected:
    void SetUp() override {
        // Named rows have a "/" in their test name.
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '-');
        folder = fs::temp_directory_path() / ("qlt-retr-" + std::to_string(::getpid()) + "-" + name);
        fs::remove_all(folder);
        fs::create_directories(folder);
        const char* old = std::getenv("TMPDIR");
        savedTmpdir = old != nullptr ? old : "";
        hadTmpdir = old != nullptr;
        ::setenv("TMPDIR", folder.c_str(), 1);
    }
    void TearDown() override {
        if (hadTmpdir) {
            ::setenv("TMPDIR", savedTmpdir.c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
        fs::remove_all(folder);
        Pop3Fixture::TearDown();
    }

    ScriptedServer& listed(int n, std::size_t size) {
        return loggedInScript()
            .expect("list " + std::to_string(n) + "\r\n")
            .send("+OK " + std::to_string(n) + " " + std::to_string(size) + "\r\n");
    }

    fs::path folder;
    fs::path dump() const { return folder / "dump.eml"; }
    std::string savedTmpdir;
    bool hadTmpdir = false;
};

struct DeliveryCase {
    const char* name;
    std::vector<std::size_t> cuts;  // where the reply is cut into receives
};

class RetrDeliveryTest : public RetrTest, public ::testing::WithParamInterface<DeliveryCase> {};

TEST_P(RetrDeliveryTest, WritesTheTextAsSentThenCrLfNul) {
    // LIST counts the message as stored: its last line break in, the doubled dot out.
    listed(3, kText.size() + 2 - 1).expect("retr 3\r\n").sendSplit(kReply, GetParam().cuts);
    server.expect("noop\r\n").send("+OK\r\n");
    connectAndLogIn();
    ASSERT_TRUE(client.Retr(3, dump().string())) << client.m_strError;
    EXPECT_EQ(fileBytes(dump()), kText + kFileEnd);
    // Nothing of the reply is left over, and no NOOP was spent on it.
    EXPECT_TRUE(client.Noop());
    EXPECT_EQ(server.finish(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Chunks, RetrDeliveryTest,
    ::testing::Values(DeliveryCase{"OneChunk", {}}, DeliveryCase{"StatusLineAlone", {15}},
                      DeliveryCase{"StatusLineCutInTwo", {7}},
                      DeliveryCase{"TerminatorCutAfterItsDot", {kReply.size() - 2}},
                      DeliveryCase{"TerminatorCutBeforeItsDot", {kReply.size() - 3}},
                      DeliveryCase{"TerminatorInThreePieces", {kReply.size() - 4, kReply.size() - 1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RetrTest, EmptyMessageGivesOnlyTheLineEndAndNul) {
    listed(1, 0).expect("retr 1\r\n").send("+OK\r\n.\r\n");
    connectAndLogIn();
    ASSERT_TRUE(client.Retr(1, dump().string())) << client.m_strError;
    EXPECT_EQ(fileBytes(dump()), kFileEnd);
}

TEST_F(RetrTest, TextBeyondTheListedSizeIsCutAndNoopSent) {
    const std::string flood(40, 'x');
    listed(2, 25)
        .expect("retr 2\r\n")
        .sendSplit("+OK\r\n" + flood, {5 + 20})
        .expect("noop\r\n")
        .send("+OK\r\n");
    connectAndLogIn();
    ASSERT_TRUE(client.Retr(2, dump().string())) << client.m_strError;
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(fileBytes(dump()), std::string(25, 'x') + kFileEnd);
}

TEST_F(RetrTest, LongerOldFileIsCutToTheNewText) {
    std::ofstream(dump(), std::ios::binary) << std::string(5000, 'o');
    listed(1, kText.size()).expect("retr 1\r\n").send(kReply);
    connectAndLogIn();
    ASSERT_TRUE(client.Retr(1, dump().string()));
    EXPECT_EQ(fileBytes(dump()), kText + kFileEnd);
}

struct RefusalCase {
    const char* name;
    const char* listReply;
    const char* box;  // nullptr: no box, the error text tells
};

class RetrRefusalTest : public RetrTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RetrRefusalTest, FailsWithoutWritingAFile) {
    loggedInScript().expect("list 4\r\n").send(GetParam().listReply).close();
    connectAndLogIn();
    EXPECT_FALSE(client.Retr(4, dump().string()));
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(client.m_strCommand, "list 4\r\n") << "nothing sent after LIST";
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, GetParam().box);
    EXPECT_FALSE(fs::exists(dump()));
}

INSTANTIATE_TEST_SUITE_P(Replies, RetrRefusalTest,
                         ::testing::Values(RefusalCase{"ListRefused", "-ERR no such message\r\n",
                                                       "LIST Query Failed"},
                                           RefusalCase{"ListWithoutSize", "+OK 4\r\n", "GetMsgSize Failed"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RetrTest, RefusedRetrAppendsTheReplyToTheError) {
    listed(1, 10).expect("retr 1\r\n").send("-ERR locked\r\n").close();
    connectAndLogIn();
    EXPECT_FALSE(client.Retr(1, dump().string()));
    EXPECT_EQ(client.m_strError, "-ERR locked\r\n");
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(RetrTest, ServerHangingUpMidMessageFailsAtOnceKeepingWhatCame) {
    listed(1, 500).expect("retr 1\r\n").send("+OK\r\nSubject: half\r\n").delay(100).close();
    connectAndLogIn(30);
    const std::uint64_t start = clock.tickMs();
    EXPECT_FALSE(client.Retr(1, dump().string()));
    EXPECT_LT(elapsedMs(start), 5000u) << "a closed connection is not waited on";
    EXPECT_FALSE(client.m_strError.empty());
    EXPECT_EQ(fileBytes(dump()).rfind("Subject: half", 0), 0u);
}

TEST_F(RetrTest, UnwritableFileIsToldWithItsName) {
    listed(1, 10).expect("retr 1\r\n");
    connectAndLogIn();
    const std::string path = (folder / "no-such-folder" / "x.eml").string();
    EXPECT_FALSE(client.Retr(1, path));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.boxes[0].text.find(path), std::string::npos) << ui.boxes[0].text;
}

TEST_F(RetrTest, TemporaryFilesAreNewPrivateAndReplaceTheLastOne) {
    client.CreateTempFile();
    const fs::path first = client.m_strTempFile;
    ASSERT_FALSE(first.empty()) << (ui.boxes.empty() ? "" : ui.boxes[0].text);
    client.CreateTempFile();
    const fs::path second = client.m_strTempFile;
    EXPECT_NE(first, second);
    EXPECT_FALSE(fs::exists(first)) << "the last run's file goes";
    EXPECT_EQ(second.parent_path(), folder);
    const std::string name = second.filename().string();
    EXPECT_TRUE(name.starts_with("QLT") && name.ends_with(".tmp")) << name;
    struct stat info {};
    ASSERT_EQ(::stat(second.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(info.st_size, 0);
}

TEST_F(RetrTest, UncreatableTemporaryFileIsToldAndForgetsTheOldName) {
    client.CreateTempFile();
    ASSERT_FALSE(client.m_strTempFile.empty());
    ::setenv("TMPDIR", (folder / "missing").c_str(), 1);
    client.CreateTempFile();
    EXPECT_TRUE(client.m_strTempFile.empty());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Could not create temporary file");
}

TEST_F(RetrTest, FetchToFileLeavesTheMessageOnTheServer) {
    listed(2, kText.size())
        .expect("retr 2\r\n")
        .send(kReply)
        .expect("rset\r\n")
        .send("+OK\r\n")
        .expect("quit\r\n")
        .send("+OK bye\r\n");
    connectAndLogIn();
    EXPECT_TRUE(FetchToFile(client, 2, dump().string()));
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(fileBytes(dump()), kText + kFileEnd);
}

TEST_F(RetrTest, FetchAndAnalyzeRatesTheWholeTextIntoTheEntry) {
    KeywordDictionary dictionary;
    dictionary.assign({KeywordDictionary::builtInRecord(), textKeyword(0x4711, "dotted", 2, 2)});
    MessageList list;
    MessageEntry entry;
    entry.messageNumber = 7;
    entry.subject = "kept";
    list.append(entry);

    listed(7, kText.size())
        .expect("retr 7\r\n")
        .send(kReply)
        .expect("rset\r\n")
        .send("+OK\r\n")
        .expect("quit\r\n")
        .send("+OK\r\n");
    connectAndLogIn();
    ASSERT_TRUE(FetchAndAnalyze(client, list, 0, dictionary, ui)) << client.m_strError;
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(list.at(0).level[kSpam], 2);
    EXPECT_EQ(list.at(0).levelReason[kSpam], 0x4711u);
    EXPECT_EQ(list.at(0).subject.view(), "kept");
    EXPECT_EQ(fs::path(client.m_strTempFile).parent_path(), folder);
}

}  // namespace
}  // namespace qlt::test
