#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/UserDataFolder.h"
#include "store/BuiltInTexts.h"

namespace qlt {
namespace {

void writeFile(const QString& path, const QByteArray& bytes, const QDateTime& modified) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct InstallCase {
    const char* name;
    bool installedExists;
    int installedAgeDays;  // against the shipped file; positive: older
    const char* expected;
};

class ShippedFileInstall : public ::testing::TestWithParam<InstallCase> {};

TEST_P(ShippedFileInstall, ReplacesOnlyAMissingOrOlderCopy) {
    const InstallCase& c = GetParam();
    QTemporaryDir shipped;
    QTemporaryDir data;
    const QDateTime shippedTime = QDateTime::currentDateTime().addDays(-10);
    writeFile(QDir(shipped.path()).filePath("dict.dat"), "shipped", shippedTime);
    if (c.installedExists)
        writeFile(QDir(data.path()).filePath("dict.dat"), "installed",
                  shippedTime.addDays(-c.installedAgeDays));
    QString error;
    EXPECT_TRUE(installShippedFile(shipped.path(), data.path(), "dict.dat", error)) << error.toStdString();
    EXPECT_EQ(readFile(QDir(data.path()).filePath("dict.dat")), QByteArray(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Rows, ShippedFileInstall,
                         ::testing::Values(InstallCase{"Missing", false, 0, "shipped"},
                                           InstallCase{"Older", true, 3, "shipped"},
                                           InstallCase{"SameAge", true, 0, "installed"},
                                           InstallCase{"Newer", true, -3, "installed"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(UserDataFolder, NoShippedFileIsAnError) {
    QTemporaryDir shipped;
    QTemporaryDir data;
    QString error;
    EXPECT_FALSE(installShippedFile(shipped.path(), data.path(), "dict.dat", error));
    EXPECT_TRUE(error.contains("dict.dat"));
}

struct SoundCase {
    const char* name;
    const char* usersFile;  // already in the data folder as default.wav; null: none
    const char* expected;
};

class ShippedSound : public ::testing::TestWithParam<SoundCase> {};

TEST_P(ShippedSound, IsInstalledBesideTheDictionaryOnlyWhenMissing) {
    QTemporaryDir shipped;
    QTemporaryDir data;
    ASSERT_TRUE(QDir(shipped.path()).mkdir("sounds"));
    const QDateTime now = QDateTime::currentDateTime();
    writeFile(QDir(shipped.path()).filePath("sounds/default.wav"), "chime", now);
    const QString dictionary = QString::fromStdString(dictionaryFileName());
    writeFile(QDir(shipped.path()).filePath(dictionary), "dictionary", now);
    if (GetParam().usersFile)
        writeFile(QDir(data.path()).filePath("default.wav"), GetParam().usersFile, now.addDays(-30));
    const QString before = QDir::currentPath();
    QString error;
    ASSERT_TRUE(enterUserDataFolder(shipped.path(), data.path(), error)) << error.toStdString();
    QDir::setCurrent(before);
    EXPECT_EQ(readFile(QDir(data.path()).filePath("default.wav")), QByteArray(GetParam().expected));
    EXPECT_EQ(readFile(QDir(data.path()).filePath(dictionary)), QByteArray("dictionary"));
}

INSTANTIATE_TEST_SUITE_P(Rows, ShippedSound,
                         ::testing::Values(SoundCase{"FreshFolder", nullptr, "chime"},
                                           SoundCase{"UsersOwnOlderSound", "my bell", "my bell"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(UserDataFolder, EnteringMakesTheFolderCurrent) {
    QTemporaryDir shipped;
    QTemporaryDir root;
    const QString before = QDir::currentPath();
    const QString data = QDir(root.path()).filePath("a/quillgate");
    QString error;
    ASSERT_TRUE(enterUserDataFolder(shipped.path(), data, error)) << error.toStdString();
    EXPECT_EQ(QDir::currentPath(), QDir(data).canonicalPath());
    QDir::setCurrent(before);
}

}  // namespace
}  // namespace qlt
