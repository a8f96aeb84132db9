#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "base/Clock.h"
#include "base/MessageList.h"
#include "content/EntryFiller.h"
#include "demo/DemoDataFolder.h"
#include "demo/DemoMessages.h"
#include "demo/DemoPop3Server.h"
#include "demo/DemoProfile.h"
#include "pop3/Pop3Client.h"
#include "risk/KeywordDictionary.h"
#include "risk/RiskRating.h"
#include "risk/SenderList.h"
#include "risk/UserStringFile.h"
#include "support/ScriptedUiPort.h"
#include "support/TempFolder.h"
#include "support/TestPaths.h"

namespace qlt::demo {
namespace {

using Levels = std::array<std::uint8_t, kRiskCategories>;

struct SampleRow {
    const char* uidl;
    Levels levels;  // virus, spam, X-rated, foul language, user strings
    std::uint8_t senderStatus = kSenderUnlisted;
};

// What each sample is there to show, as the shipped dictionary, the demo's
// user strings and its sender list rate it.
const std::vector<SampleRow> kExpected = {
    {"demo-01-welcome", {0, 0, 0, 0, 0}},
    {"demo-02-meeting", {0, 0, 0, 0, 0}},
    {"demo-03-newsletter", {0, 1, 0, 0, 0}},
    {"demo-04-lottery", {0, 3, 0, 0, 0}},
    {"demo-05-disguised-words", {0, 3, 0, 0, 0}},
    {"demo-06-invoice-attachment", {3, 0, 0, 0, 0}},
    {"demo-07-hot-singles", {0, 0, 3, 0, 0}},
    {"demo-08-parking", {0, 0, 0, 1, 0}},
    {"demo-09-review-reply", {0, 0, 0, 3, 0}},
    {"demo-10-warranty", {0, 0, 0, 0, 3}},
    {"demo-11-friend-photos", {0, 0, 0, 0, 0}, kSenderFriend},
    {"demo-12-foe-weekly-picks", {0, 0, 0, 0, 0}, kSenderFoe},
    {"demo-13-account-check", {1, 3, 0, 0, 0}},
    {"demo-14-club-notice", {0, 2, 0, 0, 0}},
    {"demo-15-spring-sale", {0, 2, 0, 0, 0}},
    {"demo-16-home-income", {0, 3, 0, 0, 0}},
    {"demo-17-scanned-document", {2, 0, 0, 0, 0}},
    {"demo-18-family", {0, 0, 0, 0, 0}},
    {"demo-19-order-receipt", {0, 0, 0, 0, 0}},
    {"demo-20-art-class", {0, 0, 2, 0, 0}},
};

// Every sample fetched from the demo server with TOP as a scan fetches it,
// filled and rated, in server order.
MessageList scanDemoMailbox(const KeywordDictionary& dictionary, test::ScriptedUiPort& ui) {
    MessageList list;
    const auto samples = loadDemoMessages(demoFolder(QLT_RES_DIR));
    if (!samples) return list;
    DemoPop3Server server(*samples);
    if (!server.start()) return list;
    SystemClock clock;
    Pop3Client client(ui, clock);
    AccountRecord account;
    account.server = "127.0.0.1";
    account.port = server.port();
    account.userName = "demo";
    account.password = "demo";
    account.timeout = 5;
    if (!client.Connect(account)) return list;
    for (std::size_t i = 0; i < samples->size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        if (!client.Top(n, 1024)) break;
        const MessageOrigin origin{(*samples)[i].uidl, static_cast<std::int32_t>((*samples)[i].text.size()),
                                   n, 1};
        FilledMessage filled = FillEntry(client.m_strReply, origin);
        if (filled.bodyToRate) rateMessage(dictionary, *filled.bodyToRate, filled.entry, kDemoAccountName);
        list.append(std::move(filled.entry));
    }
    client.Quit();
    return list;
}

TEST(DemoSamples, RateAsTheyAreMeantTo) {
    test::TempFolder data("qlt-demo");
    std::string error;
    ASSERT_TRUE(prepareDemoDataFolder(QLT_RES_DIR, data.path().string(), error)) << error;

    test::ScriptedUiPort ui;
    KeywordDictionary dictionary;
    dictionary.loadDictionary(ui, {data.file("qltdict.dat"), data.file(kUserStringFileName)});
    EXPECT_TRUE(ui.boxes.empty()) << ui.boxes.front().text;

    MessageList list = scanDemoMailbox(dictionary, ui);
    SenderList(ui, senderListPath(data.path().string())).applySenderList(list);
    EXPECT_TRUE(ui.boxes.empty());

    ASSERT_EQ(list.count(), kExpected.size());
    for (std::size_t i = 0; i < list.count(); ++i) {
        const MessageEntry& e = list.at(i);
        const SampleRow& row = kExpected[i];
        EXPECT_EQ(e.uidl.str(), row.uidl);
        EXPECT_EQ(e.level, row.levels)
            << row.uidl << " reasons " << std::hex << e.levelReason[0] << " " << e.levelReason[1] << " "
            << e.levelReason[2] << " " << e.levelReason[3] << " " << e.levelReason[4];
        EXPECT_EQ(e.senderStatus, row.senderStatus) << row.uidl;
    }
}

TEST(DemoSamples, SenderListSource) {
    struct Row {
        const char* name;
        const char* source;
        std::size_t records;  // or, when error is set, the line it names
        const char* error;
    };
    const std::vector<Row> rows = {
        {"comments and blank lines", "# lists\n\nfriend a@b.example\r\n  foe  spam.example  \n", 2, ""},
        {"unknown kind", "friend a\nenemy b\n", 2, "line 2: starts with neither friend nor foe"},
        {"kind without text", "foe\n", 1, "line 1: the text must have 1 to 74 characters"},
        {"text too long for a record", nullptr, 1, "line 1: the text must have 1 to 74 characters"},
    };
    for (const auto& row : rows) {
        const std::string source = row.source ? row.source : "foe " + std::string(75, 'x');
        std::string error;
        const auto records = parseSenderListSource(source, error);
        if (*row.error == '\0') {
            ASSERT_TRUE(records) << row.name << ": " << error;
            EXPECT_EQ(records->size(), row.records) << row.name;
        } else {
            EXPECT_FALSE(records) << row.name;
            EXPECT_EQ(error, row.error) << row.name;
        }
    }
    std::string error;
    const auto records = parseSenderListSource("friend a@b.example\n  foe  spam.example  \n", error);
    ASSERT_TRUE(records);
    EXPECT_EQ((*records)[0], (SenderRecord{kSenderFriend, decltype(SenderRecord::text)("a@b.example")}));
    EXPECT_EQ((*records)[1], (SenderRecord{kSenderFoe, decltype(SenderRecord::text)("spam.example")}));
}

TEST(DemoSamples, DataFolderNeedsEveryShippedFile) {
    test::TempFolder shipped("qlt-shipped");
    test::TempFolder data("qlt-demo");
    std::string error;
    EXPECT_FALSE(prepareDemoDataFolder(shipped.path().string(), data.path().string(), error));
    EXPECT_NE(error.find("qltdict.dat"), std::string::npos) << error;
}

}  // namespace
}  // namespace qlt::demo
