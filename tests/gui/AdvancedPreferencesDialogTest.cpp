#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <fstream>

#include "support/ScriptedUiPort.h"
#include "support/TempFolder.h"
#include "ui/AdvancedPreferencesDialog.h"

namespace qlt::ui {
namespace {

class ScriptedFileChooser final : public FileChooser {
  public:
    std::optional<QString> chooseOpenFile(const OpenFileRequest& request, QWidget*) override {
        requests.push_back(request);
        return answer;
    }
    std::optional<QString> answer;
    std::vector<OpenFileRequest> requests;
};

class PreferencesTest : public ::testing::Test {
  protected:
    std::unique_ptr<AdvancedPreferencesDialog> open() {
        return std::make_unique<AdvancedPreferencesDialog>(settings, ui, files, listPath);
    }
    template <class T>
    static T& child(QDialog& dialog, const char* name) {
        auto* found = dialog.findChild<T*>(QLatin1String(name));
        if (found == nullptr) throw std::runtime_error(name);
        return *found;
    }
    static void click(QDialog& dialog, const char* name) { child<QPushButton>(dialog, name).click(); }
    static QStringList listed(QDialog& dialog) {
        QStringList texts;
        auto& list = child<QListWidget>(dialog, "userStrings");
        for (int i = 0; i < list.count(); ++i) texts << list.item(i)->text();
        return texts;
    }

