// The window's construction: its look, controls, menus and size limits.
#include "ui/MainWindow.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QShortcut>
#include <QSizeGrip>
#include <QStackedWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>

#include "controls/BitmapArt.h"
#include "controls/CBitmapLamp.h"
#include "controls/CCountdownLamp.h"
#include "controls/CFaceButton.h"
#include "controls/CFlatCheck.h"
#include "controls/CListHeader.h"
#include "controls/CNamedBitmapButton.h"
#include "controls/CTabButton.h"
#include "controls/CTextProgress.h"
#include "controls/ControlStyle.h"
#include "core/AccountView.h"
#include "core/ProgressCaptions.h"
#include "tray/TrayController.h"
#include "ui/AccountViewModel.h"
#include "ui/FirstRunNote.h"
#include "ui/MessageViewModel.h"
#include "ui/PageLook.h"

namespace qlt::ui {

namespace {

constexpr std::uint32_t kDialogBack = 0xD4D4D4;
constexpr std::uint32_t kDialogText = 0x202020;
constexpr int kListHeight = 200;
constexpr int kListRowHeight = 18;
constexpr QSize kPageAreaSize(470, 150);
constexpr int kProgressWidth = 230;
constexpr int kProgressHeight = 18;

struct TabInfo {
    int id;
    const char* name;
    const char* caption;
    char mnemonic;  // with Alt; none of the menu bar's letters (F, M, T, H)
    const char* tooltip;
};

// Left to right under the page area; the Options tab comes before Accounts.
constexpr std::array<TabInfo, kPageCount> kTabs = {{
    {command::kTabPreview, "previewTab", "Preview", 'P', "Plain text message preview panel."},
    {command::kTabHeaders, "headersTab", "Headers", 'E', "Current message headers."},
    {command::kTabDetails, "detailsTab", "Details", 'D', "Current message details."},
    {command::kTabOptions, "optionsTab", "Options", 'O', "Customize behavior of the program."},
    {command::kTabAccounts, "accountsTab", "Accounts", 'A', "Email accounts management panel."},
}};

struct HeaderField {
    int iconId;  // 0: none
    const char* iconSpoken;
    const char* name;
    const char* tooltip;
};

constexpr std::array<HeaderField, 5> kHeaderFields = {{
    {0, nullptr, "accountNameText", "Current email account name."},
    {controls::bitmap::kHeaderStatus, "Account status", "statusText", "Email account status."},
    {controls::bitmap::kHeaderCount, "Scanned messages", "messageCountText",
     "Number of scanned messages\r\non current email account."},
    {controls::bitmap::kHeaderChecked, "Last checked", "lastScannedText", "Last checked time."},
    {controls::bitmap::kHeaderSpeed, "Link speed", "linkSpeedText", "Average link speed (CPS)."},
}};

struct LampInfo {
    const char* name;
    const char* spoken;
    const char* tooltip;
};

constexpr std::array<LampInfo, 4> kLamps = {{
    {"virusLamp", "Virus risk",
     "Virus risk level for the current account,\r\nor for all accounts if Show All switch is on."},
    {"spamLamp", "Spam risk",
     "Spam risk level for the current account,\r\nor for all accounts if Show All switch is on."},
    {"xRatedLamp", "X-rated risk",
     "X-rated risk level for the current account,\r\nor for all accounts if Show All switch is on."},
    {"languageLamp", "Foul language risk",
     "Foul language risk level for the current account,\r\nor for all accounts if Show All switch is on."},
}};

struct ButtonInfo {
    CommandButton button;
    int id;
    const char* name;
    const char* text;
    const char* tooltip;
};

constexpr std::array<ButtonInfo, 6> kButtons = {{
    {CommandButton::Analyze, command::kAnalyze, "analyzeButton", "ANALYZE",
     "Performs detailed analyze of the selected\r\nmessage (may take time to complete)."},
    {CommandButton::Dump, command::kDump, "dumpButton", "DUMP",
     "Save selected message\r\nto the separate file."},
    {CommandButton::Scan, command::kScan, "scanButton", "SCAN",
     "Scan email messages\r\non remote-server [Step 1]"},
    {CommandButton::Delete, command::kDelete, "deleteButton", "DELETE",
     "Delete marked messages\r\nfrom remote server [Step 2]"},
    {CommandButton::GetMail, command::kGetMail, "getMailButton", "GET MAIL",
     "Start default email-program\r\nto receive selected messages\r\n[Step 3]"},
    {CommandButton::Close, command::kClose, "closeButton", "CLOSE",
     "Exit prgram.\r\nIf have to perform background\r\nmail check - minimize instead."},
}};

const ButtonInfo& buttonInfo(CommandButton button) {
    for (const ButtonInfo& info : kButtons) {
        if (info.button == button) return info;
    }
    return kButtons.back();
}

QLabel* staticText(const char* name, const char* tooltip, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(controls::verdana13());
    if (tooltip != nullptr) label->setToolTip(tipText(tooltip));
    return label;
}

controls::CFlatCheck* toggle(const char* name, const char* text, const char* tooltip, QWidget* parent) {
    auto* check = new controls::CFlatCheck(QString::fromLatin1(text), parent);
    check->setObjectName(QLatin1String(name));
    check->setToolTip(tipText(tooltip));
    check->setFixedHeight(16);
    return check;
}

}  // namespace

MainWindow::MainWindow(const WindowServices& services, QWidget* parent)
    : QDialog(parent),
      m_services(services),
      m_checker(
          std::make_unique<MailChecker>(DeskServices{*this, services.clock, services.profile, *this,
                                                     services.launcher, services.mailto, services.secrets},
                                        services.dataFiles)) {
    setWindowTitle(QStringLiteral("Quillgate 1.72"));
    setWindowFlags(Qt::Dialog | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    buildLook();

    m_messageModel = new MessageViewModel(m_checker->view(), this);
    m_messageModel->setObjectName(QStringLiteral("messageModel"));
    m_accountModel = new AccountViewModel(m_checker->accounts(), this);
    m_accountModel->setObjectName(QStringLiteral("accountModel"));

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(6, 4, 6, 2);
    root->setSpacing(4);
    buildMenus();
    root->setMenuBar(m_menuBar);

    auto* top = new QHBoxLayout;
    m_viewToggle = new controls::CNamedBitmapButton(QString(), this);
    m_viewToggle->setObjectName(QStringLiteral("viewToggle"));
    m_viewToggle->loadBitmaps("ACTU", "ACTD", QString(), "ACTX");
    m_viewToggle->setToolTip(tipText("Account-List / Message-List view toggle button."));
    m_viewToggle->setAccessibleName(QStringLiteral("Account list / message list"));
    top->addWidget(m_viewToggle);
    top->addWidget(buildHeaderLine(), 1);
    root->addLayout(top);

    m_messageView = buildListView(m_messageModel);
    m_messageView->setObjectName(QStringLiteral("messageView"));
    m_messageView->horizontalHeader()->setAccessibleName(QStringLiteral("Message list columns"));
    m_accountView = buildListView(m_accountModel);
    m_accountView->setObjectName(QStringLiteral("accountView"));
    m_accountView->horizontalHeader()->setAccessibleName(QStringLiteral("Account list columns"));
    root->addWidget(m_messageView);
    m_firstRunNote = addFirstRunNote(*m_messageView);
    root->addWidget(m_accountView);
    m_accountView->hide();
    m_accountView->setEnabled(false);

    auto* middle = new QHBoxLayout;
    middle->addWidget(buildPageArea());
    middle->addStretch(1);
    middle->addWidget(buildCommandColumn(), 0, Qt::AlignTop);
    root->addLayout(middle);
    root->addWidget(buildStatusLine());

    m_checker->load();
    m_messageModel->setIconStyle(m_checker->settings().defaultTag);
    m_messageModel->reload();
    m_accountModel->reload();
    connectViews();
    buildPageKeys();
    showMessageRows();
    showCommandState();
    installPages();
    // The pages keep their order and spacing; the area grows when their fonts need more room.
    fitPageArea(*m_pages, kPageAreaSize);

    root->activate();
    const int listClient = m_messageView->width() - 2 * m_messageView->frameWidth();
    std::array<double, kMessageColumnCount> messageFractions{};
    std::transform(kMessageColumns.begin(), kMessageColumns.end(), messageFractions.begin(),
                   [](const MessageColumnInfo& c) { return c.widthFraction; });
    setColumnWidths(m_messageView, messageFractions.data(), kMessageColumnCount, listClient);
    std::array<double, kAccountColumnCount> accountFractions{};
    std::transform(kAccountColumns.begin(), kAccountColumns.end(), accountFractions.begin(),
                   [](const AccountColumnInfo& c) { return c.widthFraction; });
    setColumnWidths(m_accountView, accountFractions.data(), kAccountColumnCount, listClient);
    recordSizeLimits(listClient);

    const ProgressPhase initial = InitialProgressPhase();
    m_progress->Init(
        QString::fromStdString(initial.name),
        {controls::fromColorRef(initial.colours.bar), controls::fromColorRef(initial.colours.track),
         controls::fromColorRef(initial.colours.text), controls::fromColorRef(initial.colours.back),
         Qt::black, false});
    m_progress->SetText(QString());
    m_showAll->setEnabled(false);
    showToggles();
    m_countdown->setOff();
    installTray();
}

MainWindow::~MainWindow() {
    // The tray's check hangs on the checker; the checker's last calls (a
    // save) may still reach the port.
    delete m_tray;
    m_tray = nullptr;
    m_checker.reset();
}

void MainWindow::buildLook() {
    QPalette look = palette();
    look.setColor(QPalette::Window, controls::fromColorRef(kDialogBack));
    look.setColor(QPalette::WindowText, controls::fromColorRef(kDialogText));
    look.setColor(QPalette::Button, controls::fromColorRef(kDialogBack));
    setPalette(look);
    setAutoFillBackground(true);
}

QWidget* MainWindow::buildHeaderLine() {
    m_header = new QFrame(this);
    m_header->setObjectName(QStringLiteral("headerLine"));
    static_cast<QFrame*>(m_header)->setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(m_header);
    row->setContentsMargins(6, 2, 6, 2);
    row->setSpacing(4);
    for (std::size_t i = 0; i < kHeaderFields.size(); ++i) {
        const HeaderField& field = kHeaderFields[i];
        if (field.iconId != 0) {
            auto* icon = new controls::CBitmapLamp(field.iconId, m_header);
            icon->setToolTip(tipText(field.tooltip));
            icon->setAccessibleName(QLatin1String(field.iconSpoken));
            row->addSpacing(8);
            row->addWidget(icon);
        }
        m_headerTexts[i] = staticText(field.name, field.tooltip, m_header);
        row->addWidget(m_headerTexts[i], i == 0 ? 2 : 1);
    }
    QFont bold = m_headerTexts[0]->font();
    bold.setBold(true);
    m_headerTexts[0]->setFont(bold);
    m_header->hide();
    return m_header;
}

QTableView* MainWindow::buildListView(QAbstractItemModel* model) {
    auto* view = new QTableView(this);
    auto* header = new controls::CListHeader(view);
    view->setHorizontalHeader(header);
    view->setModel(model);
    for (int i = 0; i < model->columnCount(); ++i) header->setOwnerDrawn(i);
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(kListRowHeight);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list for the next control instead of walking its cells.
    view->setTabKeyNavigation(false);
    view->setShowGrid(true);
    view->setGridStyle(Qt::SolidLine);
    view->setWordWrap(false);
    view->setIconSize(QSize(20, 16));
    view->setFont(controls::cellHeightFont(QStringLiteral("Verdana"), 14));
    view->setFixedHeight(kListHeight);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return view;
}

QWidget* MainWindow::buildPageArea() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_pages = new QStackedWidget(column);
    m_pages->setFrameShape(QFrame::StyledPanel);
    m_pages->setFixedSize(kPageAreaSize);
    for (int i = 0; i < kPageCount; ++i) m_pages->addWidget(new QWidget(m_pages));
    layout->addWidget(m_pages);

    auto* tabs = new QHBoxLayout;
    tabs->setSpacing(0);
    tabs->setContentsMargins(0, 0, 0, 0);
    for (const TabInfo& info : kTabs) {
        auto* tab = new controls::CTabButton(info.id, QString::fromLatin1(info.caption), column);
        tab->setObjectName(QLatin1String(info.name));
        tab->setToolTip(tipText(info.tooltip));
        tab->setMnemonic(QLatin1Char(info.mnemonic));
        connect(tab, &controls::CTabButton::command, this, &MainWindow::showTab);
        m_tabs[static_cast<std::size_t>(info.id - command::kTabPreview)] = tab;
        tabs->addWidget(tab);
    }
    tabs->addStretch(1);
    layout->addLayout(tabs);
    return column;
}

void MainWindow::buildPageKeys() {
    auto bind = [this](const QList<QKeySequence>& keys, int step) {
        auto* shortcut = new QShortcut(this);
        shortcut->setKeys(keys);
        connect(shortcut, &QShortcut::activated, this, [this, step] { showAdjacentTab(step); });
    };
    bind({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, 1);
    // Shift+Tab arrives as Backtab.
    bind({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)}, -1);
}

void MainWindow::showAdjacentTab(int step) {
    const auto shown = std::ranges::find(kTabs, m_selectedTab, &TabInfo::id);
    const auto index = shown == kTabs.end() ? 0 : shown - kTabs.begin();
    showTab(kTabs[static_cast<std::size_t>((index + step + kPageCount) % kPageCount)].id);
}

QWidget* MainWindow::buildCommandColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    auto addButton = [&](CommandButton which, void (MailChecker::*run)()) {
        const ButtonInfo& info = buttonInfo(which);
        auto* button = new controls::CFaceButton(QString::fromLatin1(info.text), column);
        button->setObjectName(QLatin1String(info.name));
        button->setToolTip(tipText(info.tooltip));
        m_buttons.insert(static_cast<int>(which), button);
        layout->addWidget(button);
        if (run != nullptr)
            connect(button, &QAbstractButton::clicked, this, [this, run] { ((*m_checker).*run)(); });
        return button;
    };
    m_showAll = toggle("showAllToggle", "Show All", "List messages from all scanned accounts.", column);
    connect(m_showAll, &QAbstractButton::clicked, this, [this] { m_checker->toggleShowAll(); });
    layout->addWidget(m_showAll);
    addButton(CommandButton::Analyze, &MailChecker::analyzeSelected);
    addButton(CommandButton::Dump, &MailChecker::dumpSelected);
    m_rescan = toggle("rescanToggle", "Rescan",
                      "Force re-scan, even if there is\r\nno new messages on server.", column);
    connect(m_rescan, &QAbstractButton::clicked, this, [this] { m_checker->toggleRescan(); });
    layout->addWidget(m_rescan);
    m_scanAll = toggle("scanAllToggle", "Scan All",
                       "Scan all email accounts at once,\r\nnot just the current one.", column);
    connect(m_scanAll, &QAbstractButton::clicked, this, [this] { m_checker->toggleScanAll(); });
    layout->addWidget(m_scanAll);
    addButton(CommandButton::Scan, &MailChecker::onScanButton);
    connect(addButton(CommandButton::Delete, nullptr), &QAbstractButton::clicked, this,
            &MainWindow::deleteTagged);
    addButton(CommandButton::GetMail, &MailChecker::receiveMail);
    auto* close = addButton(CommandButton::Close, nullptr);
    close->setFont(controls::verdana13());
    connect(close, &QAbstractButton::clicked, this, &MainWindow::closeMainWindow);
    return column;
}

