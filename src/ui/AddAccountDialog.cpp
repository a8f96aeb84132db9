#include "ui/AddAccountDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/NumberFields.h"
#include "ui/PageLook.h"
#include "ui/SecurityChoice.h"

namespace qlt::ui {

namespace {

QLineEdit* namedEdit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QCheckBox* namedCheck(const QString& text, const char* name, bool on, QWidget* parent) {
    auto* check = new QCheckBox(text, parent);
    check->setObjectName(QLatin1String(name));
    check->setChecked(on);
    return check;
}

}  // namespace

AddAccountDialog::AddAccountDialog(UiPort& boxes, QWidget* parent)
    : QDialog(parent),
      m_boxes(boxes),
      m_email(namedEdit("email", this)),
      m_server(namedEdit("server", this)),
      m_user(namedEdit("user", this)),
      m_password(namedEdit("password", this)),
      m_rememberPassword(namedCheck(QStringLiteral("Remember Password"), "rememberPassword", true, this)) {
    setWindowTitle(QStringLiteral("Add Account"));
    m_password->setEchoMode(QLineEdit::Password);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Email Address"), m_email);
    fields->addRow(QStringLiteral("POP3 Server"), m_server);
    fields->addRow(QStringLiteral("User"), m_user);
    fields->addRow(QStringLiteral("Password"), m_password);
    fields->addRow(QString(), m_rememberPassword);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &AddAccountDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &AddAccountDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buildAdvancedGroup());
    layout->addWidget(buttons);
    fitFieldsToFonts(*this);
}

QGroupBox* AddAccountDialog::buildAdvancedGroup() {
    auto* group = new QGroupBox(QStringLiteral("Advanced"), this);
    m_port = makeDigitsEdit(group);
    m_port->setObjectName(QStringLiteral("port"));
    m_port->setText(QString::number(m_input.port));
    m_timeout = makeDigitsEdit(group);
    m_timeout->setObjectName(QStringLiteral("timeout"));
    m_timeout->setText(QString::number(m_input.timeout));
    m_authRequired = namedCheck(QStringLiteral("Auth Required"), "authRequired", false, group);
    m_security = makeSecurityChoice(group);
    showSecurity(*m_security, m_input.security);
    proposePortOnSecurityChange(*m_security, *m_port);

    auto* rows = new QFormLayout(group);
    rows->addRow(QStringLiteral("Port"), m_port);
    rows->addRow(QStringLiteral("Timeout"), m_timeout);
    rows->addRow(QString(), m_authRequired);
    rows->addRow(QStringLiteral("Security"), m_security);
    return group;
}

bool AddAccountDialog::readFields() {
    m_input.accountName = m_email->text().toStdString();
    m_input.server = m_server->text().toStdString();
    m_input.userName = m_user->text().toStdString();
    m_input.password = m_password->text().toStdString();
    m_input.rememberPassword = m_rememberPassword->isChecked();
    m_input.authRequired = m_authRequired->isChecked();
    m_input.security = chosenSecurity(*m_security).value_or(kSecurityNone);
    return readUnsignedField(*m_port, m_input.port, m_boxes) &&
           readIntegerField(*m_timeout, m_input.timeout, m_boxes);
}

void AddAccountDialog::accept() {
    if (!readFields() || !acceptNewAccount(m_input, m_boxes)) return;
    m_port->setText(QString::number(m_input.port));
    m_timeout->setText(QString::number(m_input.timeout));
    QDialog::accept();
}

}  // namespace qlt::ui
