#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "PlatformTestFiles.h"
#include "platform/DesktopEntry.h"
#include "platform/XdgMailtoHandler.h"

namespace qlt {
namespace {

TEST(DesktopEntry, ExecLine) {
    struct Row {
        const char* name;
        std::string text;
        std::string exec;
    };
    const Row rows[] = {
        {"plain", "[Desktop Entry]\nName=Mail\nExec=mailer %u\n", "mailer %u"},
        {"blanks around the equals sign", "[Desktop Entry]\nExec = mailer -compose %u \n",
         "mailer -compose %u"},
        {"carriage returns", "[Desktop Entry]\r\nExec=mailer %u\r\n", "mailer %u"},
        {"value escapes resolved", "[Desktop Entry]\nExec=a\\sb\\tc \\\\\\\\x", "a b\tc \\\\x"},
        {"quoting escapes kept", "[Desktop Entry]\nExec=\"/opt/my mail/run\" \"\\$HOME\"",
         "\"/opt/my mail/run\" \"\\$HOME\""},
        {"localised key is another key", "[Desktop Entry]\nExec[de]=falsch\nExec=mailer", "mailer"},
        {"similar key", "[Desktop Entry]\nTryExec=mailer\nExecutable=x\n", ""},
        {"comment", "[Desktop Entry]\n# Exec=old\nExec=new", "new"},
        {"action group only", "[Desktop Action compose]\nExec=mailer --compose", ""},
        {"action group after the main group", "[Desktop Entry]\nName=M\n[Desktop Action c]\nExec=x", ""},
        {"no group", "Exec=mailer", ""},
        {"empty file", "", ""},
        {"key without value", "[Desktop Entry]\nExec", ""},
    };
    for (const auto& row : rows) EXPECT_EQ(desktopEntryExec(row.text), row.exec) << row.name;
}

TEST(DesktopEntry, PathsOfAnId) {
    using Paths = std::vector<std::string>;
    EXPECT_EQ(desktopEntryPaths("mailer.desktop"), Paths{"mailer.desktop"});
    EXPECT_EQ(desktopEntryPaths("kde4-kmail.desktop"), (Paths{"kde4-kmail.desktop", "kde4/kmail.desktop"}));
    EXPECT_EQ(desktopEntryPaths("a-b-c.desktop"), (Paths{"a-b-c.desktop", "a/b-c.desktop", "a/b/c.desktop"}));
    for (const char* refused : {"", ".desktop", "mailer", "../x.desktop", "a/b.desktop", "x-..-y.desktop",
                                "-x.desktop", ".hidden.desktop"}) {
        EXPECT_TRUE(desktopEntryPaths(refused).empty()) << refused;
    }
}

// A desktop with its own data folders and an xdg-mime that answers as told.
class FakeDesktop : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_root.isValid());
        for (const char* dir : {"bin", "home/applications", "system/applications/kde4"}) {
            ASSERT_TRUE(QDir(m_root.path()).mkpath(dir));
        }
        m_path.emplace("PATH", path("bin") + ":" + qEnvironmentVariable("PATH"));
        m_home.emplace("XDG_DATA_HOME", path("home"));
        m_dirs.emplace("XDG_DATA_DIRS", path("missing") + ":relative/share:" + path("system"));
    }

    QString path(const QString& relative) const { return m_root.filePath(relative); }

    void answer(const QByteArray& desktopId, int exitCode = 0) {
        const QByteArray script =
            "#!/bin/sh\n[ \"$*\" = \"query default x-scheme-handler/mailto\" ] || exit 9\n"
            "printf '%s' '" +
            desktopId + "'\nexit " + QByteArray::number(exitCode) + "\n";
        ASSERT_TRUE(test::writeFile(path("bin/xdg-mime"), script, true));
    }

    QTemporaryDir m_root;
    std::optional<test::ScopedEnv> m_path, m_home, m_dirs;
};

TEST_F(FakeDesktop, ReadsTheHandlersExecLine) {
    answer("mailer.desktop\n");
    ASSERT_TRUE(
        test::writeFile(path("system/applications/mailer.desktop"),
                        "[Desktop Entry]\nType=Application\nExec=\"/opt/my\\smail/mailer\" -compose %u\n"));
    EXPECT_EQ(XdgMailtoHandler().command(), "\"/opt/my mail/mailer\" -compose %u");
}

TEST_F(FakeDesktop, UserEntryHidesTheSystemOne) {
    answer("mailer.desktop\n");
    ASSERT_TRUE(
        test::writeFile(path("system/applications/mailer.desktop"), "[Desktop Entry]\nExec=system %u\n"));
    ASSERT_TRUE(test::writeFile(path("home/applications/mailer.desktop"), "[Desktop Entry]\nExec=mine %u\n"));
    EXPECT_EQ(XdgMailtoHandler().command(), "mine %u");
}

TEST_F(FakeDesktop, FindsAnEntryInASubfolder) {
    answer("kde4-kmail.desktop\n");
    ASSERT_TRUE(
        test::writeFile(path("system/applications/kde4/kmail.desktop"), "[Desktop Entry]\nExec=kmail %u\n"));
    EXPECT_EQ(XdgMailtoHandler().command(), "kmail %u");
}

TEST_F(FakeDesktop, NothingWithoutAUsableAnswer) {
    ASSERT_TRUE(test::writeFile(path("home/applications/mailer.desktop"), "[Desktop Entry]\nExec=mine %u\n"));
    struct Row {
        const char* name;
        QByteArray answer;
        int exitCode;
    };
    const Row rows[] = {
        {"no handler set", "", 0},
        {"query failed", "mailer.desktop\n", 1},
        {"entry missing", "other.desktop\n", 0},
        {"path instead of an ID", "../applications/mailer.desktop\n", 0},
    };
    for (const auto& row : rows) {
        answer(row.answer, row.exitCode);
        EXPECT_EQ(XdgMailtoHandler().command(), "") << row.name;
    }
}

TEST_F(FakeDesktop, NothingWithoutXdgMime) {
    test::ScopedEnv noPath("PATH", path("bin"));
    EXPECT_EQ(XdgMailtoHandler().command(), "");
}

}  // namespace
}  // namespace qlt