QWidget* MainWindow::buildStatusLine() {
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(line);
    row->setContentsMargins(4, 2, 0, 0);
    row->setSpacing(3);
    for (std::size_t i = 0; i < m_lamps.size(); ++i) {
        m_lamps[i] = new controls::CBitmapLamp(controls::riskLampBitmap(kLampNoData), line);
        m_lamps[i]->setObjectName(QLatin1String(kLamps[i].name));
        m_lamps[i]->setToolTip(tipText(kLamps[i].tooltip));
        m_lamps[i]->setAccessibleName(QLatin1String(kLamps[i].spoken));
        row->addWidget(m_lamps[i]);
    }
    row->addSpacing(6);
    m_countText = staticText("countText", "Total number of messages.", line);
    m_positionText = staticText(
        "positionText", "Current message position, and number\r\nof messages marked for deletion.", line);
    row->addWidget(m_countText, 1);
    row->addWidget(m_positionText, 1);
    m_countdown = new controls::CCountdownLamp(line);
    m_countdown->setObjectName(QStringLiteral("countdownLamp"));
    m_countdown->setToolTip(tipText(
        "Visual indicator of the time elapsed to the\r\nnext scan (only if recurring scan is enabled)."));
    m_countdown->setAccessibleName(QStringLiteral("Time to next check"));
    row->addWidget(m_countdown);
    m_progress = new controls::CTextProgress(line);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setFixedSize(kProgressWidth, kProgressHeight);
    m_progress->setToolTip(tipText("Scan progress indicator."));
    m_progress->setAccessibleName(QStringLiteral("Scan progress"));
    connect(m_progress, &controls::CTextProgress::clicked, this, &MainWindow::showErrorDetails);
    row->addWidget(m_progress);
    auto* grip = new QSizeGrip(line);
    grip->setToolTip(tipText("Drag to resize."));
    row->addWidget(grip, 0, Qt::AlignBottom | Qt::AlignRight);
    return line;
}

