#include <gtest/gtest.h>

#include "store/InMemoryProfile.h"
#include "store/Settings.h"

namespace qlt {
namespace {

const std::vector<std::string> kTableOrder = {"SoundFile",
                                              "EmailApp",
                                              "DelTag",
                                              "RescanDel",
                                              "ScanBuf",
                                              "ScanOnStartup",
                                              "RescanRecurring",
                                              "ScanIfConnected",
                                              "NewMsgNotify",
                                              "Minutes2Scan",
                                              "DefaultTag",
                                              "NoDeleteWarning",
                                              "NoShowDeleteConfirmed",
                                              "NoReceiveWarning",
                                              "Accounts",
                                              "PreviewFont",
                                              "PosX",
                                              "PosY",
                                              "PosW",
                                              "RedactNotices",
                                              "UndoTime"};

TEST(Settings, MissingValuesGiveTheirDefaults) {
    InMemoryProfile profile;
    Settings settings;
    settings.scanBuf = 128;
    settings.soundFile = "old.wav";
    EXPECT_FALSE(LoadSettings(profile, settings));
    EXPECT_EQ(settings, Settings{});
    EXPECT_EQ(settings.delTag, 3);
    EXPECT_EQ(settings.newMsgNotify, 6);
    EXPECT_EQ(settings.posW, 302);
    EXPECT_EQ(settings.redactNotices, 1) << "a profile from before the switch hides rated senders";
}

TEST(Settings, SavesEveryValueInTableOrder) {
    InMemoryProfile profile;
    EXPECT_TRUE(SaveSettings(profile, Settings{}, Bytes{1, 2, 3}));
    EXPECT_EQ(profile.names(), kTableOrder);
    EXPECT_EQ(profile.readBinary("Accounts"), (Bytes{1, 2, 3}));
    EXPECT_EQ(profile.readBinary("PreviewFont")->size(), 60u);
    EXPECT_EQ(profile.readInt("DelTag"), 3);
}

TEST(Settings, RoundTripKeepsEveryValue) {
    Settings saved;
    saved.soundFile = "ding.wav";
    saved.emailApp = "/usr/bin/mailer";
    saved.delTag = 1;
    saved.rescanDel = 0;
    saved.scanBuf = 4096;
    saved.scanOnStartup = 1;
    saved.rescanRecurring = 1;
    saved.scanIfConnected = 1;
    saved.newMsgNotify = 5;
    saved.minutes2Scan = 42;
    saved.defaultTag = 4;
    saved.noDeleteWarning = 1;
    saved.noShowDeleteConfirmed = 1;
    saved.noReceiveWarning = 1;
    saved.previewFont.fill(0x41);
    saved.posX = -20;
    saved.posY = 77;
    saved.posW = 640;
    saved.redactNotices = 0;
    saved.undoTime = 25;
    InMemoryProfile profile;
    SaveSettings(profile, saved, Bytes{9});
    Settings loaded;
    EXPECT_EQ(LoadSettings(profile, loaded), Bytes{9});
    EXPECT_EQ(loaded, saved);
}

TEST(Settings, EightBitValuesKeepTheLowByte) {
    InMemoryProfile profile;
    profile.writeInt("DelTag", 259);
    profile.writeInt("NewMsgNotify", -1);
    profile.writeInt("DefaultTag", 0x102);
    Settings settings;
    LoadSettings(profile, settings);
    EXPECT_EQ(settings.delTag, 3);
    EXPECT_EQ(settings.newMsgNotify, 255);
    EXPECT_EQ(settings.defaultTag, 2);
}

TEST(Settings, PreviewFontAppliesOnlyWhenPresentAndLongEnough) {
    PreviewFontBytes chosen;
    chosen.fill(0x11);
    struct Row {
        const char* name;
        std::optional<Bytes> stored;
        PreviewFontBytes expected;
    };
    Bytes longer(70, 0x22);
    PreviewFontBytes firstSixty;
    firstSixty.fill(0x22);
    const Row rows[] = {
        {"missing keeps the font", std::nullopt, chosen},
        {"59 bytes are ignored", Bytes(59, 0x33), chosen},
        {"longer value gives its first 60 bytes", longer, firstSixty},
    };
    for (const auto& row : rows) {
        InMemoryProfile profile;
        if (row.stored) profile.writeBinary("PreviewFont", *row.stored);
        Settings settings;
        settings.previewFont = chosen;
        LoadSettings(profile, settings);
        EXPECT_EQ(settings.previewFont, row.expected) << row.name;
    }
}

TEST(Settings, ValueOfTheWrongTypeCountsAsMissing) {
    InMemoryProfile profile;
    profile.writeText("ScanBuf", "lots");
    profile.writeInt("Accounts", 5);
    Settings settings;
    EXPECT_FALSE(LoadSettings(profile, settings));
    EXPECT_EQ(settings.scanBuf, 1024);
}

}  // namespace
}  // namespace qlt
