#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/SecretStore.h"

namespace qlt::cli {

inline constexpr const char* kPasswordVariable = "QUILLGATE_PASSWORD";

// How a command was told the password: "--password P" (P "-": the first line
// of standard input), "--password-file FILE" (its first line) or the
// environment variable. Empty: not given that way.
struct PasswordSource {
    std::string given;
    std::string file;
};

// The password, "" when none was given; nothing when it cannot be had (the
// reason goes to error): both options at once, or a file or standard input
// that cannot be read or holds no password. A password written on the
// command line, which every local user sees in the process list, is warned
// about on standard error.
std::optional<std::string> takePassword(const PasswordSource& source, std::string_view command,
                                        std::string& error);

// The window's keyring entries, read only: a command neither moves a
// password into the keyring nor removes one, since what it saves stays in
// memory. Refused, not "no keyring", so reads go on.
class KeyringReader final : public SecretStore {
  public:
    explicit KeyringReader(SecretStore& keyring) : m_keyring(keyring) {}
    Found read(const std::string& key) override { return m_keyring.read(key); }
    Outcome write(const std::string&, const std::string&) override { return Outcome::Refused; }
    Outcome remove(const std::string&) override { return Outcome::Refused; }

  private:
    SecretStore& m_keyring;
};

}  // namespace qlt::cli
