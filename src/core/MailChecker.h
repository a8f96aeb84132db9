#pragma once

// Defined in MailChecker.cpp and its slices MailChecker{Scan,Delete,Receive,AccountView}.cpp.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Clock.h"
#include "base/MailtoHandler.h"
#include "base/MessageList.h"
#include "base/ProgramLauncher.h"
#include "base/ProgressCodes.h"
#include "base/SecretStore.h"
#include "base/UiPort.h"
#include "core/AccountSecrets.h"
#include "core/CommandState.h"
#include "core/ConnectionTrust.h"
#include "core/DeletionLog.h"
#include "core/MessageView.h"
#include "core/ViewStatus.h"
#include "pop3/Pop3Client.h"
#include "pop3/ServerDelete.h"
#include "risk/KeywordDictionary.h"
#include "store/AccountPersistence.h"
#include "store/AccountStore.h"
#include "store/Profile.h"
#include "store/Settings.h"
#include "store/WindowGeometry.h"

namespace qlt {

// What the desktop lends the mail checker for its whole life.
struct DeskServices {
    UiPort& ui;
    Clock& clock;
    Profile& profile;
    WindowGeometry& window;
    ProgramLauncher& launcher;
    MailtoHandler& mailto;
    // Null: remembered passwords stay in the stored records.
    SecretStore* secrets = nullptr;
};

// The data files, by bare name in the current (data) folder unless told.
struct DataFiles {
    KeywordDictionary::Sources dictionary = KeywordDictionary::defaultSources();
    std::string senderList = "";  // empty: the sender list file of the current folder
    std::string deletionLog = kDeletionLogFileName;
};

// How the delete's wait for undo ends: UNDO (RSET, then QUIT), QUIT now and
// the delete goes on, QUIT now for a program that is ending (no rescan, no
// boxes), or the server ended the session (nothing was deleted).
enum class UndoEnd { Undo, Commit, Exit, Lost };

// Where a scan was asked for; only the menu restarts the background timer.
enum class ScanStart { Menu, Tray, Startup, Background };

// The mail-check core behind the main window: it owns the accounts, the POP3
// client, the message list and its view, the keyword table and the settings,
// and runs the commands (scan, delete, analyse, dump, receive). It reaches
// the window only through UiPort and the desktop only through the services
// it is given, so everything here runs headless.
//
// Every method runs on the one thread. A scan calls UiPort::pumpMessages from
// inside its TOP reads; the window may then call onScanButton (STOP) and the
// other commands re-entrantly: those that would share the POP3 client refuse.
class MailChecker {
  public:
    explicit MailChecker(const DeskServices& desk, DataFiles files = {});
    MailChecker(const MailChecker&) = delete;
    MailChecker& operator=(const MailChecker&) = delete;

    // Loads the settings, the window position and the account store; with a
    // keyring, fills remembered passwords from it and moves stored ones there.
    void load();

    // --- Host requests of the pages ---------------------------------------
    int GetAccountCount() const { return m_accounts.GetAccountCount(); }
    std::optional<AccountRecord> GetAccount(int n) const { return m_accounts.GetAccount(n); }
    void AppendAccount(const AccountRecord& record) { m_accounts.AppendAccount(record); }
    bool ReplaceAccount(int n, const AccountRecord& record) { return m_accounts.ReplaceAccount(n, record); }
    // Removes the account at list position i; the accounts behind it and
    // their listed messages move up one number, its own messages go.
    bool RemoveAccount(int i);
    void ClearAccountSelection() { m_accounts.ClearAccountSelection(); }
    void RefillMessageList() { fillMessageView(); }
    void RefillAccountList() { m_ui.refresh(ViewPart::AccountView); }
    void UpdateCommandState();
    bool SaveAccounts();
    void ClearProgressText() { m_ui.progress(kProgressClear, 0); }
    // The background timer lives in the window; it fills these two hooks.
    void StartCheckTimer();
    void StopCheckTimer(bool reset);
    std::function<void()> startCheckTimerHook;
    std::function<void(bool reset)> stopCheckTimerHook;

