#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "MailboxWriter.h"
#include "RecordingStream.h"
#include "base/Clock.h"
#include "base/ProcessState.h"
#include "content/EntryFiller.h"
#include "content/FullRetrieval.h"
#include "content/MailboxScan.h"
#include "pop3/Pop3Client.h"
#include "pop3/TcpStream.h"
#include "support/CheckerRig.h"
#include "support/ScriptedUiPort.h"
#include "support/TextKeyword.h"

namespace qlt::test {
namespace {

namespace fs = std::filesystem;

fs::path liveDir() {
    const char* dir = std::getenv("QLT_LIVE_DIR");
    return dir == nullptr ? fs::path() : fs::path(dir);
}

unsigned portOf(const fs::path& instance) {
    std::ifstream in(instance / "port");
    unsigned port = 0;
    in >> port;
    return port;
}

std::size_t occurrences(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

class LiveScanTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(liveDir().empty()) << "QLT_LIVE_DIR is not set: run through ctest";
        instance = liveDir();
    }
    void TearDown() override { resetProcessState(); }

    void useUser(const std::string& user) {
        account.server = "127.0.0.1";
        account.port = portOf(instance);
        account.userName = user;
        account.password = "qlt-live-pw";
        account.timeout = 10;
        account.accountNumber = 1;
        account.accountName = "live";
        writer = std::make_unique<MailboxWriter>(instance / "mail" / user / "Maildir");
    }

    int scan(bool forceRescan = false, std::int32_t scanBuf = 1024) {
        sent.clear();
        writes = 0;
        if (!client.Connect(account)) {
            ADD_FAILURE() << "no login: " << client.m_strError;
            return -100;
        }
        const int result = ScanMailbox({client, list, dictionary, account, scanBuf, forceRescan, ui, clock});
        client.Close();
        return result;
    }

    // What the scan command keeps of a complete scan.
    void recordCompleteScan() {
        account.messageCount = client.m_nMessages;
        account.mailboxSize = client.m_nMailboxSize;
        account.status = kStatusCompleted;
    }

    fs::path instance;
    AccountRecord account;
    std::unique_ptr<MailboxWriter> writer;
    ScriptedUiPort ui;
    FakeClock clock{FakeClock::Ticks::Real};
    std::string sent;
    int writes = 0;
    Pop3Client client{ui, clock,
                      [this] { return std::make_unique<RecordingStream>(ui, clock, sent, writes); }};
    MessageList list;
    KeywordDictionary dictionary;
};

TEST_F(LiveScanTest, FirstScanReadsEverythingSecondIsSkippedRescanReadsThrough) {
    useUser("carl");
    const std::vector<GeneratedMessage> messages = variedMessages();
    for (const GeneratedMessage& m : messages) writer->add(m.text);
    const int m = static_cast<int>(messages.size());

    ASSERT_EQ(scan(), m + 1) << client.m_strError;
    ASSERT_EQ(list.count(), messages.size());
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const MessageEntry& e = list.at(i);
        const GeneratedMessage* g = nullptr;
        for (const GeneratedMessage& candidate : messages)
            if (candidate.subject == e.subject.view()) g = &candidate;
        ASSERT_NE(g, nullptr) << "unexpected subject " << e.subject.view();
        SCOPED_TRACE(g->subject);
        EXPECT_EQ(e.messageNumber, static_cast<std::int32_t>(i + 1));
        EXPECT_EQ(e.accountIndex, 1);
        EXPECT_EQ(e.from.view(), g->from);
        EXPECT_EQ(e.to.view(), "carl@example.net");
        EXPECT_EQ(e.uidl.view().size(), 16u);
        EXPECT_EQ(e.isHtml != 0, g->isHtml);
        EXPECT_EQ(e.isMultipart != 0, g->isMultipart);
        EXPECT_EQ(e.isBase64 != 0, g->isBase64);
        EXPECT_EQ(e.hasEncodedUrl != 0, g->hasEncodedUrl);
        EXPECT_NE(e.preview.view().find(g->previewStart), std::string_view::npos) << e.preview.view();
        // LIST's size is the stored size, CRLF line ends and all.
        EXPECT_EQ(e.size, static_cast<std::int32_t>(g->text.size()));
    }
    EXPECT_EQ(occurrences(sent, "top "), messages.size());
    EXPECT_TRUE(sent.ends_with("quit\r\n"));

