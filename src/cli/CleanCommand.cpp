#include "cli/CleanCommand.h"

#include <QCoreApplication>
#include <array>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>

#include "base/Clock.h"
#include "cli/CliFiles.h"
#include "cli/CliText.h"
#include "cli/CommandHelp.h"
#include "cli/HeadlessDesk.h"
#include "cli/PasswordSource.h"
#include "core/MailChecker.h"
#include "core/OAuthLogin.h"
#include "platform/KeyringSecrets.h"
#include "platform/LoopbackOAuthTransport.h"
#include "platform/QSettingsProfile.h"
#include "risk/ReasonWords.h"
#include "risk/SenderList.h"
#include "risk/UserStringFile.h"
#include "store/BuiltInTexts.h"
#include "store/Formatting.h"
#include "store/OverlayProfile.h"
#include "store/ScanStatusWriteBack.h"

namespace qlt::cli {
namespace {

int usage(const std::string& error) {
    return usageError("clean", error);
}

// The keyring's jobs and the sign-in server's answers come through an event
// loop, which needs the application object; it would set the locale from the
// environment, which the command's output does not follow.
class EventLoopApplication {
  public:
    EventLoopApplication() : m_locale(std::setlocale(LC_ALL, nullptr)), m_app(m_argc, m_argv.data()) {
        std::setlocale(LC_ALL, m_locale.c_str());
    }

  private:
    std::string m_locale;
    int m_argc = 1;
    std::array<char*, 2> m_argv{const_cast<char*>("quillgate-cli"), nullptr};
    QCoreApplication m_app;
};

const std::map<std::string, bool CleanOptions::*> kFlagOptions{
    {"--dry-run", &CleanOptions::dryRun},
    {"--heuristics", &CleanOptions::heuristics},
};

const std::map<std::string, std::string CleanOptions::*> kValueOptions{
    {"--account", &CleanOptions::account},
    {"--password", &CleanOptions::password},
    {"--password-file", &CleanOptions::passwordFile},
    {"--ca", &CleanOptions::caFile},
    {"--data", &CleanOptions::dataFolder},
    {"--dict", &CleanOptions::dictionary},
};

// The user's own files of the data folder; the shipped dictionary when the
// folder has none (the program installs it there at its first start).
DataFiles dataFilesFor(const CleanOptions& options) {
    const std::string folder = options.dataFolder.empty() ? defaultDataFolder() : options.dataFolder;
    std::string dictionary = options.dictionary;
    if (dictionary.empty()) {
        dictionary = folder + "/" + dictionaryFileName();
        std::error_code ignored;
        if (!std::filesystem::exists(dictionary, ignored)) dictionary = shippedDictionary();
    }
    return {{dictionary, folder + "/" + kUserStringFileName},
            senderListPath(folder),
            folder + "/" + kDeletionLogFileName};
}

// The account by its number in the list or by its name; the current one
// when none is named.
std::optional<int> findAccount(const MailChecker& checker, const std::string& wanted, std::string& error) {
    const int count = checker.GetAccountCount();
    if (wanted.empty()) {
        const int current = checker.accounts().currentAccountNumber;
        if (current >= 1 && current <= count) return current;
        if (count == 1) return 1;
        error =
            count == 0 ? "the profile holds no account" : "no account is current: choose one with --account";
        return std::nullopt;
    }
    if (const auto number = parseInt32(wanted)) {
        if (*number >= 1 && *number <= count) return static_cast<int>(*number);
        error = "there is no account number " + wanted + " (the profile holds " + std::to_string(count) + ")";
        return std::nullopt;
    }
    std::optional<int> found;
    for (int n = 1; n <= count; ++n) {
        if (checker.GetAccount(n)->accountName.str() != wanted) continue;
        if (found) {
            error = "more than one account is named \"" + wanted + "\": choose by number";
            return std::nullopt;
        }
        found = n;
    }
    if (!found) error = "no account is named \"" + wanted + "\"";
    return found;
}

std::string listingLine(const MessageEntry& entry) {
    return std::to_string(entry.messageNumber) + '\t' + oneLine(entry.from.str()) + '\t' +
           oneLine(entry.subject.str());
}

// Why clean leaves a tagged message on the server; empty when it deletes it.
// Nobody is there to put a mistake right, so only firm evidence counts: a
// foe, or red from a dictionary record or a risky attachment. The built-in
// heuristics also make much ordinary mail red, so they count only when asked.
std::string reasonToKeep(const MessageEntry& entry, bool heuristics) {
    if (entry.senderStatus == kSenderFoe) return {};
    std::string heuristicWords;
    for (std::size_t c = 0; c < entry.level.size(); ++c) {
        if (entry.level[c] < kLevelRed) continue;
        if (heuristics || !isHeuristicReason(entry.levelReason[c])) return {};
        heuristicWords += (heuristicWords.empty() ? "" : "; ") + entry.levelReasonText[c];
    }
    if (heuristicWords.empty()) return "not red";
    return "red only by built-in heuristics: " + heuristicWords;
}

// The entry of a row the automatic tagging rule tagged for account n.
const MessageEntry* taggedEntry(const MailChecker& checker, std::size_t row, int n) {
    const MessageView& view = checker.view();
    if (view.state(row) != RowState::Delete) return nullptr;
    const std::size_t index = view.entryIndex(row);
    if (index >= checker.messages().count()) return nullptr;
    const MessageEntry& entry = checker.messages().at(index);
    return entry.accountIndex == n ? &entry : nullptr;
}

// Lists the tagged rows clean deletes and untags the others, which a dry run
// lists after them with the reason; the count to delete.
std::size_t chooseDeletions(MailChecker& checker, int n, const CleanOptions& options) {
    std::size_t count = 0;
    std::string skipped;
    for (std::size_t row = 0; row < checker.view().rowCount(); ++row) {
        const MessageEntry* entry = taggedEntry(checker, row, n);
        if (entry == nullptr) continue;
        const std::string keep = reasonToKeep(*entry, options.heuristics);
        if (keep.empty()) {
            std::cout << listingLine(*entry) << '\n';
            ++count;
            continue;
        }
        checker.view().toggleState(row);
        skipped += listingLine(*entry) + "\tskipped: " + oneLine(keep) + '\n';
    }
    if (options.dryRun) std::cout << skipped;
    return count;
}

bool scanSucceeded(const AccountRecord& account) {
    return account.status == kStatusCompleted || account.status == kStatusNoMessages;
}

// Scans account n, then deletes (or only lists) what it should; the exit code.
int cleanAccount(MailChecker& checker, const OAuthLogin& oauth, HeadlessUiPort& ui, int n,
                 const CleanOptions& options) {
    checker.accounts().MakeAccountCurrent(n);
    // A mailbox taken as unchanged would list nothing to delete.
    if (!checker.forceRescan()) checker.toggleRescan();
    checker.runScan();
    const AccountRecord scanned = *checker.GetAccount(n);
    if (!scanSucceeded(scanned)) {
        std::cerr << "quillgate-cli clean: the mailbox could not be scanned ("
                  << AccountStatusName(scanned.status) << ")\n"
                  << checker.client().m_strError;
        if (oauth.signInNeeded(scanned))
            std::cerr
                << "Sign in once with Scan in the Quillgate window; the command line opens no browser.\n";
        return 1;
    }
    const auto tagged = static_cast<long long>(chooseDeletions(checker, n, options));
    if (options.dryRun) {
        std::cout << tagged << " message" << PluralS(tagged) << " would be deleted.\n";
        return 0;
    }
    // Nobody is there to press UNDO; the deletion log keeps what went.
    checker.settings().undoTime = 0;
    if (tagged > 0) checker.deleteTagged();
    std::cout << "Deleted " << ui.deleted << " of " << tagged << " message" << PluralS(tagged) << ".\n";
    return ui.deleted == tagged ? 0 : 1;
}

}  // namespace

std::optional<CleanOptions> parseCleanOptions(const std::vector<std::string>& args, std::string& error) {
    CleanOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (const auto flag = kFlagOptions.find(arg); flag != kFlagOptions.end()) {
            options.*(flag->second) = true;
            continue;
        }
        const auto option = kValueOptions.find(arg);
        if (option == kValueOptions.end()) {
            error = "unknown option " + arg;
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            error = arg + " needs a value";
            return std::nullopt;
        }
        options.*(option->second) = args[++i];
    }
    return options;
}

