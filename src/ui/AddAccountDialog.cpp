#include "ui/AddAccountDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>
#include <initializer_list>

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
    addSignInRows(*rows, group);
    return group;
}

void AddAccountDialog::addSignInRows(QFormLayout& rows, QWidget* group) {
    m_signIn = new QComboBox(group);
    m_signIn->setObjectName(QStringLiteral("signIn"));
    m_signIn->addItems({QStringLiteral("Password"), QStringLiteral("OAuth2")});
    m_provider = new QComboBox(group);
    m_provider->setObjectName(QStringLiteral("provider"));
    for (const std::uint8_t provider : {kOAuthGoogle, kOAuthMicrosoft, kOAuthCustom})
        m_provider->addItem(QString::fromLatin1(OAuthProviderName(provider)));
    m_clientId = namedEdit("clientId", group);
    m_clientSecret = namedEdit("clientSecret", group);
    m_clientSecret->setEchoMode(QLineEdit::Password);
    m_authorizationUrl = namedEdit("authorizationUrl", group);
    m_tokenUrl = namedEdit("tokenUrl", group);
    rows.addRow(QStringLiteral("Sign-in"), m_signIn);
    rows.addRow(QStringLiteral("Provider"), m_provider);
    rows.addRow(QStringLiteral("Client ID"), m_clientId);
    rows.addRow(QStringLiteral("Client Secret"), m_clientSecret);
    rows.addRow(QStringLiteral("Authorization URL"), m_authorizationUrl);
    rows.addRow(QStringLiteral("Token URL"), m_tokenUrl);
    connect(m_signIn, &QComboBox::currentIndexChanged, this, &AddAccountDialog::enableSignInRows);
    connect(m_provider, &QComboBox::currentIndexChanged, this, &AddAccountDialog::enableSignInRows);
    enableSignInRows();
}

void AddAccountDialog::enableSignInRows() {
    const bool oauth = m_signIn->currentIndex() == kSignInOAuth2;
    const bool custom = oauth && m_provider->currentIndex() == kOAuthCustom;
    for (QWidget* row : std::initializer_list<QWidget*>{m_provider, m_clientId, m_clientSecret})
        row->setEnabled(oauth);
    m_authorizationUrl->setEnabled(custom);
    m_tokenUrl->setEnabled(custom);
    m_password->setEnabled(!oauth);
    m_rememberPassword->setEnabled(!oauth);
}

bool AddAccountDialog::readFields() {
    m_input.accountName = m_email->text().toStdString();
    m_input.server = m_server->text().toStdString();
    m_input.userName = m_user->text().toStdString();
    m_input.password = m_password->text().toStdString();
    m_input.rememberPassword = m_rememberPassword->isChecked();
    m_input.authRequired = m_authRequired->isChecked();
    m_input.security = chosenSecurity(*m_security).value_or(kSecurityNone);
    m_input.signIn = static_cast<std::uint8_t>(m_signIn->currentIndex());
    m_input.oauthProvider = static_cast<std::uint8_t>(m_provider->currentIndex());
    m_input.oauth = {m_clientId->text().trimmed().toStdString(), m_clientSecret->text().toStdString(),
                     m_authorizationUrl->text().trimmed().toStdString(),
                     m_tokenUrl->text().trimmed().toStdString()};
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
