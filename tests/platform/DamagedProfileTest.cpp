#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <functional>

#include "platform/QSettingsProfile.h"
#include "store/AccountPersistence.h"
#include "store/Codec.h"
#include "support/CheckerRig.h"
#include "support/SampleAccounts.h"

namespace qlt::test {
namespace {

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// A hand edit that cuts the closing bracket of the stored accounts: the
// value then reads as text, not as bytes.
bool cutByteArray(const QString& path) {
    QByteArray text = readBytes(path);
    const qsizetype start = text.indexOf("Accounts=");
    const qsizetype bracket = text.lastIndexOf(')', text.indexOf('\n', start));
    if (start < 0 || bracket < start) return false;
    text.remove(bracket, 1);
    return writeBytes(path, text);
}

// Bytes that are no compressed store: the first copy reaches before the start.
bool storeUndecodable(const QString& path) {
    Bytes garbage = {0, 0, 0, 0, 0x01, 0x00, 0xFF, 0xFF};
    scramble(garbage);
    QSettingsProfile profile(path);
    return !decodeStored(garbage) && profile.writeBinary("Accounts", garbage) && profile.commit();
}

struct Damage {
    const char* name;
    std::function<bool(const QString&)> apply;
};

class DamagedAccounts : public ::testing::TestWithParam<Damage> {
  protected:
    QString file() const { return m_dir.filePath("quillgt.conf"); }

    // The window's own start: the real store on the real file.
    struct Start {
        explicit Start(const QString& file) : profile(file) { checker.load(); }
        QSettingsProfile profile;
        ScriptedUiPort ui;
        FakeClock clock{FakeClock::Ticks::Real};
        StillWindow window;
        RecordingLauncher launcher;
        FixedMailto mailto;
        MailChecker checker{DeskServices{ui, clock, profile, window, launcher, mailto}};
    };

    QStringList backups() const { return QDir(m_dir.path()).entryList({"quillgt.conf.bak-*"}, QDir::Files); }

    QTemporaryDir m_dir;
};

TEST_P(DamagedAccounts, AreKeptToldOnceAndCopiedAsideBeforeTheyAreReplaced) {
    {
        QSettingsProfile profile(file());
        StillWindow window;
        AccountStore store = sampleStore(2);
        Settings settings;
        ASSERT_TRUE(AccountPersistence(profile, window).SaveAccounts(store, settings));
    }
    ASSERT_TRUE(GetParam().apply(file()));
    const QByteArray damaged = readBytes(file());

    Start start(file());
    EXPECT_EQ(start.checker.GetAccountCount(), 0);
    EXPECT_EQ(readBytes(file()), damaged) << "a load writes nothing";
    ASSERT_EQ(start.ui.titles(), std::vector<std::string>{"QLT Accounts Not Read"});
    EXPECT_NE(start.ui.boxes.front().text.find(file().toStdString()), std::string::npos);
    EXPECT_TRUE(backups().isEmpty());

    ASSERT_TRUE(start.checker.accounts().AddAccount(sampleAccount(7)));
    ASSERT_TRUE(start.checker.SaveAccounts());
    ASSERT_EQ(backups().size(), 1);
    EXPECT_TRUE(
        QRegularExpression(R"(^quillgt\.conf\.bak-\d{8}-\d{6}$)").match(backups().front()).hasMatch());
    EXPECT_EQ(readBytes(m_dir.filePath(backups().front())), damaged);

    const Start again(file());
    EXPECT_TRUE(again.ui.boxes.empty());
    ASSERT_EQ(again.checker.GetAccountCount(), 1);
    EXPECT_EQ(again.checker.GetAccount(1)->accountName, sampleAccount(7).accountName);
}

INSTANTIATE_TEST_SUITE_P(Kinds, DamagedAccounts,
                         ::testing::Values(Damage{"ByteArrayCutShort", cutByteArray},
                                           Damage{"BytesThatDoNotDecode", storeUndecodable}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qlt::test
