#include "ui/AccountsPage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "controls/CFlatButton.h"
#include "controls/CFlatCheck.h"
#include "controls/ControlStyle.h"
#include "ui/AddAccountDialog.h"
#include "ui/NumberFields.h"
#include "ui/PageLook.h"
#include "ui/SecurityChoice.h"

namespace qlt::ui {

namespace {

constexpr char kAddTip[] = "Add new email account.";
constexpr char kDeleteTip[] = "Delete current email account";
constexpr char kUpdateTip[] = "Save updated data after editing";
constexpr char kRememberTip[] = "When selected does not query for\r\npassword to access mail server.";
constexpr char kAuthTip[] = "Select only if the remote server uses\r\nsecure access authentication.";
constexpr char kScanAllTip[] =
    "If selected this account will be checked\r\nfor messages, when Scan All is on.";
constexpr char kSecurityTip[] =
    "How the connection to the server is protected:\r\nTLS from the start, STLS after the greeting, or None.";

constexpr char kOAuthPasswordNote[] = "Signs in with OAuth2";

constexpr int kRowGap = 4;
constexpr int kEdge = 8;

QFont editFont() {
    return controls::cellHeightFont(QStringLiteral("Verdana"), 16);
}

QLineEdit* makeEdit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setFont(editFont());
    return edit;
}

QLineEdit* makeNumberEdit(const char* name, QWidget* parent) {
    QLineEdit* edit = makeDigitsEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setFont(editFont());
    return edit;
}

controls::CFlatCheck* makeToggle(const QString& text, const char* name, const char* tip, QWidget* parent) {
    auto* toggle = new controls::CFlatCheck(text, parent);
    toggle->setObjectName(QLatin1String(name));
    toggle->setFont(controls::verdana13());
    toggle->setToolTip(tipText(tip));
    return toggle;
}

controls::CFlatButton* makeButton(const QString& text, const char* name, const char* tip, QWidget* parent) {
    auto* button = new controls::CFlatButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setFont(controls::verdana13());
    button->setToolTip(tipText(tip));
    return button;
}

QLabel* makeStrip(const QString& text, const char* name, Qt::Alignment alignment, QWidget* parent) {
    QLabel* strip = makePageLabel(text, name, parent);
    strip->setTextFormat(Qt::PlainText);
    strip->setAlignment(alignment | Qt::AlignVCenter);
    setTextColours(*strip, Qt::white, Qt::black);
    return strip;
}

QString fromBytes(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

AccountsPage::AccountsPage(MailChecker& checker, UiPort& ui, QWidget* parent)
    : QWidget(parent), m_checker(checker), m_ui(ui), m_steps(checker, ui) {
    buildControls();
    setLayout(buildLayout());
    connectControls();
    writeControls();
}

void AccountsPage::buildControls() {
    m_account = new QComboBox(this);
    m_account->setObjectName(QStringLiteral("account"));
    m_account->setFont(editFont());
    m_server = makeEdit("server", this);
    m_port = makeNumberEdit("port", this);
    m_port->setAlignment(Qt::AlignRight);
    m_user = makeEdit("user", this);
    m_password = makeEdit("password", this);
    m_password->setEchoMode(QLineEdit::Password);
    m_timeout = makeNumberEdit("timeout", this);
    m_security = makeSecurityChoice(this);
    m_security->setFont(editFont());
    m_security->setToolTip(tipText(kSecurityTip));
    m_authRequired = makeToggle(QStringLiteral("Auth Required "), "authRequired", kAuthTip, this);
    m_rememberPassword =
        makeToggle(QStringLiteral("Remember Password"), "rememberPassword", kRememberTip, this);
    m_scanAllInclude = makeToggle(QStringLiteral("Scan-All Include"), "scanAllInclude", kScanAllTip, this);
    m_lastScanned = makeStrip(QStringLiteral("Last Scanned"), "lastScanned", Qt::AlignLeft, this);
    m_messageCount = makeStrip(QStringLiteral("Messages"), "messageCount", Qt::AlignRight, this);
    m_add = makeButton(QStringLiteral("Add"), "add", kAddTip, this);
    m_delete = makeButton(QStringLiteral("Delete"), "delete", kDeleteTip, this);
    m_update = makeButton(QStringLiteral("Update"), "update", kUpdateTip, this);
}

QLayout* AccountsPage::buildLayout() {
    auto* grid = new QGridLayout;
    grid->addWidget(makePageLabel(QStringLiteral("Account"), "", this), 0, 0);
    grid->addWidget(m_account, 0, 1, 1, 3);
    grid->addWidget(makePageLabel(QStringLiteral("POP3 Server"), "", this), 1, 0);
    grid->addWidget(m_server, 1, 1, 1, 2);
    grid->addWidget(m_port, 1, 3);
    grid->addWidget(makePageLabel(QStringLiteral("User"), "", this), 2, 0);
    grid->addWidget(m_user, 2, 1, 1, 3);
    grid->addWidget(makePageLabel(QStringLiteral("Password"), "", this), 3, 0);
    grid->addWidget(m_password, 3, 1, 1, 3);
    grid->addWidget(makePageLabel(QStringLiteral("Timeout"), "", this), 4, 0);
    grid->addWidget(m_timeout, 4, 1);
    grid->addWidget(makePageLabel(QStringLiteral("Security"), "", this), 4, 2, Qt::AlignRight);
    grid->addWidget(m_security, 4, 3);
    grid->setColumnStretch(1, 1);
    // The fields take their fonts' full height; the room comes from the gaps between them.
    grid->setVerticalSpacing(kRowGap);

    auto* toggles = new QHBoxLayout;
    for (auto* toggle : {m_authRequired, m_rememberPassword, m_scanAllInclude}) toggles->addWidget(toggle);
    auto* strips = new QHBoxLayout;
    strips->addWidget(m_lastScanned, 3);
    strips->addWidget(m_messageCount, 1);
    auto* buttons = new QHBoxLayout;
    for (auto* button : {m_add, m_delete, m_update}) buttons->addWidget(button);

    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(kEdge, kRowGap, kEdge, kRowGap);
    layout->setSpacing(kRowGap);
    layout->addLayout(grid);
    layout->addLayout(toggles);
    layout->addLayout(strips);
    layout->addLayout(buttons);
    layout->addStretch();
    return layout;
}

void AccountsPage::connectControls() {
    connect(m_account, &QComboBox::activated, this, &AccountsPage::chooseAccount);
    connect(m_add, &controls::CFlatButton::clicked, this, &AccountsPage::addAccount);
    connect(m_delete, &controls::CFlatButton::clicked, this, &AccountsPage::deleteAccount);
    connect(m_update, &controls::CFlatButton::clicked, this, &AccountsPage::updateAccount);
    connect(m_authRequired, &controls::CFlatCheck::clicked, this,
            [this] { flipToggle(&AccountPageFields::authRequired); });
    connect(m_rememberPassword, &controls::CFlatCheck::clicked, this,
            [this] { flipToggle(&AccountPageFields::rememberPassword); });
    connect(m_scanAllInclude, &controls::CFlatCheck::clicked, this,
            [this] { flipToggle(&AccountPageFields::scanAllInclude); });
    proposePortOnSecurityChange(*m_security, *m_port);
}

void AccountsPage::refreshPage() {
    if (m_checker.GetAccountCount() <= 0) {
        clearPage();
        return;
    }
    setAccountControlsEnabled(true);
    fillAccountList();
    loadPage();
}

void AccountsPage::setAccountControlsEnabled(bool enabled) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_account, m_user, m_server, m_password, m_timeout, m_security,
                                         m_rememberPassword, m_authRequired, m_delete, m_update}) {
        control->setEnabled(enabled);
    }
    m_accountControlsEnabled = enabled;
}

