#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <ctime>
#include <string>

#include "core/DeletionLog.h"
#include "support/CliRun.h"
#include "support/TempFolder.h"

namespace qlt::test {
namespace {

// The UTC time `days` days before now.
SystemTime daysAgo(int days) {
    const std::time_t then = std::time(nullptr) - static_cast<std::time_t>(days) * 86400;
    std::tm utc{};
    gmtime_r(&then, &utc);
    return {static_cast<std::uint16_t>(utc.tm_year + 1900),
            static_cast<std::uint16_t>(utc.tm_mon + 1),
            0,
            static_cast<std::uint16_t>(utc.tm_mday),
            static_cast<std::uint16_t>(utc.tm_hour),
            static_cast<std::uint16_t>(utc.tm_min),
            static_cast<std::uint16_t>(utc.tm_sec),
            0};
}

// A data folder whose log holds a message deleted ten days ago by the rule
// and one deleted yesterday by hand.
class LogCli : public ::testing::Test {
  protected:
    void SetUp() override {
        MessageEntry old;
        old.from = "Deals <foe@spam.example>";
        old.subject = "Buy\tnow";
        old.level[kSpam] = kLevelRed;
        old.levelReasonText[kSpam] = "\"cash\" in the subject";
        MessageEntry recent;
        recent.from = "Ann <ann@example.org>";
        recent.subject = "Lunch";
        ASSERT_EQ(DeletionLog(folder.file(kDeletionLogFileName))
                      .append({MakeDeletionRecord(old, "Work", tenDaysAgo, false),
                               MakeDeletionRecord(recent, "Home", yesterday, true)}),
                  0);
    }

    CliRun log(std::vector<std::string> args) {
        args.insert(args.begin(), "log");
        args.insert(args.end(), {"--data", folder.path().string()});
        return runCli(args);
    }

    TempFolder folder{"qlt-log-cli"};
    // Read once: the clock may pass a second between writing and checking.
    const SystemTime tenDaysAgo = daysAgo(10);
    const SystemTime yesterday = daysAgo(1);
};

TEST_F(LogCli, PrintsTheLastDaysAsLinesOrAsJson) {
    const CliRun all = log({});
    EXPECT_EQ(all.exitCode, 0) << all.err;
    const std::string older = IsoUtcTime(tenDaysAgo) +
                              "\tWork\tDeals <foe@spam.example>\tBuy now\ttagged by the rule; spam 3. Red: "
                              "\"cash\" in the subject\n";
    const std::string newer =
        IsoUtcTime(yesterday) + "\tHome\tAnn <ann@example.org>\tLunch\ttagged by hand\n";
    EXPECT_EQ(all.out, older + newer) << "oldest first, a tab in a subject made a blank";
    EXPECT_EQ(log({"--since", "7"}).out, newer);

    const CliRun json = log({"--json", "--since", "30"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const QJsonArray entries = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).array();
    ASSERT_EQ(entries.size(), 2) << json.out;
    const QJsonObject first = entries[0].toObject();
    EXPECT_EQ(first["subject"].toString(), QStringLiteral("Buy\tnow"));
    EXPECT_EQ(first["taggedBy"].toString(), QStringLiteral("rule"));
    EXPECT_EQ(first["levels"].toArray()[kSpam].toInt(), 3);
    EXPECT_EQ(log({"--json", "--since", "0"}).out, "[\n]\n");
}

}  // namespace
}  // namespace qlt::test