QAction* MainWindow::addCommand(QMenu* menu, int id, const char* name, const QString& text,
                                void (MainWindow::*run)()) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, run);
    m_actions.insert(id, action);
    return action;
}

void MainWindow::buildMenus() {
    auto* bar = new QMenuBar(this);
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    addCommand(file, command::kMenuScan, "menuScan", QStringLiteral("&Scan"), &MainWindow::scanFromMenu);
    file->addSeparator();
    addCommand(file, command::kMenuHide, "menuHide", QStringLiteral("&Hide"), &MainWindow::hideWindow);
    addCommand(file, command::kMenuExit, "menuExit", QStringLiteral("E&xit"), &MainWindow::closeMainWindow);
    QMenu* message = bar->addMenu(QStringLiteral("&Message"));
    addCommand(message, command::kMenuTagAll, "menuTagAll", QStringLiteral("&Tag All"), &MainWindow::tagAll);
    addCommand(message, command::kMenuUntagAll, "menuUntagAll", QStringLiteral("&Untag All"),
               &MainWindow::untagAll);
    message->addSeparator();
    addCommand(message, command::kMenuDelete, "menuDelete", QStringLiteral("&Delete"),
               &MainWindow::deleteTagged);
    message->addSeparator();
    addCommand(message, command::kMenuAnalyze, "menuAnalyze", QStringLiteral("&Analyze"),
               &MainWindow::analyzeSelected);
    addCommand(message, command::kMenuDump, "menuDump", QStringLiteral("D&ump"), &MainWindow::dumpSelected);
    message->addSeparator();
    addCommand(message, command::kMenuErrorDetails, "menuErrorDetails", QStringLiteral("&Error Details"),
               &MainWindow::showErrorDetails)
        ->setShortcut(QKeySequence(Qt::Key_F1));
    connect(message, &QMenu::aboutToShow, this, &MainWindow::updateErrorDetailsItem);
    QMenu* tools = bar->addMenu(QStringLiteral("&Tools"));
    addCommand(tools, command::kMenuSetup, "menuSetup", QStringLiteral("&Setup"), &MainWindow::runSetup);
    addCommand(tools, command::kMenuDeletedMail, "menuDeletedMail", QStringLiteral("&Deleted Mail\u2026"),
               &MainWindow::showDeletedMail);
    // Ctrl+Z undoes a delete while it waits before QUIT.
    auto* undo = new QAction(QStringLiteral("Undo Delete"), this);
    undo->setObjectName(QStringLiteral("undoDelete"));
    undo->setShortcut(QKeySequence::Undo);
    undo->setShortcutContext(Qt::WindowShortcut);
    connect(undo, &QAction::triggered, this, &MainWindow::undoDelete);
    addAction(undo);
    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    addCommand(help, command::kMenuContents, "menuContents", QStringLiteral("&Contents"),
               &MainWindow::openManual);
    help->addSeparator();
    addCommand(help, command::kMenuAbout, "menuAbout", QStringLiteral("&About"), &MainWindow::showAbout);

    m_contextMenu = new QMenu(this);
    m_contextMenu->setObjectName(QStringLiteral("contextMenu"));
    addCommand(m_contextMenu, command::kContextBlackList, "contextBlackList",
               QStringLiteral("Add to BlackList"), &MainWindow::listAsFoe);
    addCommand(m_contextMenu, command::kContextWhiteList, "contextWhiteList",
               QStringLiteral("Add to WhiteList"), &MainWindow::listAsFriend);
    addCommand(m_contextMenu, command::kContextRemove, "contextRemove", QStringLiteral("Remove From List"),
               &MainWindow::unlistSender);
    m_contextMenu->addSeparator();
    addCommand(m_contextMenu, command::kContextTagAll, "contextTagAll", QStringLiteral("Tag All for Delete"),
               &MainWindow::tagAll);
    addCommand(m_contextMenu, command::kContextUntagAll, "contextUntagAll", QStringLiteral("Untag All"),
               &MainWindow::untagAll);
    m_menuBar = bar;
}