int runClean(const std::vector<std::string>& args) {
    std::string error;
    const auto options = parseCleanOptions(args, error);
    if (!options) return usage(error);
    const auto password = takePassword({options->password, options->passwordFile}, "clean", error);
    if (!password) return usage(error);

    // The window may be open and save meanwhile: the checker's own saves stay
    // in memory, and only the cleaned account's status goes back at the end.
    QSettingsProfile profile;
    OverlayProfile scratch(profile);
    HeadlessUiPort ui(*password);
    SystemClock clock;
    HeadlessWindow window;
    NoLauncher launcher;
    NoMailto mailto;
    const EventLoopApplication application;
    KeyringSecrets keyring;
    KeyringReader reader(keyring);
    MailChecker checker(DeskServices{ui, clock, scratch, window, launcher, mailto, &reader},
                        dataFilesFor(*options));
    checker.load();
    // Refreshed tokens go to the keyring (a provider may hand out a new
    // refresh token and retire the old); the sign-in itself is the window's.
    LoopbackOAuthTransport transport(launcher);
    OAuthTokens tokens(keyring, transport, clock);
    OAuthLogin oauth(tokens, checker.profile());
    checker.useOAuth(&oauth);
    oauth.setInteractive(false);

    const auto n = findAccount(checker, options->account, error);
    if (!n) {
        std::cerr << "quillgate-cli clean: " << error << '\n';
        return 2;
    }
    const AccountRecord account = *checker.GetAccount(*n);
    if (account.signIn != kSignInOAuth2 && account.password.empty() && password->empty()) {
        std::cerr << "quillgate-cli clean: the profile stores no password for this account: give "
                     "--password-file FILE, --password - or "
                  << kPasswordVariable << '\n';
        return 2;
    }
    if (!options->caFile.empty()) checker.client().setCaFile(options->caFile);

    const int code = cleanAccount(checker, oauth, ui, *n, *options);
    if (!WriteBackScanStatus(profile, *checker.GetAccount(*n), *n)) {
        std::cerr << "quillgate-cli clean: the profile could not be saved\n";
        return 1;
    }
    return std::cout.flush() ? code : 1;
}

}  // namespace qlt::cli
