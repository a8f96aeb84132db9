#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/UiPort.h"
#include "store/AccountRecord.h"
#include "store/AccountRules.h"

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

// The Enter Password dialog's OK: user name, then password, must not be
// empty, and each must fit its field.
bool acceptEnteredPassword(std::string_view userName, std::string_view password, UiPort& ui);

// Puts the entered user name and password into the working copy only; the
// store keeps its empty password, so the question comes again next time.
void applyEnteredPassword(std::string_view userName, std::string_view password, AccountRecord& current);

}  // namespace qlt
