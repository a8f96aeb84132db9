#include <gtest/gtest.h>

#include "store/AccountPersistence.h"
#include "store/AccountRecordCodec.h"
#include "store/InMemoryProfile.h"
#include "support/SampleAccounts.h"

namespace qlt {
namespace {

class FakeWindow final : public WindowGeometry {
  public:
    Rect windowRect() const override { return rect; }
    void moveTopLeft(std::int32_t x, std::int32_t y) override {
        rect.right += x - rect.left;
        rect.bottom += y - rect.top;
        rect.left = x;
        rect.top = y;
        ++moves;
    }
    Size screenSize() const override { return {1920, 1080}; }

    Rect rect{100, 50, 402, 550};
    int moves = 0;
};

Bytes encodeRecords(const std::vector<AccountRecord>& records) {
    Bytes plain;
    for (const auto& r : records) appendAccountRecord(r, plain);
    return encodeStored(plain);
}

struct Session {
    explicit Session(InMemoryProfile& profile) : persistence(profile, window) {}
    void load() { persistence.LoadAccounts(store, settings); }
    bool save() { return persistence.SaveAccounts(store, settings); }

    FakeWindow window;
    AccountPersistence persistence;
    AccountStore store;
    Settings settings;
};

TEST(AccountPersistence, FirstRunSavesEveryValueAtOnce) {
    InMemoryProfile profile;
    Session session(profile);
    session.load();
    EXPECT_EQ(session.store.GetAccountCount(), 0);
    EXPECT_EQ(session.store.currentAccountNumber, AccountStore::kNoCurrentAccount);
    EXPECT_EQ(profile.names().size(), 21u);
    EXPECT_EQ(profile.readInt("Minutes2Scan"), 15);
    EXPECT_EQ(profile.readInt("PosW"), 302);
    EXPECT_EQ(profile.readInt("PosX"), 100) << "the window's own place is saved";
    EXPECT_EQ(decodeStored(*profile.readBinary("Accounts")), Bytes{});
    EXPECT_EQ(session.window.moves, 0);
}

TEST(AccountPersistence, ThreeAccountsComeBackInOrderWithStatusReset) {
    InMemoryProfile profile;
    Session first(profile);
    first.store = test::sampleStore(3);
    ASSERT_TRUE(first.save());

    Session second(profile);
    second.load();
    ASSERT_EQ(second.store.GetAccountCount(), 3);
    for (int n = 1; n <= 3; ++n) {
        AccountRecord expected = test::sampleAccount(n);
        expected.status = kStatusUpdateNeeded;
        EXPECT_EQ(*second.store.GetAccount(n), expected) << "account " << n;
    }
    EXPECT_EQ(second.store.currentAccountNumber, 2);
    EXPECT_EQ(second.store.currentAccount.userName, "user2");
    EXPECT_EQ(second.store.currentAccount.status, kStatusUpdateNeeded);
}

TEST(AccountPersistence, LoadedAccountsAreRenumberedByPosition) {
    InMemoryProfile profile;
    Session first(profile);
    first.store = test::sampleStore(3);
    first.store.DeleteAccount(1);
    first.save();

    Session second(profile);
    second.load();
    ASSERT_EQ(second.store.GetAccountCount(), 2);
    EXPECT_EQ(second.store.GetAccount(1)->accountNumber, 1);
    EXPECT_EQ(second.store.GetAccount(2)->accountNumber, 2);
    EXPECT_EQ(second.store.GetAccount(2)->userName, "user3");
}

TEST(AccountPersistence, FortyStoredRecordsLoadThirtyTwo) {
    std::vector<AccountRecord> records;
    for (int n = 1; n <= 40; ++n) records.push_back(test::sampleAccount(n));
    records[35].isCurrent = 1;  // beyond the limit: never seen
    InMemoryProfile profile;
    profile.writeBinary("Accounts", encodeRecords(records));
    Session session(profile);
    session.load();
    ASSERT_EQ(session.store.GetAccountCount(), 32);
    EXPECT_EQ(session.store.GetAccount(32)->userName, "user32");
    EXPECT_EQ(session.store.currentAccountNumber, 2);
}

TEST(AccountPersistence, LastOfTwoFlaggedAccountsBecomesCurrent) {
    std::vector<AccountRecord> records = {test::sampleAccount(1), test::sampleAccount(2),
                                          test::sampleAccount(3)};
    records[0].isCurrent = 1;
    records[1].isCurrent = 0;
    records[2].isCurrent = 1;
    records[2].port = 0;
    InMemoryProfile profile;
    profile.writeBinary("Accounts", encodeRecords(records));
    Session session(profile);
    session.load();
    EXPECT_EQ(session.store.currentAccountNumber, 3);
    EXPECT_EQ(session.store.currentAccount.userName, "user3");
    EXPECT_EQ(session.store.currentAccount.port, 110u) << "the working copy's port is corrected at start";
    EXPECT_EQ(session.store.GetAccount(1)->isCurrent, 1u) << "flags are loaded as stored";
}

TEST(AccountPersistence, NoFlaggedAccountLeavesNoCurrentAccount) {
    AccountRecord only = test::sampleAccount(1);
    InMemoryProfile profile;
    profile.writeBinary("Accounts", encodeRecords({only}));
    Session session(profile);
    session.load();
    EXPECT_EQ(session.store.GetAccountCount(), 1);
    EXPECT_EQ(session.store.currentAccountNumber, AccountStore::kNoCurrentAccount);
}

TEST(AccountPersistence, WindowMovesOnlyToAPlaceOnScreen) {
    struct Row {
        const char* name;
        std::int32_t x;
        std::int32_t y;
        bool moves;
    };
    const Row rows[] = {{"on screen", 300, 200, true},        {"origin", 0, 0, true},
                        {"negative left", -20, 200, false},   {"negative top", 300, -1, false},
                        {"right of screen", 1920, 10, false}, {"below screen", 10, 1080, false}};
    for (const auto& row : rows) {
        InMemoryProfile profile;
        profile.writeBinary("Accounts", encodeRecords({}));
        profile.writeInt("PosX", row.x);
        profile.writeInt("PosY", row.y);
        Session session(profile);
        session.load();
        EXPECT_EQ(session.window.moves, row.moves ? 1 : 0) << row.name;
        if (row.moves) {
            EXPECT_EQ(session.window.rect.left, row.x) << row.name;
            EXPECT_EQ(session.window.rect.right - session.window.rect.left, 302) << row.name;
        }
    }
}

TEST(AccountPersistence, SaveTakesTheWindowRectangle) {
    InMemoryProfile profile;
    Session session(profile);
    session.window.rect = {-20, 30, 620, 500};
    session.save();
    EXPECT_EQ(profile.readInt("PosX"), -20);
    EXPECT_EQ(profile.readInt("PosY"), 30);
    EXPECT_EQ(profile.readInt("PosW"), 640);
}

TEST(AccountPersistence, UnreadableValueLoadsEmptyAndIsKeptUntilAccountsChange) {
    // A compressed block whose first item copies from 4095 bytes before its start.
    Bytes damaged = {0, 0, 0, 0, 0x01, 0x00, 0xFF, 0xFF};
    scramble(damaged);
    ASSERT_FALSE(decodeStored(damaged));
    InMemoryProfile profile;
    profile.writeBinary("Accounts", damaged);

    Session session(profile);
    session.load();
    EXPECT_EQ(session.store.GetAccountCount(), 0);
    EXPECT_TRUE(session.persistence.storedAccountsUnreadable());
    session.save();
    EXPECT_EQ(profile.readBinary("Accounts"), damaged) << "an untouched store writes the user's bytes back";
    ASSERT_EQ(profile.backups().size(), 1u) << "copied aside before the first save";
    EXPECT_EQ(profile.backups().front().readBinary("Accounts"), damaged);

    ASSERT_TRUE(session.store.AddAccount(test::sampleAccount(5)));
    session.save();
    const auto written = decodeStored(*profile.readBinary("Accounts"));
    ASSERT_TRUE(written);
    EXPECT_EQ(written->size(), kAccountRecordSize);
    EXPECT_EQ(profile.backups().size(), 1u);
    EXPECT_FALSE(session.persistence.storedAccountsUnreadable());
}

struct SoundCase {
    const char* name;
    std::optional<std::string> stored;  // nothing: a fresh profile
    const char* loaded;
};

class SoundAtStart : public ::testing::TestWithParam<SoundCase> {};

TEST_P(SoundAtStart, AnEmptySoundBecomesTheShippedOne) {
    InMemoryProfile profile;
    if (GetParam().stored) profile.writeText("SoundFile", *GetParam().stored);
    Session session(profile);
    session.load();
    EXPECT_EQ(session.settings.soundFile, GetParam().loaded);
    session.save();
    EXPECT_EQ(profile.readText("SoundFile"), GetParam().loaded);
}

INSTANTIATE_TEST_SUITE_P(Rows, SoundAtStart,
                         ::testing::Values(SoundCase{"FreshProfile", std::nullopt, "default.wav"},
                                           SoundCase{"EmptySetting", "", "default.wav"},
                                           SoundCase{"UsersOwnSound", "/home/u/bell.wav",
                                                     "/home/u/bell.wav"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AccountPersistence, TrailingPartialRecordIsDropped) {
    Bytes plain;
    appendAccountRecord(test::sampleAccount(1), plain);
    plain.resize(plain.size() + 100, 0x55);
    InMemoryProfile profile;
    profile.writeBinary("Accounts", encodeStored(plain));
    Session session(profile);
    session.load();
    EXPECT_EQ(session.store.GetAccountCount(), 1);
}

}  // namespace
}  // namespace qlt
