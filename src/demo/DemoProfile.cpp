#include "demo/DemoProfile.h"

#include "demo/Pop3Session.h"
#include "store/AccountPersistence.h"
#include "store/AccountRules.h"
#include "store/AccountStore.h"
#include "store/Settings.h"

namespace qlt::demo {

namespace {

AccountRecord demoAccount(unsigned port) {
    AccountRecord account = NewAccountRecord();
    account.server = kDemoServer;
    account.port = port;
    account.userName = Pop3Session::kUser;
    account.password = Pop3Session::kPassword;
    account.rememberPassword = 1;
    account.accountName = kDemoAccountName;
    account.timeout = kDemoTimeoutSeconds;
    return account;
}

}  // namespace

bool writeDemoProfile(Profile& profile, unsigned port) {
    AccountStore store;
    if (!store.AddAccount(demoAccount(port))) return false;
    Settings settings;
    settings.scanOnStartup = 1;
    settings.soundFile = kDefaultSoundFile;
    return SaveSettings(profile, settings, EncodeAccounts(store));
}

}  // namespace qlt::demo