void MainWindow::setColumnWidths(QTableView* view, const double* fractions, int count, int clientWidth) {
    for (int i = 0; i < count; ++i) view->setColumnWidth(i, static_cast<int>(fractions[i] * clientWidth));
}

void MainWindow::recordSizeLimits(int listClientWidth) {
    auto fullWidth = [](const QTableView* view) {
        int sum = 0;
        for (int i = 0; i < view->model()->columnCount(); ++i) sum += view->columnWidth(i);
        return sum;
    };
    const int widest = std::max(fullWidth(m_messageView), fullWidth(m_accountView));
    const QSize initial = sizeHint();
    resize(initial);
    m_maxWidth = initial.width() + std::max(0, widest - listClientWidth);
    setMinimumSize(initial);
    setMaximumSize(m_maxWidth, initial.height());
}

void MainWindow::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // The decorative strip above the status line.
    QPainter painter(this);
    const int y = m_countText->parentWidget()->geometry().top() - 3;
    painter.setPen(QColor(180, 180, 180));
    painter.drawLine(2, y, width() - 3, y);
    painter.setPen(QColor(240, 240, 240));
    painter.drawLine(2, y + 1, width() - 3, y + 1);
}

void MainWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_startUpPosted) return;
    m_startUpPosted = true;
    QTimer::singleShot(0, this, &MainWindow::startUpRequest);
}

}  // namespace qlt::ui
