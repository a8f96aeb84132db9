#pragma once

#include <optional>
#include <string>

namespace qlt {

enum class BoxIcon { None, Information, Warning, Error, Question };
enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class BoxAnswer { Ok, Cancel, Yes, No };

// The buttons whose face, text or state the commands change.
enum class CommandButton { Scan, Delete, Analyze, Dump, GetMail, Close };
enum class ButtonFace { Normal, Pressed };

// The parts of the window that show the engine's state; a notice asks the
// front end to read that part again from the engine.
enum class ViewPart {
    MessageView,   // rows, cells and tags
    AccountView,   // the account list (fillAccountView)
    CommandState,  // the four message buttons and Show All
    Toggles,       // the checked look of Show All, Rescan and Scan All
    RiskLamps,
    HeaderLine,
    StatusTexts,  // message counts and position
    Pages,        // the three message pages show currentMessage
};

// The name and password typed into the Enter Password dialog.
struct Credentials {
    std::string userName;
    std::string password;
};

// A file chooser. The filter is "Name (pattern)|pattern|...||", pairs of a
// description and its patterns.
struct FileRequest {
    enum class Mode { Save, Open } mode = Mode::Open;
    std::string title;
    std::string suggestedName;
    std::string defaultExtension;
    std::string filter;
    bool confirmOverwrite = false;  // Save: ask before replacing a file
    bool mustExist = false;         // Open: file and folder must exist
};

// What the engine asks of its front end. The desktop window implements it;
// the command line and the tests have their own. Every call is made on the
// engine's one thread and returns when it is done.
//
// The calls below the pumps have do-nothing defaults, so a front end without
// a window (the command line) need not answer them.
class UiPort {
  public:
    virtual ~UiPort() = default;

    // A modal message box; returns the button the user chose.
    virtual BoxAnswer messageBox(const std::string& title, const std::string& text, BoxIcon icon,
                                 BoxButtons buttons) = 0;

    // A progress event: a code of the progress table and its value.
    virtual void progress(int code, long value) = 0;

    // Lets the window repaint while a socket call waits; nothing else runs.
    virtual void pumpPaint() = 0;

    // Runs every pending event (clicks, menus, timers); where STOP gets through.
    virtual void pumpMessages() = 0;

    // Sets the progress bar's caption directly (the "Connecting" before a scan).
    virtual void progressCaption(const std::string& /*caption*/) {}

    virtual void setWaitCursor(bool /*on*/) {}
    virtual void setButtonFace(CommandButton, ButtonFace) {}
    virtual void setButtonText(CommandButton, const std::string& /*text*/) {}
    virtual void setButtonEnabled(CommandButton, bool /*enabled*/) {}

    // The engine changed what `part` shows.
    virtual void refresh(ViewPart) {}
    // After a scan the message list is shown, not the account list.
    virtual void showMessageView() {}

    virtual void setTrayTip(const std::string& /*tip*/) {}
    virtual void setTrayIcon(int /*iconId*/) {}

    // The Enter Password dialog filled with the account's user name; nothing
    // when the user cancels.
    virtual std::optional<Credentials> askPassword(const std::string& /*userName*/) { return std::nullopt; }

    // A file chooser; the chosen path, nothing when the user cancels.
    virtual std::optional<std::string> chooseFile(const FileRequest&) { return std::nullopt; }

    // The server of account `accountName` showed a certificate that failed
    // verification for `reason` (one or two sentences); true when the user
    // trusts exactly the certificate with this SHA-256 fingerprint
    // ("AB:CD:...") for this account from now on. A front end that cannot
    // ask refuses.
    virtual bool askTrustCertificate(const std::string& /*accountName*/, const std::string& /*reason*/,
                                     const std::string& /*fingerprint*/) {
        return false;
    }
};

}  // namespace qlt
