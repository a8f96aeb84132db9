#include <gtest/gtest.h>
#include <unistd.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "risk/SenderList.h"
#include "risk/UserStringFile.h"
#include "store/BuiltInTexts.h"
#include "support/KillDuringSave.h"
#include "support/ScriptedUiPort.h"
#include "support/TempFolder.h"

// A save killed at any point leaves the old content or the new one, and the
// files a killed save had begun do not pile up.
namespace qlt {
namespace {

using test::readWholeFile;

// Checks each state a killed save left behind against the two known contents.
struct TwoContents {
    explicit TwoContents(std::string file, std::string old = {}, std::string renewed = {})
        : path(std::move(file)), before(std::move(old)), after(std::move(renewed)) {}

    std::string path;
    std::string before;
    std::string after;
    std::set<std::string> seen;

    void check() {
        const std::string now = readWholeFile(path);
        EXPECT_TRUE(now == before || now == after) << "a killed save left " << now.size() << " bytes";
        seen.insert(now);
    }
};

void expectEverySaveKilledAtBothPoints(const test::KillOutcome& outcome, const TwoContents& contents) {
    EXPECT_GE(outcome.rounds, 20);
    EXPECT_EQ(outcome.killed, outcome.rounds) << "a child stopped saving before it was killed";
    EXPECT_EQ(contents.seen.size(), 2u) << "the kills all fell on one side of the replace";
}

void exitWhenTold(const test::ScriptedUiPort& ui) {
    if (!ui.boxes.empty()) ::_exit(1);
}

TEST(KillDuringSave, SenderListKeepsTheOldOrTheNewRecords) {
    test::TempFolder folder;
    test::ScriptedUiPort ui;
    SenderList list(ui, senderListPath(folder.path().string()));
    TwoContents contents(senderListPath(folder.path().string()));
    list.addSender("bob@example.org", kSenderFriend);
    contents.before = readWholeFile(contents.path);
    list.addSender("spam@junk.example", kSenderFoe);
    contents.after = readWholeFile(contents.path);
    list.removeSender("spam@junk.example");
    ASSERT_TRUE(ui.boxes.empty());

    const auto outcome = test::killDuringSaves(
        [&] {
            for (;;) {
                list.addSender("spam@junk.example", kSenderFoe);
                list.removeSender("spam@junk.example");
                exitWhenTold(ui);
            }
        },
        [&] { contents.check(); });
    expectEverySaveKilledAtBothPoints(outcome, contents);

    list.addSender("carol@example.org", kSenderFriend);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(test::folderEntries(folder.path()), std::vector<std::string>{senderListFileName()})
        << "a later save clears what the killed ones left";
}

TEST(KillDuringSave, UserStringFileKeepsTheOldOrTheNewLines) {
    test::TempFolder folder;
    const std::vector<std::string> before{"casino", "lottery"};
    const std::vector<std::string> after{"casino", "lottery", "free money", "act now"};
    TwoContents contents(folder.file(kUserStringFileName), "casino\nlottery\n",
                         "casino\nlottery\nfree money\nact now\n");
    ASSERT_TRUE(writeUserStrings(contents.path, before));

    const auto outcome = test::killDuringSaves(
        [&] {
            while (writeUserStrings(contents.path, after) && writeUserStrings(contents.path, before)) {
            }
        },
        [&] { contents.check(); });
    expectEverySaveKilledAtBothPoints(outcome, contents);

    ASSERT_TRUE(writeUserStrings(contents.path, after));
    EXPECT_EQ(test::folderEntries(folder.path()), std::vector<std::string>{kUserStringFileName})
        << "a later save clears what the killed ones left";
}

}  // namespace
}  // namespace qlt
