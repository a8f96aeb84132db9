#include "cli/ScanCommand.h"

#include <iostream>
#include <map>

#include "base/Clock.h"
#include "base/Json.h"
#include "base/MessageList.h"
#include "cli/CliFiles.h"
#include "cli/CliText.h"
#include "cli/CommandHelp.h"
#include "cli/EntryJson.h"
#include "cli/PasswordSource.h"
#include "cli/StderrUiPort.h"
#include "content/MailboxScan.h"
#include "pop3/Pop3Client.h"
#include "risk/KeywordDictionary.h"
#include "risk/SenderList.h"
#include "store/ConnectionSecurity.h"

namespace qlt::cli {
namespace {

constexpr std::uint8_t kAccountNumber = 1;

int usage(const std::string& error) {
    return usageError("scan", error);
}

// Each option and the number it must fit, when it takes one.
struct NumberRule {
    long long ScanOptions::*field;
    long long min;
    long long max;
};

const std::map<std::string, std::string ScanOptions::*> kTextOptions{
    {"--server", &ScanOptions::server},
    {"--user", &ScanOptions::user},
    {"--password", &ScanOptions::password},
    {"--password-file", &ScanOptions::passwordFile},
    {"--account-name", &ScanOptions::accountName},
    {"--dict", &ScanOptions::dictionary},
    {"--userlst", &ScanOptions::userStrings},
    {"--senders", &ScanOptions::senders},
    {"--ca", &ScanOptions::caFile},
};

constexpr const char* kSecurityOption = "--security";

bool setSecurity(ScanOptions& options, const std::string& word, std::string& error) {
    const auto security = ParseSecurity(word);
    if (!security) {
        error = std::string(kSecurityOption) + " needs none, tls or stls, not \"" + word + "\"";
        return false;
    }
    options.security = *security;
    return true;
}

const std::map<std::string, NumberRule> kNumberOptions{
    {"--port", {&ScanOptions::port, 1, 65535}},
    {"--timeout", {&ScanOptions::timeoutSeconds, 0, 65535}},
    {"--scanbuf", {&ScanOptions::scanBuf, 1, 1 << 20}},
};

bool setOption(ScanOptions& options, const std::string& option, const std::string& value,
               std::string& error) {
    if (option == kSecurityOption) return setSecurity(options, value, error);
    if (const auto text = kTextOptions.find(option); text != kTextOptions.end()) {
        options.*(text->second) = value;
        return true;
    }
    const NumberRule& rule = kNumberOptions.at(option);
    const auto number = parseInt32(value);
    if (!number || *number < rule.min || *number > rule.max) {
        error = option + " needs a whole number from " + std::to_string(rule.min) + " to " +
                std::to_string(rule.max) + ", not \"" + value + "\"";
        return false;
    }
    options.*(rule.field) = *number;
    return true;
}

AccountRecord accountFor(const ScanOptions& options, const std::string& password) {
    AccountRecord account;
    account.server = options.server;
    account.port =
        options.port != 0 ? static_cast<std::uint32_t>(options.port) : DefaultPortFor(options.security);
    account.security = options.security;
    account.userName = options.user;
    account.password = password;
    account.accountName = options.accountName;
    account.timeout = static_cast<std::uint16_t>(options.timeoutSeconds);
    account.accountNumber = kAccountNumber;
    // Never scanned: nothing is taken as unchanged.
    account.status = kStatusUpdateNeeded;
    return account;
}

// Why the scan failed. A TOP that failed is tried again on a new connection,
// which clears the client's error text: then the step is named.
std::string failureText(const std::optional<int>& result, const Pop3Client& client) {
    if (!client.m_strError.empty()) return client.m_strError;
    if (!result) return "ERROR: The connection to the server or the login failed";
    return "ERROR: The scan failed: a message's TOP failed " + std::to_string(kTopTries) + " times";
}

std::string resultJson(const std::optional<int>& result, const std::string& error, const Pop3Client& client,
                       const MessageList& list) {
    std::string out = "{\"result\": ";
    out += result ? std::to_string(*result) : "null";
    out += ", \"messages\": " + std::to_string(client.m_nMessages);
    out += ", \"mailboxSize\": " + std::to_string(client.m_nMailboxSize);
    out += ", \"rate\": " + std::to_string(client.m_wRate);
    out += ", \"error\": ";
    appendJsonString(out, error);
    out += ", \"entries\": [";
    for (std::size_t i = 0; i < list.count(); ++i) {
        if (i > 0) out += ", ";
        out += entryJson(list.at(i));
    }
    out += "]}";
    return out;
}

// The password the options give; nothing when there is none (the reason
// goes to error).
std::optional<std::string> passwordFor(const ScanOptions& options, std::string& error) {
    auto password = takePassword({options.password, options.passwordFile}, "scan", error);
    if (password && password->empty()) {
        error =
            std::string("a password is needed: --password-file FILE, --password - or ") + kPasswordVariable;
        return std::nullopt;
    }
    return password;
}

// Prints the JSON, and a failure's reason on standard error; the exit code.
int report(const std::optional<int>& result, const Pop3Client& client, const MessageList& list) {
    const bool failed = !result || *result == kScanFailed;
    const std::string error = failed ? failureText(result, client) : client.m_strError;
    std::cout << resultJson(result, error, client, list) << '\n';
    if (failed) std::cerr << "quillgate-cli scan: " << oneLine(error) << '\n';
    if (!std::cout.flush()) return 1;
    return failed ? 1 : 0;
}

}  // namespace

std::optional<ScanOptions> parseScanOptions(const std::vector<std::string>& args, std::string& error) {
    ScanOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!kTextOptions.contains(arg) && !kNumberOptions.contains(arg) && arg != kSecurityOption) {
            error = "unknown option " + arg;
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            error = arg + " needs a value";
            return std::nullopt;
        }
        if (!setOption(options, arg, args[++i], error)) return std::nullopt;
    }
    for (const char* required : {"--server", "--user"}) {
        if ((options.*(kTextOptions.at(required))).empty()) {
            error = std::string(required) + " is needed";
            return std::nullopt;
        }
    }
    return options;
}

int runScan(const std::vector<std::string>& args) {
    std::string error;
    const auto options = parseScanOptions(args, error);
    if (!options) return usage(error);
    const auto password = passwordFor(*options, error);
    if (!password) return usage(error);

    StderrUiPort ui;
    SystemClock clock;
    Pop3Client client(ui, clock);
    if (!options->caFile.empty()) client.setCaFile(options->caFile);
    MessageList list;
    const AccountRecord account = accountFor(*options, *password);
    std::optional<int> result;
    if (client.Connect(account)) {
        KeywordDictionary dictionary;
        dictionary.loadDictionary(
            ui,
            {options->dictionary.empty() ? shippedDictionary() : options->dictionary, options->userStrings});
        result = ScanMailbox({client, list, dictionary, account, static_cast<std::int32_t>(options->scanBuf),
                              false, ui, clock});
        if (!options->senders.empty()) SenderList(ui, options->senders).applySenderList(list);
    }
    client.Close();
    return report(result, client, list);
}

}  // namespace qlt::cli