    test::TempFolder folder;
    std::string listPath = folder.file("userlst.dat");
    Settings settings;
    test::ScriptedUiPort ui;
    ScriptedFileChooser files;
};

TEST_F(PreferencesTest, ListsOpenOnTheSettingsAndOkStoresTheirValues) {
    const struct {
        const char* name;
        std::uint8_t delTag;
        std::int32_t scanBuf;
        std::uint8_t defaultTag;
        int thresholdShown, scanBufShown, styleShown;
        std::uint8_t delTagAfter;
        std::int32_t scanBufAfter;
    } rows[] = {
        {"defaults", 3, 1024, 2, 1, 3, 2, 3, 1024},
        {"zero threshold and odd buffer", 0, 300, 4, 0, -1, 4, 4, 300},
        {"yellow and smallest buffer", 1, 128, 0, 3, 0, 0, 1, 128},
        {"four and style past the table", 4, 4096, 9, 0, 5, -1, 4, 4096},
    };
    for (const auto& row : rows) {
        settings.delTag = row.delTag;
        settings.scanBuf = row.scanBuf;
        settings.defaultTag = row.defaultTag;
        auto dialog = open();
        EXPECT_EQ(child<QComboBox>(*dialog, "threshold").currentIndex(), row.thresholdShown) << row.name;
        EXPECT_EQ(child<QComboBox>(*dialog, "scanBuffer").currentIndex(), row.scanBufShown) << row.name;
        EXPECT_EQ(child<QComboBox>(*dialog, "iconStyle").currentIndex(), row.styleShown) << row.name;
        click(*dialog, "ok");
        EXPECT_EQ(dialog->result(), QDialog::Accepted) << row.name;
        EXPECT_EQ(dialog->settings().delTag, row.delTagAfter) << row.name;
        EXPECT_EQ(dialog->settings().scanBuf, row.scanBufAfter) << row.name;
        EXPECT_EQ(dialog->settings().defaultTag, row.defaultTag) << row.name;
    }
}

TEST_F(PreferencesTest, ChoicesReachTheSettingsOnlyWithOk) {
    auto dialog = open();
    child<QComboBox>(*dialog, "threshold").setCurrentIndex(2);
    child<QComboBox>(*dialog, "scanBuffer").setCurrentIndex(5);
    child<QComboBox>(*dialog, "iconStyle").setCurrentIndex(0);
    EXPECT_EQ(child<QSpinBox>(*dialog, "undoTime").value(), 10);
    child<QSpinBox>(*dialog, "undoTime").setValue(75);
    EXPECT_EQ(dialog->settings(), settings) << "nothing before OK";
    click(*dialog, "ok");
    EXPECT_EQ(dialog->settings().undoTime, 60) << "at most a minute";
    EXPECT_EQ(dialog->settings().delTag, 2);
    EXPECT_EQ(dialog->settings().scanBuf, 4096);
    EXPECT_EQ(dialog->settings().defaultTag, 0);
}

TEST_F(PreferencesTest, SwitchesTakeEffectAtOnceAndSurviveCancel) {
    auto dialog = open();
    child<QCheckBox>(*dialog, "noDeleteWarning").click();
    child<QCheckBox>(*dialog, "noReceiveWarning").click();
    EXPECT_TRUE(child<QCheckBox>(*dialog, "redactNotices").isChecked()) << "on by default";
    child<QCheckBox>(*dialog, "redactNotices").click();
    child<QComboBox>(*dialog, "threshold").setCurrentIndex(3);
    EXPECT_EQ(dialog->settings().noDeleteWarning, 1);
    click(*dialog, "cancel");
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dialog->settings().noDeleteWarning, 1);
    EXPECT_EQ(dialog->settings().noShowDeleteConfirmed, 0);
    EXPECT_EQ(dialog->settings().noReceiveWarning, 1);
    EXPECT_EQ(dialog->settings().redactNotices, 0);
    EXPECT_EQ(dialog->settings().delTag, settings.delTag) << "list changes dropped";
}

TEST_F(PreferencesTest, ProgramPathShowsTheNameKeepsTheFullPathOrClears) {
    settings.emailApp = "/nowhere/bin/mailer";
    auto dialog = open();
    EXPECT_EQ(child<QLineEdit>(*dialog, "programPath").text(), "mailer");
    click(*dialog, "ok");
    EXPECT_EQ(dialog->settings().emailApp, "/nowhere/bin/mailer");

    auto cleared = open();
    child<QLineEdit>(*cleared, "programPath").clear();
    click(*cleared, "ok");
    EXPECT_EQ(cleared->settings().emailApp, "");
}

TEST_F(PreferencesTest, BrowseAsksForProgramsAndSetsThePathAtOnce) {
    settings.emailApp = "/usr/bin/old";
    auto dialog = open();
    click(*dialog, "browse");
    ASSERT_EQ(files.requests.size(), 1u);
    const OpenFileRequest& request = files.requests[0];
    EXPECT_EQ(request.title, "Select Your Email Program Path");
    EXPECT_EQ(request.startPath, "/usr/bin/old");
    ASSERT_EQ(request.filters.size(), 2);
    EXPECT_TRUE(request.filters[0].executablesOnly);
    EXPECT_FALSE(request.filters[1].executablesOnly);
    EXPECT_EQ(dialog->settings().emailApp, "/usr/bin/old") << "cancelled";

    files.answer = QStringLiteral("/opt/mail/client");
    click(*dialog, "browse");
    EXPECT_EQ(dialog->settings().emailApp, "/opt/mail/client");
    EXPECT_EQ(child<QLineEdit>(*dialog, "programPath").text(), "client");
    click(*dialog, "cancel");
    EXPECT_EQ(dialog->settings().emailApp, "/opt/mail/client") << "a browsed path stays after Cancel";
}

TEST_F(PreferencesTest, UserStringsAddedOnceIgnoringCaseDeletedBySelection) {
    std::ofstream(listPath) << "prize\n  casino\n\n";
    auto dialog = open();
    EXPECT_EQ(listed(*dialog), (QStringList{"casino", "prize"}));

    auto& newString = child<QLineEdit>(*dialog, "newString");
    newString.setText(QStringLiteral("Prize"));
    click(*dialog, "addString");
    EXPECT_EQ(listed(*dialog), (QStringList{"casino", "prize"}));
    EXPECT_EQ(newString.text(), "Prize") << "the edit keeps its text";

    newString.setText(QStringLiteral("Bargain"));
    click(*dialog, "addString");
    EXPECT_EQ(listed(*dialog), (QStringList{"Bargain", "casino", "prize"}));

    click(*dialog, "deleteString");
    EXPECT_EQ(listed(*dialog).size(), 3) << "nothing selected, nothing deleted";

    child<QListWidget>(*dialog, "userStrings").setCurrentRow(1);
    EXPECT_EQ(newString.text(), "casino");
    click(*dialog, "deleteString");
    EXPECT_EQ(listed(*dialog), (QStringList{"Bargain", "prize"}));
    EXPECT_TRUE(newString.text().isEmpty());

    click(*dialog, "ok");
    EXPECT_EQ(test::readWholeFile(listPath), "Bargain\nprize\n");
}

TEST_F(PreferencesTest, CancelLeavesTheFileAndEmptyListWritesEmptyFile) {
    std::ofstream(listPath) << "prize\n";
    auto cancelled = open();
    child<QListWidget>(*cancelled, "userStrings").setCurrentRow(0);
    click(*cancelled, "deleteString");
    click(*cancelled, "cancel");
    EXPECT_EQ(test::readWholeFile(listPath), "prize\n");

    auto dialog = open();
    child<QListWidget>(*dialog, "userStrings").setCurrentRow(0);
    click(*dialog, "deleteString");
    click(*dialog, "ok");
    ASSERT_TRUE(std::filesystem::exists(listPath));
    EXPECT_EQ(std::filesystem::file_size(listPath), 0u);
}

TEST(ExecutableFileFilter, HidesFilesWithoutTheExecutableBitWhileActive) {
    test::TempFolder folder;
    std::ofstream(folder.file("notes.txt")) << "x";
    std::ofstream(folder.file("mailer")) << "#!/bin/sh\n";
    std::filesystem::permissions(folder.file("mailer"), std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    std::filesystem::create_directory(folder.path() / "sub");

    QFileSystemModel model;
    const QModelIndex root = model.setRootPath(QString::fromStdString(folder.path().string()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.rowCount(root) == 3; }, 5000));
    ExecutableFileFilter filter;
    filter.setSourceModel(&model);
    const auto shown = [&] {
        QStringList names;
        const QModelIndex proxyRoot = filter.mapFromSource(root);
        for (int i = 0; i < filter.rowCount(proxyRoot); ++i)
            names << filter.index(i, 0, proxyRoot).data().toString();
        names.sort();
        return names;
    };
    EXPECT_EQ(shown(), (QStringList{"mailer", "notes.txt", "sub"}));
    filter.setActive(true);
    EXPECT_EQ(shown(), (QStringList{"mailer", "sub"}));
}

}  // namespace
}  // namespace qlt::ui