    recordCompleteScan();
    EXPECT_EQ(scan(), kScanUnchanged);
    EXPECT_EQ(occurrences(sent, "list") + occurrences(sent, "uidl") + occurrences(sent, "top"), 0u) << sent;

    EXPECT_EQ(scan(true), m + 1);
    EXPECT_EQ(occurrences(sent, "list "), messages.size());
    EXPECT_EQ(occurrences(sent, "uidl "), messages.size());
    EXPECT_EQ(occurrences(sent, "top "), 0u) << "every message is known by its id";
    EXPECT_EQ(list.count(), messages.size());
}

// Dovecot announces PIPELINING: each window of 32 messages costs two writes,
// its LISTs and UIDLs and then its TOPs, and the replies still come in order.
TEST_F(LiveScanTest, SeventyMessagesArePipelinedInThreeWindows) {
    useUser("ivan");
    for (int i = 1; i <= 70; ++i) writer->add(longMessage("Piped " + std::to_string(i), 4).text);
    ASSERT_EQ(scan(), 71) << client.m_strError;
    ASSERT_EQ(list.count(), 70u);
    for (std::size_t i = 0; i < list.count(); ++i) {
        EXPECT_EQ(list.at(i).messageNumber, static_cast<std::int32_t>(i + 1));
        EXPECT_EQ(list.at(i).subject.str(), "Piped " + std::to_string(i + 1));
    }
    EXPECT_EQ(occurrences(sent, "top "), 70u);
    // USER, PASS, STAT, CAPA, two per window, QUIT.
    EXPECT_EQ(writes, 4 + 3 * 2 + 1) << sent;
}

TEST_F(LiveScanTest, MessageArrivingBetweenScansIsTheOnlyOneFetched) {
    useUser("dora");
    for (int i = 0; i < 3; ++i) writer->add(longMessage("Old " + std::to_string(i), 5).text);
    ASSERT_EQ(scan(), 4) << client.m_strError;
    recordCompleteScan();

    writer->add(longMessage("Fresh", 5).text);
    ASSERT_EQ(scan(), 5) << client.m_strError;
    EXPECT_EQ(occurrences(sent, "list "), 4u);
    EXPECT_EQ(occurrences(sent, "uidl "), 4u);
    EXPECT_EQ(occurrences(sent, "top "), 1u) << sent;
    EXPECT_NE(sent.find("top 4 1024\r\n"), std::string::npos);
    ASSERT_EQ(list.count(), 4u);
    EXPECT_EQ(list.at(3).subject.view(), "Fresh");
}

TEST_F(LiveScanTest, StopDuringALongTopKeepsThatMessageAndLeavesWithoutQuit) {
    useUser("erin");
    writer->add(longMessage("Short one", 3).text);
    writer->add(longMessage("Short two", 3).text);
    writer->add(longMessage("Long three", 2000).text);
    writer->add(longMessage("Never read", 3).text);
    // The pump runs only between the receives of a TOP that takes several.
    ui.onPumpMessages = [] { abortRequested = 1; };

    EXPECT_EQ(scan(), kScanStopped);
    ASSERT_EQ(list.count(), 3u);
    EXPECT_EQ(list.at(2).subject.view(), "Long three");
    // The TOP of message 4 went out with the others, pipelined; its reply
    // is never read, and the scan leaves without QUIT.
    EXPECT_NE(sent.find("top 4 1024\r\n"), std::string::npos);
    EXPECT_EQ(sent.find("quit"), std::string::npos) << "no QUIT after the stop";
    bool toldAborting = false;
    for (const auto& [code, value] : ui.progressEvents)
        toldAborting |= code == kProgressAborting && value == 3;
    EXPECT_TRUE(toldAborting);
}

