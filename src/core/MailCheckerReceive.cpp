// Analyse, dump and receive: the commands that act on the scanned mail
// without deleting it.
#include <unistd.h>

#include <array>

#include "base/ProcessState.h"
#include "content/FullRetrieval.h"
#include "core/MailChecker.h"
#include "core/MailtoCommand.h"
#include "store/BuiltInTexts.h"
#include "store/Formatting.h"

namespace qlt {

namespace {

constexpr std::size_t kRiskSubjectWidth = 24;

constexpr const char* kCouldNotConnect = "Could Not Connect to the Server.";

// The working folder, so that a file chooser that moves it cannot move the
// data files away from under the program.
std::string currentFolder() {
    std::array<char, 4096> buffer{};
    return getcwd(buffer.data(), buffer.size()) != nullptr ? std::string(buffer.data()) : std::string();
}

void restoreFolder(const std::string& folder) {
    if (folder.empty()) return;
    // A folder that vanished meanwhile leaves the program where it is; there
    // is nothing better to go to.
    [[maybe_unused]] const int result = chdir(folder.c_str());
}

std::string riskSubject(const MessageEntry& entry) {
    std::string subject = entry.subject.str();
    if (subject.size() > kRiskSubjectWidth) return subject.substr(0, kRiskSubjectWidth) + "...";
    return subject + std::string(2 * (kRiskSubjectWidth - subject.size()), ' ');
}

}  // namespace

std::string riskLine(const MessageEntry& entry) {
    static constexpr std::array<const char*, 4> kTags = {"[V]", "[S]", "[X]", "[L]"};
    std::string tags;
    for (std::size_t category = 0; category < kTags.size(); ++category) {
        if (entry.level[category] == kLevelRed) tags += kTags[category];
    }
    if (tags.empty()) return {};
    ++riskWarningCounter;
    return std::to_string(riskWarningCounter) + " (" + std::to_string(entry.messageNumber) + ") \t" +
           riskSubject(entry) + "\t\t" + tags + "\n";
}

void MailChecker::analyzeSelected() {
    if (refuseWhileScanning()) return;
    const auto selected = selectedEntryIndex();
    if (!selected) {
        m_ui.messageBox("QLT No Message Selected", "Select Message First", BoxIcon::Warning, BoxButtons::Ok);
        return;
    }
    const std::size_t index = *selected;
    bool analysed = false;
    {
        WaitCursor wait(m_ui);
        m_ui.setButtonFace(CommandButton::Analyze, ButtonFace::Pressed);
        if (!connectForEntry(m_list.at(index))) {
            m_ui.messageBox("QLT Server Access Problem", kCouldNotConnect, BoxIcon::Warning, BoxButtons::Ok);
            m_ui.setButtonFace(CommandButton::Analyze, ButtonFace::Normal);
            return;
        }
        m_dictionary.loadDictionary(m_ui, m_files.dictionary);
        analysed = FetchAndAnalyze(m_client, m_list, index, m_dictionary, m_ui);
        m_dictionary.clearDictionary();
        m_client.Close();
        m_ui.setButtonFace(CommandButton::Analyze, ButtonFace::Normal);
    }
    UpdateCommandState();
    // A download that failed analysed nothing; saying otherwise would pass
    // the first lines' levels off as the whole message's.
    if (!analysed) {
        reportRetrievalFailure();
        return;
    }
    m_ui.messageBox("QLT Analyze Complete", "Message Analyzed - Details Updated.", BoxIcon::Information,
                    BoxButtons::Ok);
}

void MailChecker::dumpSelected() {
    if (refuseWhileScanning()) return;
    const auto index = selectedEntryIndex();
    if (m_view.currentRow() == kNoCurrentRow || !index) {
        m_ui.messageBox("QLT No Messages Selected", "Select Message First.", BoxIcon::Warning,
                        BoxButtons::Ok);
        return;
    }
    const std::string folder = currentFolder();
    WaitCursor wait(m_ui);
    m_ui.setButtonFace(CommandButton::Dump, ButtonFace::Pressed);
    const MessageEntry& entry = m_list.at(*index);
    FileRequest request;
    request.mode = FileRequest::Mode::Save;
    request.title = "Dump Message To File";
    request.suggestedName = entry.subject.str();
    SanitizeFileName(request.suggestedName);
    request.defaultExtension = "tmp";
    request.filter = "Temporary Files (*.tmp)|*.tmp|All Files (*.*)|*.*||";
    request.confirmOverwrite = true;
    if (const auto path = m_ui.chooseFile(request)) {
        if (connectForEntry(entry)) {
            m_ui.progress(kProgressReceivingData, 0);
            const bool saved = FetchToFile(m_client, entry.messageNumber, *path);
            m_client.Close();
            if (saved) {
                m_ui.progress(kProgressClear, 0);
            } else {
                reportRetrievalFailure();
            }
            UpdateCommandState();
        } else {
            m_ui.messageBox(kProgramName, kCouldNotConnect, BoxIcon::None, BoxButtons::Ok);
        }
        restoreFolder(folder);
    }
    m_ui.setButtonFace(CommandButton::Dump, ButtonFace::Normal);
}

void MailChecker::receiveMail() {
    if (refuseWhileScanning()) return;
    std::string text =
        "Are you sure you want to receive your mail now ?\n"
        "The following message appear to bear some risk\n\n";
    bool risky = false;
    for (std::size_t i = 0; i < m_list.count(); ++i) {
        const std::string line = riskLine(m_list.at(i));
        risky = risky || !line.empty();
        text += line;
    }
    if (risky && m_settings.noReceiveWarning == 0 &&
        m_ui.messageBox("QLT Potential Risk Warning", text, BoxIcon::Warning, BoxButtons::YesNo) !=
            BoxAnswer::Yes)
        return;
    m_ui.setButtonFace(CommandButton::GetMail, ButtonFace::Pressed);
    const std::string program = findEmailProgram();
    if (!m_launcher.start(program)) {
        const std::string browsed = browseForEmailProgram();
        if (!browsed.empty()) m_launcher.start(browsed);
    }
    clearAfterReceive();
    m_ui.setButtonFace(CommandButton::GetMail, ButtonFace::Normal);
}

std::string MailChecker::findEmailProgram() {
    if (!m_settings.emailApp.empty()) return m_settings.emailApp;
    const std::string command = m_mailto.command();
    // A handler line that names no program is as good as none.
    const std::string program = command.empty() ? std::string() : cleanMailtoCommand(command);
    return program.empty() ? browseForEmailProgram() : program;
}

std::string MailChecker::browseForEmailProgram() {
    if (m_ui.messageBox(kProgramName,
                        "Default Email Client Entry Not Found.\n"
                        "Do you want to browse to select your Email Program now ?",
                        BoxIcon::Error, BoxButtons::YesNo) != BoxAnswer::Yes)
        return {};
    FileRequest request;
    request.mode = FileRequest::Mode::Open;
    request.title = "Path to Email Client";
    // Programs here carry no extension to filter by.
    request.filter = "All Files (*)|*||";
    request.mustExist = true;
    if (const auto path = m_ui.chooseFile(request)) {
        m_settings.emailApp = *path;
        return *path;
    }
    if (!m_settings.emailApp.empty()) return m_settings.emailApp;
    m_ui.messageBox(kProgramName, "Nothing Selected.\nPlease Start Your Email Program Manually.",
                    BoxIcon::None, BoxButtons::Ok);
    return {};
}

void MailChecker::clearAfterReceive() {
    m_list.removeAll();
    m_client.m_nMessages = 0;
    m_client.m_nMailboxSize = 0;
    const SystemTime now = m_clock.utcNow();
    for (int n = 1; n <= m_accounts.GetAccountCount(); ++n) {
        AccountRecord account = *m_accounts.GetAccount(n);
        account.status = kStatusCompleted;
        account.messageCount = 0;
        account.mailboxSize = 0;
        account.selectedRow = 1;
        account.lastScanned = now;
        m_accounts.ReplaceAccount(n, account);
    }
    m_view.clear();
    m_ui.refresh(ViewPart::MessageView);
    m_accounts.CopyToCurrent(m_accounts.currentAccountNumber);
    // Disables the message commands until the next scan.
    m_accounts.currentAccount.status = kStatusUpdateNeeded;
    UpdateCommandState();
}

}  // namespace qlt