    // --- The message view --------------------------------------------------
    void fillMessageView();
    void updateSelection();
    // A click in the list selects `row` (nothing: no row).
    void selectRow(std::optional<std::size_t> row);
    // A click on a row's envelope; false for a row that does not exist.
    bool toggleRowState(std::size_t row);
    void tagAll();
    void untagAll();
    // The context menu's list items for the selected row's sender: kind
    // kSenderFriend or kSenderFoe, or off every list.
    void listSelectedSender(std::uint8_t kind);
    void unlistSelectedSender();

    // --- The account view -------------------------------------------------
    // A click on row `row` (0-based) of the account list makes that account
    // current. False for a row that does not exist or while a scan runs.
    bool chooseAccount(int row);
    // A click on a row's state icon moves the account in or out of Scan All;
    // the current account always stays in. False when nothing changed.
    bool toggleAccountInclude(int row);

    // What the window runs once it is on screen: the start-up scan and the
    // background timer as the settings ask, then the tray tip and buttons.
    void startUpRequest();

    // --- Scan ----------------------------------------------------------------
    // SCAN starts a scan; while one runs the same button (reading STOP) asks
    // it to stop.
    void onScanButton();
    // Menu, tray, start-up and background starts; false when a scan runs.
    bool startScan(ScanStart from);
    // Where accounts that sign in with OAuth2 get their tokens (the window
    // and the command line give one; without it they cannot log in).
    void useOAuth(OAuthLogin* oauth);
    void runScan();
    void toggleRescan();
    void toggleScanAll();
    void toggleShowAll();
    // A click on the progress bar.
    void showErrorDetails();

    // --- Delete --------------------------------------------------------------
    // With an undo time set, the delete waits after its DELEs and before QUIT
    // for that many seconds, pumping messages: SCAN then reads UNDO and
    // undoes (onScanButton), and any other command, the window's close or
    // the program's end ends the wait with QUIT at once (endUndoWait).
    void deleteTagged();
    bool awaitingUndo() const { return m_awaitingUndo; }
    // Ends a running undo wait as `how` says (Lost is the server's alone);
    // false when no delete waits. The first request holds, except that the
    // program's end turns a pending QUIT into one without rescan.
    bool endUndoWait(UndoEnd how);
    bool confirmDelete(std::size_t n);
    void showNothingToDelete();

    // --- Analyse, dump, receive ---------------------------------------------
    void analyzeSelected();
    void dumpSelected();
    void receiveMail();
    std::string findEmailProgram();
    std::string browseForEmailProgram();
    void clearAfterReceive();

    // True, after telling the user, while a scan holds the connection and
    // the current account; commands and account edits wait for its end.
    // True as well during a delete's undo wait, which it ends with QUIT.
    bool refuseWhileScanning();

    // --- State for the window -----------------------------------------------
    AccountStore& accounts() { return m_accounts; }
    // The per-user profile, for settings kept beside the store (OAuthClient).
    Profile& profile() { return m_persistence.profile(); }
    const AccountStore& accounts() const { return m_accounts; }
    // The tray's tip: the mail counts, or which account waits for a sign-in.
    std::string trayTip() const;
    Settings& settings() { return m_settings; }
    const Settings& settings() const { return m_settings; }
    MessageList& messages() { return m_list; }
    const MessageList& messages() const { return m_list; }
    MessageView& view() { return m_view; }
    const MessageView& view() const { return m_view; }
    Pop3Client& client() { return m_client; }
    const Pop3Client& client() const { return m_client; }

    // A scan was started by a button, menu, the tray or the timer and not
    // stopped yet.
    bool scanBusy() const { return m_scanBusy; }
    // runScan is on the stack, stopped or not.
    bool scanRunning() const { return m_scanRunning; }
    bool newMailFound() const { return m_newMailFound; }
    bool scanAll() const { return m_scanAll; }
    bool forceRescan() const { return m_forceRescan; }
    bool showAll() const { return m_showAll; }

