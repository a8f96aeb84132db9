#pragma once

#include <QDialog>
#include <QHash>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "base/Clock.h"
#include "base/MailtoHandler.h"
#include "base/ProgramLauncher.h"
#include "base/UiPort.h"
#include "core/MailChecker.h"
#include "platform/SystemNetworkState.h"
#include "platform/WavSoundPlayer.h"
#include "store/Profile.h"
#include "store/WindowGeometry.h"

class QAbstractItemModel;
class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QStackedWidget;
class QTableView;

namespace qlt::controls {
class CBitmapLamp;
class CCountdownLamp;
class CFaceButton;
class CFlatCheck;
class CNamedBitmapButton;
class CTabButton;
class CTextProgress;
}  // namespace qlt::controls

namespace qlt::tray {
class TrayController;
}

namespace qlt::ui {

class AccountViewModel;
class FileChooser;
class MessageBoxes;
class MessageViewModel;

// What the desktop lends the window for its whole life.
struct WindowServices {
    Clock& clock;
    Profile& profile;
    ProgramLauncher& launcher;
    MailtoHandler& mailto;
    FileChooser& files;
    MessageBoxes& boxes;
    DataFiles dataFiles = {};
    QString manualFile = {};         // the manual's first page; empty: none shipped
    SecretStore* secrets = nullptr;  // the keyring; null: passwords stay in the records
};

// The command ids of the window's controls and menu items.
namespace command {
inline constexpr int kClose = 1;
inline constexpr int kDelete = 1006;
inline constexpr int kScan = 1009;
inline constexpr int kAnalyze = 1013;
inline constexpr int kDump = 1015;
inline constexpr int kViewToggle = 1071;
inline constexpr int kTabPreview = 1073;
inline constexpr int kTabHeaders = 1074;
inline constexpr int kTabDetails = 1075;
inline constexpr int kTabAccounts = 1076;
inline constexpr int kTabOptions = 1077;
inline constexpr int kGetMail = 1079;
inline constexpr int kMenuExit = 32771;
inline constexpr int kMenuDelete = 32773;
inline constexpr int kMenuAnalyze = 32774;
inline constexpr int kMenuSetup = 32777;
inline constexpr int kMenuContents = 32778;
inline constexpr int kMenuAbout = 32779;
inline constexpr int kMenuScan = 32781;
inline constexpr int kMenuTagAll = 32783;
inline constexpr int kMenuUntagAll = 32784;
inline constexpr int kMenuHide = 32785;
inline constexpr int kMenuDump = 32786;
inline constexpr int kContextBlackList = 32790;
inline constexpr int kContextWhiteList = 32791;
inline constexpr int kContextTagAll = 32792;
inline constexpr int kContextUntagAll = 32793;
inline constexpr int kContextRemove = 32794;
inline constexpr int kMenuErrorDetails = 32795;
inline constexpr int kMenuDeletedMail = 32796;
}  // namespace command

// The pages under the list, in the order of their tabs' ids 1073..1077.
enum class Page { Preview = 0, Headers, Details, Accounts, Options };
inline constexpr int kPageCount = 5;

// The program's one window: the Qt front end over the mail checker. It
// draws what the checker reports, turns clicks and menu items into its
// commands, and answers its UiPort calls (boxes, progress, pumps, buttons,
// choosers). The rules about mail live in the checker, not here.
//
// Its parts carry object names for findChild: the lists "messageView" and
// "accountView", buttons "scanButton", tabs "previewTab", toggles
// "showAllToggle", menu items by their command ("menuExit",
// "contextTagAll"), and so on (MainWindow.cpp).
class MainWindow : public QDialog, public UiPort, public WindowGeometry {
    Q_OBJECT

