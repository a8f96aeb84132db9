#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QSysInfo>
#include <QTemporaryDir>

#include "platform/QSettingsProfile.h"
#include "store/AccountPersistence.h"
#include "support/SampleAccounts.h"
#include "support/StillWindow.h"

namespace qlt {
namespace {

using test::StillWindow;

class QSettingsProfileTest : public ::testing::Test {
  protected:
    QString file() const { return m_dir.filePath("quillgt.conf"); }
    QTemporaryDir m_dir;
};

TEST_F(QSettingsProfileTest, ValuesOfEachTypeComeBackAndMissingIsTold) {
    {
        QSettingsProfile profile(file());
        EXPECT_FALSE(profile.readInt("DelTag"));
        EXPECT_FALSE(profile.readText("SoundFile"));
        EXPECT_FALSE(profile.readBinary("Accounts"));
        profile.writeInt("PosX", -20);
        profile.writeText("SoundFile", "/home/u/ding dong.wav");
        profile.writeBinary("Accounts", Bytes{0, 1, 0xFF, '\n', '@', 0x80});
        ASSERT_TRUE(profile.commit());
    }
    const QSettingsProfile reopened(file());
    EXPECT_EQ(reopened.readInt("PosX"), -20);
    EXPECT_EQ(reopened.readText("SoundFile"), "/home/u/ding dong.wav");
    EXPECT_EQ(reopened.readBinary("Accounts"), (Bytes{0, 1, 0xFF, '\n', '@', 0x80}));
    EXPECT_FALSE(reopened.readInt("SoundFile")) << "a text is not an integer";
    EXPECT_FALSE(reopened.readBinary("PosX")) << "an integer is not a binary value";
}

unsigned modeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

TEST_F(QSettingsProfileTest, ValuesLiveInTheVersionGroupOfAPrivateFile) {
    QSettingsProfile profile(file());
    profile.writeInt("ScanBuf", 256);
    ASSERT_TRUE(profile.commit());
    EXPECT_EQ(modeOf(file()), 0600u);
    profile.writeInt("ScanBuf", 512);
    ASSERT_TRUE(profile.commit());
    EXPECT_EQ(modeOf(file()), 0600u) << "the atomic replace keeps the file private";
    const QSettings raw(file(), QSettings::NativeFormat);
    EXPECT_EQ(raw.value("1.0/ScanBuf").toInt(), 512);
}

TEST_F(QSettingsProfileTest, ThreeAccountsRoundTripThroughTheFile) {
    StillWindow window;
    {
        QSettingsProfile profile(file());
        AccountPersistence persistence(profile, window);
        AccountStore store = test::sampleStore(3);
        Settings settings;
        settings.soundFile = "ding.wav";
        ASSERT_TRUE(persistence.SaveAccounts(store, settings));
    }
    QSettingsProfile profile(file());
    AccountPersistence persistence(profile, window);
    AccountStore store;
    Settings settings;
    persistence.LoadAccounts(store, settings);
    ASSERT_EQ(store.GetAccountCount(), 3);
    for (int n = 1; n <= 3; ++n) {
        AccountRecord expected = test::sampleAccount(n);
        expected.status = kStatusUpdateNeeded;
        EXPECT_EQ(*store.GetAccount(n), expected) << "account " << n;
    }
    EXPECT_EQ(settings.soundFile, "ding.wav");
    EXPECT_EQ(settings.posW, 302);
}

// The default location follows the user's configuration folder; tests move it
// with setPath before the first settings object of the process exists.
TEST(QSettingsProfileLocation, DefaultFileIsTamsworthQuillgtConf) {
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    QSettingsProfile profile;
    profile.writeInt("DelTag", 2);
    ASSERT_TRUE(profile.commit());
    EXPECT_EQ(profile.fileName(), QDir(dir.path()).filePath("Tamsworth/quillgt.conf"));
    EXPECT_TRUE(QFile::exists(profile.fileName()));
}

// A lock file as a save killed at some moment leaves it.
struct LeftLock {
    const char* name;
    const char* suffix;  // beside the settings file
    bool ofDeadWriter;   // filled with the id of a process that is gone; else empty
    int ageSeconds;
};

// The id of a process that has ended and been reaped.
qint64 goneProcessId() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

void leaveLock(const QString& path, const LeftLock& left) {
    QFile lock(path);
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    if (left.ofDeadWriter) {
        lock.write(QByteArray::number(goneProcessId()) + "\nqlt_platform_tests\n" +
                   QSysInfo::machineHostName().toUtf8() + "\n");
    }
    lock.flush();
    ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addSecs(-left.ageSeconds),
                                 QFileDevice::FileModificationTime));
}

// Qt waits 30 s before it takes an empty lock file for stale; the profile
// must see that nobody owns it well before that.
TEST_F(QSettingsProfileTest, LockFilesOfAKilledSaveDoNotStallTheNextOne) {
    constexpr qint64 kBoundMs = 10000;
    const std::vector<std::vector<LeftLock>> cases = {
        {{"empty lock, just left", ".lock", false, 0}},
        {{"empty lock, a minute old", ".lock", false, 60}},
        {{"empty removal guard", ".lock.rmlock", false, 60}, {"lock of a gone writer", ".lock", true, 60}},
        {{"fresh empty removal guard", ".lock.rmlock", false, 0},
         {"lock of a gone writer", ".lock", true, 0}},
    };
    int value = 0;
    for (const auto& locks : cases) {
        SCOPED_TRACE(locks.front().name);
        QSettingsProfile profile(file());
        for (const LeftLock& left : locks) leaveLock(file() + left.suffix, left);
        profile.writeInt("ScanBuf", ++value);
        QElapsedTimer took;
        took.start();
        ASSERT_TRUE(profile.commit());
        EXPECT_LT(took.elapsed(), kBoundMs);
        EXPECT_EQ(QSettingsProfile(file()).readInt("ScanBuf"), value);
        for (const LeftLock& left : locks) EXPECT_FALSE(QFile::exists(file() + left.suffix)) << left.name;
    }
}

}  // namespace
}  // namespace qlt
