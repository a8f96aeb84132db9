#pragma once

#include <QDialog>
#include <string>

#include "base/UiPort.h"
#include "core/UserStringList.h"
#include "risk/UserStringFile.h"
#include "store/Settings.h"
#include "ui/FileChooser.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QSpinBox;

namespace qlt::ui {

// "Advanced Preferences Setup": the e-mail program, the risk icon style, the
// scan buffer, the tagging threshold, the undo time of the delete, the user
// strings, three switches that silence confirmations and the one that hides
// rated mail in notices.
//
// The dialog edits a copy of the settings; read settings() back after exec
// whatever the answer: the switches and a program chosen with Browse take
// effect at once and stay after Cancel, the lists and the path edit only
// with OK. OK also writes the user strings to their file.
class AdvancedPreferencesDialog : public QDialog {
    Q_OBJECT

  public:
    AdvancedPreferencesDialog(const Settings& settings, UiPort& boxes, FileChooser& files,
                              std::string userStringPath = kUserStringFileName, QWidget* parent = nullptr);

    const Settings& settings() const { return m_settings; }

    void accept() override;

  private:
    QLayout* buildProgramRow();
    QLayout* buildListRows();
    QLayout* buildUserStringRows();
    QWidget* buildSwitches();
    QCheckBox* addSwitch(const QString& text, const char* name, std::int32_t Settings::*flag,
                         QWidget* parent);
    void showUserStrings();
    void addUserString();
    void deleteUserString();
    void browseForProgram();

    Settings m_settings;
    UiPort& m_boxes;
    FileChooser& m_files;
    std::string m_userStringPath;
    UserStringList m_userStrings;

    QLineEdit* m_programPath = nullptr;
    QComboBox* m_iconStyle = nullptr;
    QComboBox* m_scanBuffer = nullptr;
    QComboBox* m_threshold = nullptr;
    QSpinBox* m_undoTime = nullptr;
    QLineEdit* m_newString = nullptr;
    QListWidget* m_strings = nullptr;
};

}  // namespace qlt::ui
