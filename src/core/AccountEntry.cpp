#include "core/AccountEntry.h"

#include "store/BuiltInTexts.h"
#include "store/Formatting.h"

namespace qlt {

namespace {

constexpr char kEnterUserName[] = "Please Enter Account User Name";
constexpr char kEnterPassword[] = "Please Enter Password";
constexpr char kEnterClientId[] = "Please Enter the Client ID";
constexpr char kEnterEndpoints[] = "Please Enter the Authorization and Token URLs";
constexpr char kEnterServer[] = "Please Enter POP3 Server Address";
constexpr char kEnterValidServer[] = "Please Enter VALID POP3 Server Address";

// An OAuth2 account signs in without a password, with the client the user
// registered; a custom provider needs both of its addresses.
const char* missingOAuthEntry(const NewAccountInput& input) {
    if (input.oauth.clientId.empty()) return kEnterClientId;
    if (input.oauthProvider == kOAuthCustom &&
        (input.oauth.authorizationEndpoint.empty() || input.oauth.tokenEndpoint.empty()))
        return kEnterEndpoints;
    return nullptr;
}

bool refuse(UiPort& ui, const std::string& text) {
    ui.messageBox(kProgramName, text, BoxIcon::Warning, BoxButtons::Ok);
    return false;
}

}  // namespace

std::string emailAddressHelp() {
    return std::string("Please Enter Email Address or its Common Part.\n\n") +
           "If you have many aliases comming to the same address\n" +
           "use its common part only. For example: if you have\n" +
           "jane@example.org and sales@example.org, enter only\n" + "@example.org (or example.org alone).\n";
}

bool acceptNewAccount(NewAccountInput& input, UiPort& ui) {
    if (!IsValidAccountName(input.accountName)) return refuse(ui, emailAddressHelp());
    if (input.userName.empty()) return refuse(ui, kEnterUserName);
    if (input.signIn == kSignInOAuth2) {
        if (const char* missing = missingOAuthEntry(input)) return refuse(ui, missing);
        input.password.clear();
    } else if (input.password.empty() && input.rememberPassword) {
        return refuse(ui, kEnterPassword);
    }
    if (input.server.empty()) return refuse(ui, kEnterServer);
    if (!CheckServerName(input.server, ui)) return false;
    const std::string_view keptPassword = input.rememberPassword ? input.password : std::string_view();
    if (const auto tooLong =
            CheckAccountTextLengths({input.server, input.userName, keptPassword, input.accountName})) {
        return refuse(ui, *tooLong);
    }
    input.timeout = static_cast<std::int32_t>(CorrectedTimeout(input.timeout, TimeoutEdit::Add));
    input.port = CorrectedPort(input.port);
    return true;
}

AccountRecord makeNewAccountRecord(const NewAccountInput& input) {
    AccountRecord record = NewAccountRecord();
    record.authRequired = input.authRequired ? 1 : 0;
    record.rememberPassword = input.rememberPassword ? 1 : 0;
    record.timeout = CorrectedTimeout(input.timeout, TimeoutEdit::Add);
    record.port = CorrectedPort(input.port);
    record.accountName = input.accountName;
    record.server = input.server;
    record.userName = input.userName;
    if (input.rememberPassword) record.password = input.password;
    record.security = input.security;
    record.signIn = input.signIn;
    record.oauthProvider = input.oauthProvider;
    return record;
}

bool acceptAccountUpdate(AccountPageFields& fields, UiPort& ui) {
    if (fields.userName.empty()) return refuse(ui, kEnterUserName);
    if (fields.password.empty() && fields.signIn != kSignInOAuth2) return refuse(ui, kEnterPassword);
    if (fields.server.empty()) return refuse(ui, kEnterServer);
    if (!CheckServerName(fields.server, ui)) return refuse(ui, kEnterValidServer);
    if (const auto tooLong = CheckAccountTextLengths({fields.server, fields.userName, fields.password, {}}))
        return refuse(ui, *tooLong);
    fields.timeout = CorrectedTimeout(fields.timeout, TimeoutEdit::Update);
    fields.port = CorrectedPort(fields.port);
    return true;
}

bool acceptEnteredPassword(std::string_view userName, std::string_view password, UiPort& ui) {
    if (userName.empty()) return refuse(ui, kEnterUserName);
    if (password.empty()) return refuse(ui, kEnterPassword);
    if (const auto tooLong = CheckAccountTextLengths({{}, userName, password, {}}))
        return refuse(ui, *tooLong);
    return true;
}

void applyEnteredPassword(std::string_view userName, std::string_view password, AccountRecord& current) {
    current.userName = userName;
    current.password = password;
}

}  // namespace qlt