    // What UpdateCommandState computed last.
    const CommandState& commandState() const { return m_commandState; }
    const RiskLamps& riskLamps() const { return m_lamps; }
    int overallRisk() const { return m_lamps.overallRisk; }
    const std::optional<HeaderLine>& headerLine() const { return m_headerLine; }
    const std::string& countText() const { return m_countText; }
    const std::string& positionText() const { return m_positionText; }

    std::size_t currentRow() const { return m_view.currentRow(); }
    std::int64_t currentEntry() const { return m_view.currentEntry(); }
    const MessageEntry& currentMessage() const { return m_view.currentMessage(); }

  private:
    class WaitCursor {
      public:
        explicit WaitCursor(UiPort& ui) : m_ui(ui) { m_ui.setWaitCursor(true); }
        ~WaitCursor() { m_ui.setWaitCursor(false); }
        WaitCursor(const WaitCursor&) = delete;
        WaitCursor& operator=(const WaitCursor&) = delete;

      private:
        UiPort& m_ui;
    };

    // Scan steps.
    void runBusyScan();
    void scanAccount(int n);
    bool accountTaken(const AccountRecord& account) const;
    void askPasswordIfMissing();
    bool fillCurrentFromKeyring();
    void restoreCurrentAccount(int number, const AccountRecord& copy);
    void finishScanView();
    void refreshStatusTexts();

    // Delete steps.
    struct TaggedRow {
        std::size_t entryIndex;
        bool byHand;
    };
    // The current account's tagged rows, from the bottom.
    std::vector<TaggedRow> taggedRows() const;
    std::vector<DeleteFate> deleteOnServer(const std::vector<TaggedRow>& tagged);
    UndoEnd awaitUndo(std::size_t deleted);
    void showUndoCountdown(std::size_t deleted, std::uint64_t secondsLeft);
    void reportNothingDeleted(UndoEnd how);
    void rescanAfterDelete();
    void logDeletions(const std::vector<TaggedRow>& tagged, const std::vector<DeleteFate>& fates);
    void removeDeleted(const std::vector<TaggedRow>& tagged, const std::vector<DeleteFate>& fates);
    void markUpdateNeeded();
    void reportMailboxChanged(std::size_t skipped);
    void reportDelete(std::size_t deleted, std::size_t skipped, std::int32_t before);
    void reportUnconfirmedDelete();

    // Shared by the commands.
    AccountRecord loginRecord(int n, const AccountRecord& record) const;
    // Logs in to account n (its stored or current record); keeps and saves
    // what the user agreed to on the way.
    bool connectAccount(int n, const AccountRecord& record);
    void keepTrust(int n, const AccountRecord& login);
    bool connectForEntry(const MessageEntry& entry);
    std::optional<std::size_t> selectedEntryIndex() const;
    void reportRetrievalFailure();
    std::string senderListFile() const;

    UiPort& m_ui;
    Clock& m_clock;
    ProgramLauncher& m_launcher;
    MailtoHandler& m_mailto;
    DataFiles m_files;
    AccountPersistence m_persistence;
    AccountSecrets m_secrets;

    AccountStore m_accounts;
    Settings m_settings;
    Pop3Client m_client;
    ConnectionTrust m_trust;
    OAuthLogin* m_oauth = nullptr;
    MessageList m_list;
    KeywordDictionary m_dictionary;
    MessageView m_view;

    bool m_scanBusy = false;
    bool m_scanRunning = false;
    bool m_newMailFound = false;
    bool m_scanAll = false;
    bool m_forceRescan = false;
    bool m_showAll = false;
    bool m_awaitingUndo = false;
    std::optional<UndoEnd> m_undoRequest;

    // What the Enter Password dialog gave for account m_typedFor; kept in
    // memory only, until the next scan.
    std::optional<Credentials> m_typed;
    int m_typedFor = 0;

    CommandState m_commandState;
    RiskLamps m_lamps;
    std::optional<HeaderLine> m_headerLine;
    std::string m_countText;
    std::string m_positionText;
};

// The line of the receive warning for an entry with a red virus, spam,
// X-rated or foul-language level, numbered by riskWarningCounter; empty (and
// the counter unchanged) for any other entry.
std::string riskLine(const MessageEntry& entry);

}  // namespace qlt
