#include "ui/AdvancedPreferencesDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/PreferenceTables.h"
#include "store/Formatting.h"
#include "ui/PageLook.h"

namespace qlt::ui {

namespace {

constexpr char kWarningText[] =
    "WARNING: Every string listed above will be treaded by program as HARMFUL and message containing "
    "this string will be flagged with risk level 3 [RED]. Consider this as a power - user override mode. "
    "Use it with caution.";

template <std::size_t N>
QComboBox* namedList(const char* name, const std::array<const char*, N>& entries, int position,
                     QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    for (const char* entry : entries) list->addItem(QString::fromLatin1(entry));
    list->setCurrentIndex(position);
    return list;
}

QStringList scanBufferNames() {
    QStringList names;
    for (const auto size : kScanBufSizes) names << QString::number(size);
    return names;
}

QPushButton* namedButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

AdvancedPreferencesDialog::AdvancedPreferencesDialog(const Settings& settings, UiPort& boxes,
                                                     FileChooser& files, std::string userStringPath,
                                                     QWidget* parent)
    : QDialog(parent),
      m_settings(settings),
      m_boxes(boxes),
      m_files(files),
      m_userStringPath(std::move(userStringPath)),
      m_userStrings(loadUserStringList(m_userStringPath, boxes)) {
    setWindowTitle(QStringLiteral("Advanced Preferences Setup"));

    auto* warning = new QLabel(QString::fromLatin1(kWarningText), this);
    warning->setFrameShape(QFrame::Box);
    warning->setWordWrap(true);

    auto* cancel = namedButton(QStringLiteral("Cancel"), "cancel", this);
    auto* ok = namedButton(QStringLiteral("OK"), "ok", this);
    ok->setDefault(true);
    connect(cancel, &QPushButton::clicked, this, &AdvancedPreferencesDialog::reject);
    connect(ok, &QPushButton::clicked, this, &AdvancedPreferencesDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildProgramRow());
    layout->addLayout(buildListRows());
    layout->addLayout(buildUserStringRows());
    layout->addWidget(warning);
    layout->addWidget(buildSwitches());
    layout->addLayout(buttons);
    showUserStrings();
    fitFieldsToFonts(*this);
}

QLayout* AdvancedPreferencesDialog::buildProgramRow() {
    m_programPath = new QLineEdit(QString::fromStdString(FileNamePart(m_settings.emailApp)), this);
    m_programPath->setObjectName(QStringLiteral("programPath"));
    auto* browse = namedButton(QStringLiteral("Browse"), "browse", this);
    connect(browse, &QPushButton::clicked, this, &AdvancedPreferencesDialog::browseForProgram);

    auto* rows = new QGridLayout;
    rows->addWidget(new QLabel(QStringLiteral("Your email program path (auto-select if empty)"), this), 0, 0,
                    1, 2);
    rows->addWidget(m_programPath, 1, 0);
    rows->addWidget(browse, 1, 1);
    return rows;
}

QLayout* AdvancedPreferencesDialog::buildListRows() {
    m_iconStyle = namedList("iconStyle", kIconStyleNames, iconStylePosition(m_settings.defaultTag), this);
    m_scanBuffer = new QComboBox(this);
    m_scanBuffer->setObjectName(QStringLiteral("scanBuffer"));
    m_scanBuffer->addItems(scanBufferNames());
    m_scanBuffer->setCurrentIndex(scanBufPosition(m_settings.scanBuf));
    m_threshold = namedList("threshold", kThresholdNames, thresholdPosition(m_settings.delTag), this);
    m_undoTime = new QSpinBox(this);
    m_undoTime->setObjectName(QStringLiteral("undoTime"));
    m_undoTime->setRange(0, kMaxUndoSeconds);
    m_undoTime->setSuffix(QStringLiteral(" s"));
    m_undoTime->setValue(std::clamp(m_settings.undoTime, 0, kMaxUndoSeconds));

    auto* rows = new QGridLayout;
    rows->addWidget(new QLabel(QStringLiteral("Tag"), this), 0, 0);
    rows->addWidget(m_iconStyle, 0, 1);
    rows->addWidget(new QLabel(QStringLiteral("Scan Buffer Size"), this), 1, 0);
    rows->addWidget(m_scanBuffer, 1, 1);
    rows->addWidget(new QLabel(QStringLiteral("Automatically tag for deletion items ranked"), this), 2, 0);
    rows->addWidget(m_threshold, 2, 1);
    rows->addWidget(new QLabel(QStringLiteral("Undo time"), this), 3, 0);
    rows->addWidget(m_undoTime, 3, 1);
    return rows;
}

QLayout* AdvancedPreferencesDialog::buildUserStringRows() {
    auto* add = namedButton(QStringLiteral("Add"), "addString", this);
    auto* del = namedButton(QStringLiteral("Del"), "deleteString", this);
    m_newString = new QLineEdit(this);
    m_newString->setObjectName(QStringLiteral("newString"));
    m_strings = new QListWidget(this);
    m_strings->setObjectName(QStringLiteral("userStrings"));
    connect(add, &QPushButton::clicked, this, &AdvancedPreferencesDialog::addUserString);
    connect(del, &QPushButton::clicked, this, &AdvancedPreferencesDialog::deleteUserString);
    connect(m_strings, &QListWidget::currentTextChanged, m_newString, &QLineEdit::setText);

    auto* rows = new QGridLayout;
    rows->addWidget(
        new QLabel(QStringLiteral("Mark messages that contains \nstrings from the following list"), this), 0,
        0, 1, 3);
    rows->addWidget(add, 1, 0);
    rows->addWidget(del, 1, 1);
    rows->addWidget(m_newString, 1, 2);
    rows->addWidget(m_strings, 2, 0, 1, 3);
    return rows;
}

QWidget* AdvancedPreferencesDialog::buildSwitches() {
    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(addSwitch(QStringLiteral("Do not show Delete Warning confirmation"), "noDeleteWarning",
                                &Settings::noDeleteWarning, box));
    column->addWidget(addSwitch(QStringLiteral("Do not show Delete Completed message"),
                                "noShowDeleteConfirmed", &Settings::noShowDeleteConfirmed, box));
    column->addWidget(addSwitch(QStringLiteral("Do not request confirmation on Receive Suspicious Mail"),
                                "noReceiveWarning", &Settings::noReceiveWarning, box));
    column->addWidget(addSwitch(QStringLiteral("Hide sender and subject of X-rated or foul mail in notices"),
                                "redactNotices", &Settings::redactNotices, box));
    return box;
}

QCheckBox* AdvancedPreferencesDialog::addSwitch(const QString& text, const char* name,
                                                std::int32_t Settings::*flag, QWidget* parent) {
    auto* check = new QCheckBox(text, parent);
    check->setObjectName(QLatin1String(name));
    check->setChecked(m_settings.*flag != 0);
    connect(check, &QCheckBox::toggled, this, [this, flag](bool on) { m_settings.*flag = on ? 1 : 0; });
    return check;
}

void AdvancedPreferencesDialog::showUserStrings() {
    const QSignalBlocker quiet(m_strings);
    m_strings->clear();
    for (const auto& entry : m_userStrings.entries()) m_strings->addItem(QString::fromStdString(entry));
}

void AdvancedPreferencesDialog::addUserString() {
    if (m_userStrings.add(m_newString->text().toStdString())) showUserStrings();
}

void AdvancedPreferencesDialog::deleteUserString() {
    if (m_strings->currentRow() < 0) return;
    m_userStrings.removeMatching(m_newString->text().toStdString());
    m_newString->clear();
    showUserStrings();
}

void AdvancedPreferencesDialog::browseForProgram() {
    OpenFileRequest request;
    request.title = QStringLiteral("Select Your Email Program Path");
    request.startPath = QString::fromStdString(m_settings.emailApp);
    request.filters = {{QStringLiteral("Executable Files"), QStringLiteral("*"), true},
                       {QStringLiteral("All Files"), QStringLiteral("*"), false}};
    const auto chosen = m_files.chooseOpenFile(request, this);
    if (!chosen) return;
    m_settings.emailApp = chosen->toStdString();
    m_programPath->setText(QString::fromStdString(FileNamePart(m_settings.emailApp)));
}

void AdvancedPreferencesDialog::accept() {
    m_settings.emailApp = emailAppAfterOk(m_programPath->text().toStdString(), m_settings.emailApp);
    m_settings.delTag = delTagForThreshold(m_threshold->currentIndex());
    if (const auto scanBuf = scanBufForPosition(m_scanBuffer->currentIndex())) m_settings.scanBuf = *scanBuf;
    if (const auto style = iconStyleForPosition(m_iconStyle->currentIndex())) m_settings.defaultTag = *style;
    m_settings.undoTime = m_undoTime->value();
    // A file that cannot be written is not reported: the strings stay as they were on disk.
    saveUserStringList(m_userStrings, m_userStringPath);
    QDialog::accept();
}

}  // namespace qlt::ui
