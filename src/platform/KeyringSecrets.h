#pragma once

#include <QString>

#include "base/SecretStore.h"

namespace qlt {

// The desktop's keyring (the Secret Service: GNOME Keyring, KWallet,
// KeePassXC) through QtKeychain. Its jobs answer asynchronously; each call
// waits for its job in a local event loop that lets no user input through,
// up to `timeoutMs`: a keyring that does not answer by then counts as none.
// Without a session bus or an application object no job is started at all.
class KeyringSecrets final : public SecretStore {
  public:
    static constexpr int kDefaultTimeoutMs = 4000;

    explicit KeyringSecrets(QString service = QStringLiteral(QLT_APP_ID), int timeoutMs = kDefaultTimeoutMs);

    Found read(const std::string& key) override;
    Outcome write(const std::string& key, const std::string& secret) override;
    Outcome remove(const std::string& key) override;

  private:
    QString m_service;
    int m_timeoutMs;
};

}  // namespace qlt