TEST_F(LiveScanTest, ServerStoppedMidScanEndsFailedKeepingWhatWasRead) {
    const char* script = QLT_DOVECOT_SCRIPT;
    // An instance of its own, so that stopping it leaves the other tests theirs.
    instance = liveDir().parent_path() / "dovecot-stopped";
    const std::string start = std::string("bash ") + script + " start " + instance.string() + " 0 >/dev/null";
    const std::string stop = std::string("bash ") + script + " stop " + instance.string();
    ASSERT_EQ(std::system(start.c_str()), 0);
    useUser("fred");
    // More messages than go out pipelined at once: what the server answered
    // before it stopped may still be read, but the next commands find it gone.
    for (int i = 1; i <= 40; ++i)
        writer->add(longMessage("Message " + std::to_string(i), i == 3 ? 3000 : 3).text);
    bool stopped = false;
    ui.onPumpMessages = [&] {
        if (!stopped) stopped = std::system(stop.c_str()) == 0;
    };

    const auto begin = std::chrono::steady_clock::now();
    const int result = scan();
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - begin).count();
    std::system(stop.c_str());
    ASSERT_TRUE(stopped);
    EXPECT_EQ(result, kScanFailed);
    EXPECT_LT(seconds, 30) << "no hang";
    ASSERT_GE(list.count(), 2u);
    EXPECT_EQ(list.at(0).subject.view(), "Message 1");
    EXPECT_EQ(list.at(1).subject.view(), "Message 2");
    EXPECT_FALSE(sent.ends_with("quit\r\n"));
    // A message cut off in its TOP is tried again on new connections, which fail.
    if (!clock.sleeps.empty()) {
        EXPECT_EQ(std::accumulate(clock.sleeps.begin(), clock.sleeps.end(), 0u), 4000u);
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].text, kConnectionTimedOut);
    }
}

TEST_F(LiveScanTest, WholeMessageRatingAndDumpReachBeyondTheTopLines) {
    useUser("gina");
    const GeneratedMessage long1 = longMessage("Long with a word", 600, "zanzibarquux deal", 550);
    writer->add(long1.text);
    dictionary.assign({KeywordDictionary::builtInRecord(), textKeyword(0x515151, "zanzibarquux", 3, 3)});

    ASSERT_EQ(scan(false, 20), 2) << client.m_strError;
    ASSERT_EQ(list.count(), 1u);
    EXPECT_TRUE(list.at(0).preview.view().ends_with(kMoreMarker));
    EXPECT_EQ(list.at(0).level[kXRated], 0) << "the keyword is beyond the lines TOP fetched";

    ASSERT_TRUE(client.Connect(account)) << client.m_strError;
    ASSERT_TRUE(FetchAndAnalyze(client, list, 0, dictionary, ui)) << client.m_strError;
    client.Close();
    EXPECT_EQ(list.at(0).level[kXRated], 3);
    EXPECT_EQ(list.at(0).levelReason[kXRated], 0x515151u);
    std::ifstream in(client.m_strTempFile, std::ios::binary);
    const std::string written(std::istreambuf_iterator<char>(in), {});
    // The text up to its last line break, which the end marker supplies again.
    EXPECT_EQ(written, long1.text + std::string(1, '\0'));
    EXPECT_TRUE(sent.ends_with("rset\r\nquit\r\n"));
    ::unlink(client.m_strTempFile.c_str());
}

TEST_F(LiveScanTest, DumpHoldsTheServersTextExactly) {
    useUser("hal");
    // Lines that the server must dot-stuff, and a body longer than one receive.
    std::string text =
        "From: dots@example.org\r\nSubject: Dots\r\n\r\n.first\r\nmiddle\r\n..second\r\n.\r\nend\r\n";
    for (int i = 0; i < 300; ++i) text += "filler line " + std::to_string(i) + "\r\n";
    writer->add(text);
    std::string stuffed;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at) + 2;
        if (text[at] == '.') stuffed += '.';
        stuffed += text.substr(at, end - at);
        at = end;
    }
    const fs::path dump =
        fs::temp_directory_path() / ("qlt-live-dump-" + std::to_string(::getpid()) + ".eml");
    std::ofstream(dump, std::ios::binary) << std::string(text.size() * 2, '#');

    ASSERT_TRUE(client.Connect(account)) << client.m_strError;
    ASSERT_TRUE(FetchToFile(client, 1, dump.string())) << client.m_strError;
    client.Close();
    std::ifstream in(dump, std::ios::binary);
    const std::string written(std::istreambuf_iterator<char>(in), {});
    fs::remove(dump);
    EXPECT_EQ(written, stuffed + std::string(1, '\0'));
    EXPECT_TRUE(ui.boxes.empty());
}

}  // namespace
}  // namespace qlt::test
