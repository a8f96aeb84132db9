#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <set>
#include <string>

#include "platform/QSettingsProfile.h"
#include "store/AccountPersistence.h"
#include "support/KillDuringSave.h"
#include "support/SampleAccounts.h"
#include "support/StillWindow.h"
#include "support/TempFolder.h"

// The settings file of a save killed at any point holds the old settings or
// the new ones, never a mix, an empty file or none; and whatever lock files
// the kill left behind do not stall the saves after it.
namespace qlt {
namespace {

using test::StillWindow;

TEST(SettingsKill, EachKilledSaveLeavesTheOldOrTheNewSettings) {
    QTemporaryDir folder;
    const QString file = folder.filePath("quillgt.conf");
    const std::string path = file.toStdString();
    const AccountStore one = test::sampleStore(1);
    const AccountStore three = test::sampleStore(3);
    StillWindow window;
    QSettingsProfile profile(file);
    AccountPersistence persistence(profile, window);
    Settings settings;
    ASSERT_TRUE(persistence.SaveAccounts(three, settings));
    const std::string threeAccounts = test::readWholeFile(path);
    ASSERT_TRUE(persistence.SaveAccounts(one, settings));
    const std::string oneAccount = test::readWholeFile(path);
    ASSERT_NE(oneAccount, threeAccounts);

    // Kills must land on both sides of the replace however long a save takes
    // on this machine now: as late as three pairs of saves take here.
    QElapsedTimer pairs;
    pairs.start();
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(persistence.SaveAccounts(three, settings) && persistence.SaveAccounts(one, settings));
    test::KillPlan plan;
    plan.maxPause = std::max(plan.maxPause, std::chrono::microseconds(pairs.nsecsElapsed() / 1000));

    std::set<std::string> seen;
    const auto outcome = test::killDuringSaves(
        [&] {
            while (persistence.SaveAccounts(three, settings) && persistence.SaveAccounts(one, settings)) {
            }
        },
        [&] {
            const std::string now = test::readWholeFile(path);
            EXPECT_TRUE(now == oneAccount || now == threeAccounts)
                << "a killed save left " << now.size() << " bytes";
            seen.insert(now);
        },
        plan);
    EXPECT_GE(outcome.rounds, 20);
    EXPECT_EQ(outcome.killed, outcome.rounds) << "a child stopped saving before it was killed";
    EXPECT_EQ(seen.size(), 2u) << "the kills all fell on one side of the replace";
    // Qt alone would stall here for 30 s on an empty lock the last kill left.
    QElapsedTimer took;
    took.start();
    ASSERT_TRUE(persistence.SaveAccounts(three, settings));
    EXPECT_LT(took.elapsed(), 10000);
    EXPECT_EQ(test::readWholeFile(path), threeAccounts);
    EXPECT_LT(test::folderEntries(folder.path().toStdString()).size(), 10u)
        << "copies of killed saves pile up beside the settings file";
}

}  // namespace
}  // namespace qlt
