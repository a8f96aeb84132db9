#include "ui/EnterPasswordDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/AccountEntry.h"
#include "ui/PageLook.h"

namespace qlt::ui {

EnterPasswordDialog::EnterPasswordDialog(const QString& userName, UiPort& boxes, QWidget* parent)
    : QDialog(parent),
      m_boxes(boxes),
      m_userName(new QLineEdit(userName, this)),
      m_password(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Enter Password"));
    m_userName->setObjectName(QStringLiteral("userName"));
    m_password->setObjectName(QStringLiteral("password"));

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Username"), m_userName);
    fields->addRow(QStringLiteral("Password"), m_password);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &EnterPasswordDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &EnterPasswordDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    fitFieldsToFonts(*this);
    if (!userName.isEmpty()) m_password->setFocus();
}

std::string EnterPasswordDialog::userName() const {
    return m_userName->text().toStdString();
}

std::string EnterPasswordDialog::password() const {
    return m_password->text().toStdString();
}

void EnterPasswordDialog::accept() {
    if (acceptEnteredPassword(userName(), password(), m_boxes)) QDialog::accept();
}

}  // namespace qlt::ui