  public:
    explicit MainWindow(const WindowServices& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    MailChecker& checker() { return *m_checker; }

    // Puts a page into the page area in place of its placeholder; the window
    // calls `refreshPage` whenever what the page shows may have changed.
    void setPage(Page page, QWidget* widget, std::function<void()> refreshPage);

    // The tray shows what the checker reports through these.
    std::function<void(const std::string& tip)> trayTipHook;
    std::function<void(int iconId)> trayIconHook;

    // The start-up request: posted to itself the first time it is shown.
    void startUpRequest();
    void showTab(int tabId);
    int selectedTab() const { return m_selectedTab; }
    void toggleView();
    bool accountViewShown() const { return m_accountViewShown; }
    // CLOSE, Exit, Escape and the close box: saves and ends the window.
    void closeMainWindow();
    // Sets the greying of the context menu for the present selection.
    void prepareContextMenu();

    // The widest the grip lets the window become.
    int maximumWidthByGrip() const { return m_maxWidth; }

    // --- UiPort ----------------------------------------------------------------
    BoxAnswer messageBox(const std::string& title, const std::string& text, BoxIcon icon,
                         BoxButtons buttons) override;
    void progress(int code, long value) override;
    void pumpPaint() override;
    void pumpMessages() override;
    void progressCaption(const std::string& caption) override;
    void setWaitCursor(bool on) override;
    void setButtonFace(CommandButton button, ButtonFace face) override;
    void setButtonText(CommandButton button, const std::string& text) override;
    void setButtonEnabled(CommandButton button, bool enabled) override;
    void refresh(ViewPart part) override;
    void showMessageView() override;
    void setTrayTip(const std::string& tip) override;
    void setTrayIcon(int iconId) override;
    std::optional<Credentials> askPassword(const std::string& userName) override;
    std::optional<std::string> chooseFile(const FileRequest& request) override;
    bool askTrustCertificate(const std::string& accountName, const std::string& reason,
                             const std::string& fingerprint) override;

    // --- WindowGeometry --------------------------------------------------------
    Rect windowRect() const override;
    void moveTopLeft(std::int32_t x, std::int32_t y) override;
    Size screenSize() const override;

  public slots:
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    // Building (MainWindow.cpp).
    void buildLook();
    QWidget* buildHeaderLine();
    QTableView* buildListView(QAbstractItemModel* model);
    QWidget* buildPageArea();
    QWidget* buildCommandColumn();
    QWidget* buildStatusLine();
    void buildMenus();
    QAction* addCommand(QMenu* menu, int id, const char* name, const QString& text,
                        void (MainWindow::*run)());
    void setColumnWidths(QTableView* view, const double* fractions, int count, int clientWidth);
    void recordSizeLimits(int listClientWidth);
    void connectViews();
    void buildPageKeys();
    void showAdjacentTab(int step);
    // The five pages and the tray with the background check (MainWindowParts.cpp).
    void installPages();
    void installTray();

    // Reading the checker's state (MainWindowPort.cpp).
    controls::CFaceButton* commandButton(CommandButton button) const;
    void showCommandState();
    void showToggles();
    void showRiskLamps();
    void showHeaderLine();
    void showStatusTexts();
    void showMessageRows();
    void showAccountRows();
    void refreshPages(std::initializer_list<Page> pages);

    // Commands (MainWindowCommands.cpp).
    void onMessageClicked(const QModelIndex& index);
    void onMessageRowChanged();
    void onAccountClicked(const QModelIndex& index);
    void onMessageContextMenu(const QPoint& at);
    void runSetup();
    void showDeletedMail();
    void undoDelete();
    // Dialogs opened in a delete's undo wait would hold it open: they end
    // the wait instead and do not open.
    bool endsUndoWait();
    void openManual();
    void showAbout();
    void hideWindow();
    void scanFromMenu();
    void listAsFoe();
    void listAsFriend();
    void unlistSender();
    void tagAll();
    void untagAll();
    void deleteTagged();
    void analyzeSelected();
    void dumpSelected();
    void showErrorDetails();
    void updateErrorDetailsItem();

    WindowServices m_services;
    std::unique_ptr<MailChecker> m_checker;
    WavSoundPlayer m_sound;
    SystemNetworkState m_network;
    tray::TrayController* m_tray = nullptr;

    MessageViewModel* m_messageModel = nullptr;
    AccountViewModel* m_accountModel = nullptr;
    QTableView* m_messageView = nullptr;
    QTableView* m_accountView = nullptr;
    QLabel* m_firstRunNote = nullptr;
    controls::CNamedBitmapButton* m_viewToggle = nullptr;
    QWidget* m_header = nullptr;
    std::array<QLabel*, 5> m_headerTexts{};
    QStackedWidget* m_pages = nullptr;
    std::array<std::function<void()>, kPageCount> m_pageRefresh;
    std::array<controls::CTabButton*, kPageCount> m_tabs{};
    controls::CFlatCheck* m_showAll = nullptr;
    controls::CFlatCheck* m_rescan = nullptr;
    controls::CFlatCheck* m_scanAll = nullptr;
    QHash<int, controls::CFaceButton*> m_buttons;
    std::array<controls::CBitmapLamp*, 4> m_lamps{};
    QLabel* m_countText = nullptr;
    QLabel* m_positionText = nullptr;
    controls::CCountdownLamp* m_countdown = nullptr;
    controls::CTextProgress* m_progress = nullptr;
    QHash<int, QAction*> m_actions;
    QMenu* m_contextMenu = nullptr;
    QMenuBar* m_menuBar = nullptr;

    bool m_accountViewShown = false;
    int m_selectedTab = 0;
    int m_maxWidth = 0;
    int m_waitDepth = 0;
    bool m_startUpPosted = false;
    bool m_closing = false;
    // The window was closed during a delete's wait for undo; it closes once
    // the delete is through.
    bool m_closeAfterDelete = false;
    // Set while the window moves the widget's selection to the engine's, so
    // that the move is not taken for a click.
    bool m_syncingSelection = false;
};

}  // namespace qlt::ui
