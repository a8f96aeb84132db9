#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/UiPort.h"
#include "support/ScriptedBoxes.h"

namespace qlt::test {

// A front end for tests: records every call, answers message boxes, password
// requests, file choosers and certificate questions from queues (a box's
// first button, a cancelled dialog, a refused certificate when a queue is
// empty), and can act from inside a call as a click
// handled there would.
class ScriptedUiPort : public UiPort, public ScriptedBoxes {
  public:
    void queuePassword(std::optional<Credentials> answer) { m_passwords.push_back(std::move(answer)); }
    void queueFile(std::optional<std::string> answer) { m_files.push_back(std::move(answer)); }
    void queueTrust(bool answer) { m_trustAnswers.push_back(answer); }

    BoxAnswer messageBox(const std::string& title, const std::string& text, BoxIcon icon,
                         BoxButtons buttons) override;
    void progress(int code, long value) override;
    void pumpPaint() override { ++paintPumps; }
    void pumpMessages() override;

    void progressCaption(const std::string& caption) override { captions.push_back(caption); }
    void setWaitCursor(bool on) override;
    void setButtonFace(CommandButton button, ButtonFace face) override;
    void setButtonText(CommandButton button, const std::string& text) override;
    void setButtonEnabled(CommandButton button, bool enabled) override;
    void refresh(ViewPart part) override { refreshes.push_back(part); }
    void showMessageView() override { ++messageViewShown; }
    void setTrayTip(const std::string& tip) override { trayTips.push_back(tip); }
    void setTrayIcon(int iconId) override { trayIcons.push_back(iconId); }
    std::optional<Credentials> askPassword(const std::string& userName) override;
    std::optional<std::string> chooseFile(const FileRequest& request) override;
    bool askTrustCertificate(const std::string& accountName, const std::string& reason,
                             const std::string& fingerprint) override;

    // Run at every call of their kind, after it was recorded.
    std::function<void()> onPumpMessages;
    std::function<void(int code, long value)> onProgress;

    std::vector<std::pair<int, long>> progressEvents;
    std::vector<std::string> captions;
    std::vector<ViewPart> refreshes;
    std::vector<std::string> trayTips;
    std::vector<int> trayIcons;
    std::vector<std::string> passwordRequests;  // the user names shown
    std::vector<FileRequest> fileRequests;
    struct TrustRequest {
        std::string accountName;
        std::string reason;
        std::string fingerprint;
    };
    std::vector<TrustRequest> trustRequests;
    // Button and cursor calls in order, as "Scan face Pressed", "Close enabled 0",
    // "Scan text STOP", "wait 1".
    std::vector<std::string> buttonLog;
    int waitDepth = 0;  // set minus ended wait cursors
    int paintPumps = 0;
    int messagePumps = 0;
    int messageViewShown = 0;

    // Whether a progress event with this code (and value, when given) came.
    bool sawProgress(int code, std::optional<long> value = std::nullopt) const;

  private:
    std::deque<std::optional<Credentials>> m_passwords;
    std::deque<std::optional<std::string>> m_files;
    std::deque<bool> m_trustAnswers;
};

const char* buttonName(CommandButton button);

}  // namespace qlt::test
