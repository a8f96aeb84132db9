#pragma once

#include <optional>
#include <vector>

#include "core/MailChecker.h"
#include "store/AccountPersistence.h"
#include "support/CheckerRig.h"

namespace qlt::test {

// A mail checker on the given profile and keyring, started as the program
// starts; the stored accounts are read back as the profile holds them.
struct SecretsRig {
    SecretsRig(Profile& profile, SecretStore& keyring) : profile(profile), keyring(keyring) {}

    void storeAccounts(const AccountStore& store) {
        Settings settings;
        AccountPersistence(profile, window).SaveAccounts(store, settings);
    }
    MailChecker& start() {
        checker.emplace(DeskServices{ui, clock, profile, window, launcher, mailto, &keyring},
                        DataFiles{{}, {}, folder.file(kDeletionLogFileName)});
        checker->load();
        return *checker;
    }
    std::vector<AccountRecord> stored() const {
        return DecodeAccounts(profile.readBinary(kAccountsValueName).value_or(Bytes{}))
            .value_or(std::vector<AccountRecord>{});
    }

    Profile& profile;
    SecretStore& keyring;
    TempFolder folder{"qlt-secrets"};
    ScriptedUiPort ui;
    FakeClock clock{FakeClock::Ticks::Real};
    StillWindow window;
    RecordingLauncher launcher;
    FixedMailto mailto;
    std::optional<MailChecker> checker;
};

}  // namespace qlt::test
