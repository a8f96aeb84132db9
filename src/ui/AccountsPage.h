#pragma once

#include <QWidget>

#include "base/UiPort.h"
#include "core/AccountsPageSteps.h"
#include "core/MailChecker.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace qlt::controls {
class CFlatButton;
class CFlatCheck;
}  // namespace qlt::controls

namespace qlt::ui {

// "Accounts": choosing the current account, editing its connection data
// (Update), adding accounts (the Add Account dialog) and deleting them. The
// page keeps no accounts of its own; it works on the checker's store and its
// working copy of the current account.
class AccountsPage : public QWidget {
    Q_OBJECT

  public:
    AccountsPage(MailChecker& checker, UiPort& ui, QWidget* parent = nullptr);

    // Loads the page again from the store and the current account; with no
    // account only Add, the port and Scan-All Include stay usable.
    void refreshPage();

    // The buttons, the account choice and the toggles, as a click runs them.
    void addAccount();
    void deleteAccount();
    void updateAccount();
    void chooseAccount(int position);

    // The values the page holds (as last read from or written to the controls).
    const AccountPageFields& fields() const { return m_fields; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    QLayout* buildLayout();
    void connectControls();
    void setAccountControlsEnabled(bool enabled);
    void clearPage();
    void fillAccountList();
    void loadPage();
    bool readControls();
    void writeControls();
    void showSignIn();
    void flipToggle(bool AccountPageFields::*flag);

    MailChecker& m_checker;
    UiPort& m_ui;
    AccountsPageSteps m_steps;
    AccountPageFields m_fields;
    bool m_accountControlsEnabled = true;  // as the controls start

    QComboBox* m_account = nullptr;
    QLineEdit* m_server = nullptr;
    QLineEdit* m_port = nullptr;
    QLineEdit* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_timeout = nullptr;
    QComboBox* m_security = nullptr;
    controls::CFlatCheck* m_authRequired = nullptr;
    controls::CFlatCheck* m_rememberPassword = nullptr;
    controls::CFlatCheck* m_scanAllInclude = nullptr;
    QLabel* m_lastScanned = nullptr;
    QLabel* m_messageCount = nullptr;
    controls::CFlatButton* m_add = nullptr;
    controls::CFlatButton* m_delete = nullptr;
    controls::CFlatButton* m_update = nullptr;
};

}  // namespace qlt::ui
