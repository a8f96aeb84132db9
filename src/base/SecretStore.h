#pragma once

#include <string>

namespace qlt {

// Secrets kept apart from the settings file: passwords and sign-in tokens,
// in the desktop's keyring where one answers. A secret is named by what it
// is for and the account's server, port and user name (see SecretKey), so
// that it follows the account and not its place in the store.
class SecretStore {
  public:
    enum class Outcome {
        Done,
        NotFound,   // the keyring answered and holds nothing under the name
        NoKeyring,  // no keyring answered; the caller falls back
        Refused,    // the keyring answered and refused (locked, denied)
    };
    struct Found {
        Outcome outcome = Outcome::NotFound;
        std::string secret;
    };

    virtual ~SecretStore() = default;

    virtual Found read(const std::string& key) = 0;
    // Done only once the keyring confirmed the write.
    virtual Outcome write(const std::string& key, const std::string& secret) = 0;
    virtual Outcome remove(const std::string& key) = 0;
};

enum class SecretKind { Password, RefreshToken };

// "password/pop.example.org:995/ann" and "refresh-token/…".
inline std::string SecretKey(SecretKind kind, const std::string& server, int port,
                             const std::string& userName) {
    return std::string(kind == SecretKind::Password ? "password/" : "refresh-token/") + server + ":" +
           std::to_string(port) + "/" + userName;
}

}  // namespace qlt
