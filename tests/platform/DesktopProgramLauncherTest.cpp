#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "PlatformTestFiles.h"
#include "base/CommandLine.h"
#include "platform/DesktopProgramLauncher.h"

namespace qlt {
namespace {

constexpr int kAppearMs = 5000;

class Launcher : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    DesktopProgramLauncher m_launcher;
};

TEST_F(Launcher, StartsAProgramWithQuotedArguments) {
    const QString target = path("made by touch");
    EXPECT_TRUE(m_launcher.start(joinCommandLine({"touch", target.toStdString()})));
    EXPECT_TRUE(test::waitForFile(target, kAppearMs));
}

TEST_F(Launcher, StartsAPathWithBlanksGivenWhole) {
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("my mail"));
    const QString marker = path("started");
    const QString program = path("my mail/mailer");
    ASSERT_TRUE(test::writeFile(program, "#!/bin/sh\ntouch '" + marker.toUtf8() + "'\n", true));
    EXPECT_TRUE(m_launcher.start(program.toStdString()));
    EXPECT_TRUE(test::waitForFile(marker, kAppearMs));
}

TEST_F(Launcher, ReportsWhatCannotStart) {
    ASSERT_TRUE(test::writeFile(path("not-executable"), "#!/bin/sh\n"));
    struct Row {
        const char* name;
        std::string commandLine;
    };
    const Row rows[] = {
        {"empty", ""},
        {"blanks only", "   "},
        {"no such program", "quillgate-no-such-program-here --now"},
        {"no such path", path("missing/mailer").toStdString()},
        {"not executable", path("not-executable").toStdString()},
        {"quote left open", "\"touch " + path("x").toStdString()},
        {"empty program", "\"\" x"},
    };
    for (const auto& row : rows) EXPECT_FALSE(m_launcher.start(row.commandLine)) << row.name;
    EXPECT_FALSE(QFileInfo::exists(path("x")));
}

}  // namespace
}  // namespace qlt
