#include "ui/SetupPage.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <filesystem>

#include "controls/CFlatCheck.h"
#include "controls/CNamedBitmapButton.h"
#include "controls/ControlStyle.h"
#include "core/BackgroundCheck.h"
#include "platform/WavSoundPlayer.h"
#include "store/BuiltInTexts.h"
#include "ui/NumberFields.h"

namespace qlt::ui {

namespace {

struct ToggleText {
    const char* name;
    const char* text;
    const char* tip;
};

constexpr std::array<ToggleText, SetupPage::kToggleCount> kToggleTexts = {{
    {"scanOnStartup", "Check messages when program starts",
     "Scan mail on server when program starts (default Off)"},
    {"rescanDel", "Re-scan after delete", "Rescan mail on server after delete (default On)"},
    {"rescanRecurring", "Check messages every", "Check for new mail in the background (default Off)."},
    {"scanIfConnected", "Dialup - check only if connected to the Internet",
     "While using dial-up connection check mail only when connected to the Internet"},
    {"notify", "Notify on new messages", "Notifies user when new mail arrived"},
    {"playSound", "Play Sound", "Plays sound to notify that new mail arrived"},
    {"showWindow", "Show Program Window", "Brings program window to foreground in new mail arrived"},
}};

constexpr const char* kMinimumText = "The smallest time interval for\nQuillgate scan is 2 minutes";

std::uint8_t withBit(std::uint8_t bits, std::uint8_t bit, bool on) {
    return static_cast<std::uint8_t>(on ? bits | bit : bits & ~bit);
}

controls::CNamedBitmapButton* bitmapButton(const char* text, const char* name, const char* tip,
                                           QWidget* parent) {
    auto* button = new controls::CNamedBitmapButton(QLatin1String(text), parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(QLatin1String(tip));
    // The text only names the pictures; a screen reader says what the button does.
    button->setAccessibleName(QLatin1String(tip));
    button->autoLoad();
    button->setFixedSize(button->sizeHint());
    return button;
}

}  // namespace

SetupPage::SetupPage(MailChecker& checker, UiPort& ui, QWidget* parent)
    : QWidget(parent),
      m_checker(checker),
      m_ui(ui),
      m_ownSound(std::make_unique<WavSoundPlayer>()),
      m_sound(*m_ownSound) {
    build();
}

SetupPage::SetupPage(MailChecker& checker, UiPort& ui, SoundPlayer& sound, QWidget* parent)
    : QWidget(parent), m_checker(checker), m_ui(ui), m_sound(sound) {
    build();
}

SetupPage::~SetupPage() = default;

void SetupPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refreshPage();
}

void SetupPage::build() {
    auto* grid = new QGridLayout(this);
    const QFont font = controls::verdana13();

    grid->addWidget(addToggle(kStartup), 0, 0, 1, 4);
    grid->addWidget(addToggle(kRescanDel), 1, 0, 1, 4);
    grid->addWidget(addToggle(kRecurring), 2, 0);
    m_minutes = makeDigitsEdit(this);
    m_minutes->setObjectName(QStringLiteral("minutes"));
    m_minutes->setFont(font);
    m_minutes->setMaxLength(9);
    grid->addWidget(m_minutes, 2, 1);
    auto* unit = new QLabel(QStringLiteral("minutes"), this);
    unit->setFont(font);
    grid->addWidget(unit, 2, 2);
    m_setMinutes = bitmapButton("MINUT", "minut", "Click to set the time interval for mail check", this);
    grid->addWidget(m_setMinutes, 2, 3);
    grid->addWidget(addToggle(kDialUp), 3, 0, 1, 4);
    grid->addWidget(addToggle(kNotify), 4, 0, 1, 4);
    grid->addWidget(addToggle(kSound), 5, 0);
    // Shows the chosen file's name only; the path is kept in the settings.
    m_soundName = new QLineEdit(this);
    m_soundName->setObjectName(QStringLiteral("soundFile"));
    m_soundName->setFont(font);
    m_soundName->setReadOnly(true);
    grid->addWidget(m_soundName, 5, 1, 1, 2);
    m_findSound = bitmapButton("FINDS", "finds", "Browse for sound files", this);
    m_testSound = bitmapButton("TESTS", "tests", "Test selected sound file", this);
    auto* soundButtons = new QHBoxLayout;
    soundButtons->addWidget(m_findSound);
    soundButtons->addWidget(m_testSound);
    grid->addLayout(soundButtons, 5, 3);
    grid->addWidget(addToggle(kWindow), 6, 0, 1, 4);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(4, 1);

    connect(m_setMinutes, &QAbstractButton::clicked, this, &SetupPage::setInterval);
    connect(m_findSound, &QAbstractButton::clicked, this, &SetupPage::chooseSound);
    connect(m_testSound, &QAbstractButton::clicked, this, &SetupPage::testSound);
}

QWidget* SetupPage::addToggle(Toggle toggle) {
    const ToggleText& text = kToggleTexts.at(toggle);
    auto* check = new controls::CFlatCheck(QLatin1String(text.text), this);
    check->setObjectName(QLatin1String(text.name));
    check->setToolTip(QLatin1String(text.tip));
    connect(check, &QAbstractButton::clicked, this, [this, toggle] { onToggle(toggle); });
    m_toggles.at(toggle) = check;
    return check;
}

bool SetupPage::settingOf(Toggle toggle) const {
    const Settings& s = m_checker.settings();
    switch (toggle) {
        case kStartup:
            return s.scanOnStartup != 0;
        case kRescanDel:
            return s.rescanDel != 0;
        case kRecurring:
            return s.rescanRecurring != 0;
        case kDialUp:
            return s.scanIfConnected != 0;
        case kNotify:
            return (s.newMsgNotify & kNotifyNotice) != 0;
        case kSound:
            return (s.newMsgNotify & kNotifySound) != 0;
        case kWindow:
            return (s.newMsgNotify & kNotifyWindow) != 0;
        case kToggleCount:
            break;
    }
    return false;
}

void SetupPage::storeSetting(Toggle toggle, bool on) {
    Settings& s = m_checker.settings();
    switch (toggle) {
        case kStartup:
            s.scanOnStartup = on ? 1 : 0;
            break;
        case kRescanDel:
            s.rescanDel = on ? 1 : 0;
            break;
        case kRecurring:
            s.rescanRecurring = on ? 1 : 0;
            break;
        case kDialUp:
            s.scanIfConnected = on ? 1 : 0;
            break;
        case kNotify:
            s.newMsgNotify = withBit(s.newMsgNotify, kNotifyNotice, on);
            break;
        case kSound:
            s.newMsgNotify = withBit(s.newMsgNotify, kNotifySound, on);
            break;
        case kWindow:
            s.newMsgNotify = withBit(s.newMsgNotify, kNotifyWindow, on);
            break;
        case kToggleCount:
            break;
    }
}

void SetupPage::refreshPage() {
    for (int t = 0; t < kToggleCount; ++t)
        m_toggles.at(t)->setState(settingOf(static_cast<Toggle>(t)) ? 1 : 0);
    applyEnabling();
    m_strSound = QString::fromStdString(FileNamePart(m_checker.settings().soundFile));
    m_nMinutes = static_cast<std::uint32_t>(m_checker.settings().minutes2Scan);
    checkMinutes();
    writeControls();
}

void SetupPage::onToggle(Toggle toggle) {
    readControls();
    const bool on = !m_toggles.at(toggle)->isOn();
    if (toggle == kRecurring) {
        if (on)
            m_checker.StartCheckTimer();
        else
            m_checker.StopCheckTimer(true);
    }
    m_toggles.at(toggle)->setState(on ? 1 : 0);
    storeSetting(toggle, on);
    applyEnabling();
    writeControls();
}

void SetupPage::applyEnabling() {
    const bool recurring = m_toggles[kRecurring]->isOn();
    const bool notify = recurring && m_toggles[kNotify]->isOn();
    const bool sound = notify && m_toggles[kSound]->isOn();
    m_toggles[kDialUp]->setEnabled(recurring);
    m_toggles[kNotify]->setEnabled(recurring);
    m_toggles[kSound]->setEnabled(notify);
    m_toggles[kWindow]->setEnabled(notify);
    m_soundName->setEnabled(sound);
    m_findSound->setEnabled(sound);
    m_testSound->setEnabled(sound);
}

bool SetupPage::readControls() {
    return readUnsignedField(*m_minutes, m_nMinutes, m_ui);
}

void SetupPage::writeControls() {
    m_minutes->setText(QString::number(m_nMinutes));
    m_soundName->setText(m_strSound);
}

void SetupPage::checkMinutes() {
    const auto lowest = static_cast<std::uint32_t>(kMinCheckMinutes);
    const auto highest = static_cast<std::uint32_t>(kMaxCheckMinutes);
    if (m_nMinutes < lowest || m_nMinutes > highest) {
        m_nMinutes = static_cast<std::uint32_t>(kDefaultCheckMinutes);
        m_ui.messageBox(kProgramName, kMinimumText, BoxIcon::None, BoxButtons::Ok);
    }
    m_checker.settings().minutes2Scan = static_cast<std::int32_t>(m_nMinutes);
}

void SetupPage::setInterval() {
    // A minutes text that could not be read was refused with its message;
    // the timer is left as it was.
    if (!readControls()) return;
    checkMinutes();
    m_checker.StopCheckTimer(false);
    m_ui.messageBox("QLT Timer Set",
                    "Check for new messages will run every " + std::to_string(m_nMinutes) + " minutes.",
                    BoxIcon::Information, BoxButtons::Ok);
    m_checker.StartCheckTimer();
    if (!m_toggles[kRecurring]->isOn()) {
        m_toggles[kRecurring]->setState(1);
        storeSetting(kRecurring, true);
        applyEnabling();
    }
    writeControls();
}

void SetupPage::chooseSound() {
    readControls();
    std::error_code error;
    const auto folder = std::filesystem::current_path(error);
    FileRequest request;
    request.mode = FileRequest::Mode::Open;
    request.title = "Select Notification Sound";
    request.suggestedName = m_checker.settings().soundFile;
    request.filter = "Wave Files (*.wav)|*.wav|All Files (*.*)|*.*||";
    request.mustExist = true;
    const auto chosen = m_ui.chooseFile(request);
    if (!chosen) return;
    m_checker.settings().soundFile = *chosen;
    m_strSound = QString::fromStdString(FileNamePart(*chosen));
    // Data files are opened relative to the current folder.
    if (!error) std::filesystem::current_path(folder, error);
    writeControls();
}

void SetupPage::testSound() {
    PlaySoundFile(m_checker.settings().soundFile, m_sound);
}

}  // namespace qlt::ui
