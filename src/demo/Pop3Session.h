#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "demo/DemoMessages.h"

namespace qlt::demo {

// The POP3 dialogue of one client with the demo mailbox (RFC 1939, with
// CAPA of RFC 2449): login as "demo" with password "demo", then the
// transaction commands. Deletions are marks on the session's copy of the
// maildrop; only QUIT after a login carries them out, as POP3 says, and
// the caller then takes the remaining messages back.
//
// Command lines are untrusted client data: each is parsed with bounded
// numbers, and every reply is complete with its line break (and, for a
// multi-line reply, its dot-stuffed text and terminator).
class Pop3Session {
  public:
    static constexpr std::string_view kUser = "demo";
    static constexpr std::string_view kPassword = "demo";
    // Longest command line accepted, CRLF included (RFC 2449).
    static constexpr std::size_t kMaxCommandLine = 255;

    explicit Pop3Session(std::vector<DemoMessage> maildrop);

    static std::string greeting();

    // The reply to one command line (without its line break).
    std::string reply(std::string_view line);

    // QUIT was answered: the connection is to be closed.
    bool ended() const { return m_state == State::Ended; }

    // After a QUIT that followed a login: the maildrop without the messages
    // marked deleted. Nothing otherwise: the session changed nothing.
    std::optional<std::vector<DemoMessage>> committedMaildrop() const;

  private:
    enum class State { Authorization, Transaction, Ended };

    struct Command {
        std::string keyword;  // upper case
        std::vector<std::string_view> arguments;
    };
    static Command parse(std::string_view line);

    std::string authorization(const Command& command);
    std::string transaction(const Command& command);
    std::string quit();
    std::string stat() const;
    std::string list(const Command& command) const;
    std::string uidl(const Command& command) const;
    std::string top(const Command& command) const;
    std::string retr(const Command& command) const;
    std::string dele(const Command& command);
    std::string rset();

    // The 1-based number of a message still there, from the argument at index.
    std::optional<std::size_t> messageArgument(const Command& command, std::size_t index) const;
    std::size_t liveCount() const;
    std::size_t liveSize() const;
    // "n messages (size octets)" of the messages not marked deleted.
    std::string summary() const;

    std::vector<DemoMessage> m_maildrop;
    std::vector<bool> m_deleted;
    State m_state = State::Authorization;
    bool m_userAccepted = false;
    bool m_committed = false;
};

}  // namespace qlt::demo
