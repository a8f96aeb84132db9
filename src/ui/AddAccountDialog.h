#pragma once

#include <QDialog>

#include "base/UiPort.h"
#include "core/AccountEntry.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLineEdit;

namespace qlt::ui {

// "Add Account": the data of a new account. OK checks the entries and
// corrects the port and time-out; a refused entry leaves the dialog open.
class AddAccountDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AddAccountDialog(UiPort& boxes, QWidget* parent = nullptr);

    // The accepted entries, port and time-out corrected (after Accepted).
    const NewAccountInput& input() const { return m_input; }
    // The record to append to the store (after Accepted).
    AccountRecord newRecord() const { return makeNewAccountRecord(m_input); }

    void accept() override;

  private:
    QGroupBox* buildAdvancedGroup();
    void addSignInRows(QFormLayout& rows, QWidget* group);
    // The OAuth2 rows are for OAuth2 only, the typed addresses for Custom only.
    void enableSignInRows();
    bool readFields();

    UiPort& m_boxes;
    NewAccountInput m_input;
    QLineEdit* m_email;
    QLineEdit* m_server;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QCheckBox* m_rememberPassword;
    QLineEdit* m_port = nullptr;
    QLineEdit* m_timeout = nullptr;
    QCheckBox* m_authRequired = nullptr;
    QComboBox* m_security = nullptr;
    QComboBox* m_signIn = nullptr;
    QComboBox* m_provider = nullptr;
    QLineEdit* m_clientId = nullptr;
    QLineEdit* m_clientSecret = nullptr;
    QLineEdit* m_authorizationUrl = nullptr;
    QLineEdit* m_tokenUrl = nullptr;
};

}  // namespace qlt::ui
