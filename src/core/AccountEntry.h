#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/AccountRecord.h"
#include "base/UiPort.h"
#include "store/AccountRules.h"
#include "store/OAuthClient.h"

namespace qlt {

// What the Add Account dialog holds when OK is pressed.
struct NewAccountInput {
    std::string accountName;  // the "Email Address" text
    std::string server;
    std::string userName;
    std::string password;
    bool rememberPassword = true;
    bool authRequired = false;
    std::uint32_t port = kDefaultPort;
    std::int32_t timeout = 30;
    std::uint8_t security = kSecurityNone;
    std::uint8_t signIn = kSignInPassword;
    std::uint8_t oauthProvider = kOAuthGoogle;
    OAuthClient oauth;  // read only with OAuth2 sign-in
};

// What the Accounts page's controls hold for the account shown. The page has
// no field for the account name: it is set once, by Add.
struct AccountPageFields {
    std::string server;
    std::uint32_t port = 0;
    std::string userName;
    std::string password;
    std::int32_t timeout = 0;
    bool authRequired = false;
    bool rememberPassword = false;
    bool scanAllInclude = false;
    std::uint8_t security = kSecurityNone;
    std::uint8_t signIn = kSignInPassword;  // shown only; Add Account sets it
    std::string lastScannedLine = "Last Scanned";
    std::string messageCountLine = "Messages";

    friend bool operator==(const AccountPageFields&, const AccountPageFields&) = default;
};

// The one message for an e-mail text that is empty or not a valid name.
std::string emailAddressHelp();

// Checks the dialog's texts in their fixed order, each failure shown in an OK
// box (the server check shows its own warning), then corrects the port and
// the time-out in place. A text too long for its record field is refused with
// a message naming the field; a password that will not be kept is not
// measured. False leaves the dialog open.
bool acceptNewAccount(NewAccountInput& input, UiPort& ui);

// The record the accepted input becomes: the defaults of a new account, and
// no password unless it is to be remembered.
AccountRecord makeNewAccountRecord(const NewAccountInput& input);

// The Accounts page's Update: user name, password (asked for even when it is
// not remembered; an OAuth2 account has none), server, server name check ("... VALID ..." after the
// check's own warning) and field lengths, each refusal shown in an OK box;
// then a time-out outside 1..300 becomes 60 and a bad port 110. False leaves
// the store as it was.
bool acceptAccountUpdate(AccountPageFields& fields, UiPort& ui);

// The Enter Password dialog's OK: user name, then password, must not be
// empty, and each must fit its field.
bool acceptEnteredPassword(std::string_view userName, std::string_view password, UiPort& ui);

// Puts the entered user name and password into the working copy only; the
// store keeps its empty password, so the question comes again next time.
void applyEnteredPassword(std::string_view userName, std::string_view password, AccountRecord& current);

}  // namespace qlt
