#pragma once

#include <map>
#include <optional>
#include <string>

#include "base/SecretStore.h"

namespace qlt::test {

// A keyring in memory; `answer` set makes every call end that way instead,
// as a missing or locked keyring would.
class InMemorySecretStore final : public SecretStore {
  public:
    Found read(const std::string& key) override {
        if (answer) return {*answer, {}};
        const auto it = secrets.find(key);
        return it == secrets.end() ? Found{} : Found{Outcome::Done, it->second};
    }
    Outcome write(const std::string& key, const std::string& secret) override {
        if (answer) return *answer;
        secrets[key] = secret;
        return Outcome::Done;
    }
    Outcome remove(const std::string& key) override {
        if (answer) return *answer;
        return secrets.erase(key) != 0 ? Outcome::Done : Outcome::NotFound;
    }

    std::map<std::string, std::string> secrets;
    std::optional<Outcome> answer;
};

}  // namespace qlt::test
