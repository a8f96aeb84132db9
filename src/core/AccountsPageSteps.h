#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/AccountRecord.h"
#include "base/UiPort.h"
#include "core/AccountEntry.h"
#include "core/MailChecker.h"

namespace qlt {

// "Last Scanned: <time>    Status: <status name>".
std::string LastScannedLine(const AccountRecord& account);

// "<n> Message(s) " for 1..9998 messages; empty for none and for counts the
// strip cannot hold.
std::string MessageCountLine(std::int32_t count);

// The fields showing an account (the working copy of the current one).
AccountPageFields LoadPageFields(const AccountRecord& account);

// The page's values into the working copy; the password goes in whether or
// not it is to be remembered.
void SavePageFields(const AccountPageFields& fields, AccountRecord& account);

// The page without accounts: texts, flags and time-out emptied; the port,
// the Scan-All flag and the two strips keep what they showed.
void ClearPageFields(AccountPageFields& fields);

// The account names of the choice list in store order.
std::vector<std::string> AccountChoiceNames(const MailChecker& checker);

// The list position shown: the last account flagged current, 0 when none is.
int FlaggedAccountPosition(const MailChecker& checker);

// The steps of the page's buttons and account choice, carried out through
// the checker's host requests. `position` is a 0-based place in the list.
class AccountsPageSteps {
  public:
    AccountsPageSteps(MailChecker& checker, UiPort& ui) : m_checker(checker), m_ui(ui) {}

    // The account at `position` becomes current, flagged in the store; what
    // the page held unsaved is dropped. The store is not saved.
    bool chooseAccount(int position);

    // False, after telling the user, when the store cannot take another account.
    bool mayAddAccount();

    // A record from the Add Account dialog joins the store as its last
    // account, becomes current and is saved.
    // An OAuth2 account's client goes to the profile with it.
    void addAccount(AccountRecord record, const OAuthClient& oauth = {});

    // Removes the account at `position`; the last account left becomes
    // current. False when there was none to remove.
    bool deleteAccount(int position);

    // Checks and corrects the fields, writes them into the working copy and
    // the store at `position`, saves and confirms. False when refused.
    bool updateAccount(int position, AccountPageFields& fields);

  private:
    void makeCurrent(int n);
    void refillAfterChange();

    MailChecker& m_checker;
    UiPort& m_ui;
};

}  // namespace qlt
