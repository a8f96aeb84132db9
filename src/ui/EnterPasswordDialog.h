#pragma once

#include <QDialog>
#include <string>

#include "base/UiPort.h"

class QLineEdit;

namespace qlt::ui {

// "Enter Password": asked before a scan of an account without a stored
// password. After Accepted, hand userName() and password() to
// applyEnteredPassword for the working copy of the account.
class EnterPasswordDialog : public QDialog {
    Q_OBJECT

  public:
    EnterPasswordDialog(const QString& userName, UiPort& boxes, QWidget* parent = nullptr);

    std::string userName() const;
    std::string password() const;

    void accept() override;

  private:
    UiPort& m_boxes;
    QLineEdit* m_userName;
    QLineEdit* m_password;
};

}  // namespace qlt::ui