void AccountsPage::clearPage() {
    ClearPageFields(m_fields);
    m_account->clear();
    setAccountControlsEnabled(false);
    writeControls();
}

void AccountsPage::fillAccountList() {
    m_account->clear();
    for (const std::string& name : AccountChoiceNames(m_checker)) m_account->addItem(fromBytes(name));
    m_account->setCurrentIndex(FlaggedAccountPosition(m_checker));
}

void AccountsPage::loadPage() {
    m_fields = LoadPageFields(m_checker.accounts().currentAccount);
    writeControls();
}

bool AccountsPage::readControls() {
    m_fields.server = m_server->text().toStdString();
    m_fields.userName = m_user->text().toStdString();
    m_fields.password = m_password->text().toStdString();
    m_fields.security = chosenSecurity(*m_security).value_or(m_fields.security);
    m_fields.authRequired = m_authRequired->isOn();
    m_fields.rememberPassword = m_rememberPassword->isOn();
    m_fields.scanAllInclude = m_scanAllInclude->isOn();
    return readUnsignedField(*m_port, m_fields.port, m_ui) &&
           readIntegerField(*m_timeout, m_fields.timeout, m_ui);
}

void AccountsPage::writeControls() {
    m_server->setText(fromBytes(m_fields.server));
    m_port->setText(QString::number(m_fields.port));
    m_user->setText(fromBytes(m_fields.userName));
    m_password->setText(fromBytes(m_fields.password));
    m_timeout->setText(QString::number(m_fields.timeout));
    showSecurity(*m_security, m_fields.security);
    m_authRequired->setState(m_fields.authRequired ? 1 : 0);
    m_rememberPassword->setState(m_fields.rememberPassword ? 1 : 0);
    m_scanAllInclude->setState(m_fields.scanAllInclude ? 1 : 0);
    m_lastScanned->setText(fromBytes(m_fields.lastScannedLine));
    m_messageCount->setText(fromBytes(m_fields.messageCountLine));
    showSignIn();
}

// An OAuth2 account has no password to type or remember; its client is set in Add Account.
void AccountsPage::showSignIn() {
    const bool oauth = m_fields.signIn == kSignInOAuth2;
    m_password->setPlaceholderText(oauth ? QString::fromLatin1(kOAuthPasswordNote) : QString());
    m_password->setEnabled(m_accountControlsEnabled && !oauth);
    m_rememberPassword->setEnabled(m_accountControlsEnabled && !oauth);
}

void AccountsPage::flipToggle(bool AccountPageFields::*flag) {
    readControls();
    m_fields.*flag = !(m_fields.*flag);
    writeControls();
}

void AccountsPage::chooseAccount(int position) {
    // Whatever was typed and not saved with Update is dropped here.
    readControls();
    if (!m_steps.chooseAccount(position)) {
        fillAccountList();
        return;
    }
    loadPage();
}

void AccountsPage::addAccount() {
    if (!m_steps.mayAddAccount()) return;
    AddAccountDialog dialog(m_ui, this);
    if (dialog.exec() != QDialog::Accepted) return;
    m_steps.addAccount(dialog.newRecord(), dialog.input().oauth);
    setAccountControlsEnabled(true);
    fillAccountList();
    loadPage();
}

void AccountsPage::deleteAccount() {
    if (!m_steps.deleteAccount(m_account->currentIndex())) return;
    refreshPage();
}

void AccountsPage::updateAccount() {
    if (!readControls()) return;
    if (m_steps.updateAccount(m_account->currentIndex(), m_fields)) writeControls();
}

void AccountsPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refreshPage();
}

}  // namespace qlt::ui
