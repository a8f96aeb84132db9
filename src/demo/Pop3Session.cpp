#include "demo/Pop3Session.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "base/Pop3Terminator.h"

namespace qlt::demo {

namespace {

constexpr std::string_view kNoSuchMessage = "-ERR no such message\r\n";
constexpr std::string_view kBadArguments = "-ERR wrong arguments\r\n";
// Numbers beyond this are no message and no line count of ours.
constexpr std::uint32_t kMaxNumber = 999999999;

std::string line(std::string_view text) {
    std::string out(text);
    out += "\r\n";
    return out;
}

std::string upperCase(std::string_view word) {
    std::string out(word.substr(0, 8));
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::optional<std::uint32_t> number(std::string_view text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > kMaxNumber) return std::nullopt;
    return value;
}

// Lines of a multi-line reply that start with "." get a second one, so that
// no line of the text reads as the terminator.
std::string dotStuffed(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 16);
    bool lineStart = true;
    for (const char c : text) {
        if (lineStart && c == '.') out += '.';
        out += c;
        lineStart = c == '\n';
    }
    return out;
}

std::string multiLine(std::string_view status, std::string_view text) {
    return line(status) + dotStuffed(text) + std::string(kPop3LastLine);
}

// The header block with its empty line, then the first lines of the body.
std::string_view topOf(std::string_view message, std::uint32_t bodyLines) {
    const std::size_t blank = message.find("\r\n\r\n");
    if (blank == std::string_view::npos) return message;
    std::size_t end = blank + 4;
    for (std::uint32_t i = 0; i < bodyLines && end < message.size(); ++i) {
        const std::size_t next = message.find("\r\n", end);
        end = next == std::string_view::npos ? message.size() : next + 2;
    }
    return message.substr(0, end);
}

std::string messagesText(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " message" : " messages");
}

std::string countAndSize(std::size_t count, std::size_t size) {
    char text[64];
    std::snprintf(text, sizeof text, "%zu %zu", count, size);
    return text;
}

}  // namespace

Pop3Session::Pop3Session(std::vector<DemoMessage> maildrop)
    : m_maildrop(std::move(maildrop)), m_deleted(m_maildrop.size(), false) {}

std::string Pop3Session::greeting() {
    return "+OK Quillgate demo mailbox ready\r\n";
}

Pop3Session::Command Pop3Session::parse(std::string_view line) {
    Command command;
    std::size_t at = 0;
    bool first = true;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
        const std::size_t start = at;
        while (at < line.size() && line[at] != ' ' && line[at] != '\t') ++at;
        if (start == at) break;
        const std::string_view word = line.substr(start, at - start);
        if (first) {
            command.keyword = upperCase(word);
            first = false;
        } else if (command.arguments.size() < 3) {
            command.arguments.push_back(word);
        }
    }
    return command;
}

std::string Pop3Session::reply(std::string_view line) {
    const Command command = parse(line);
    if (command.keyword == "CAPA")
        return multiLine("+OK capability list follows",
                         "TOP\r\nUSER\r\nUIDL\r\nPIPELINING\r\nIMPLEMENTATION Quillgate-demo\r\n");
    switch (m_state) {
        case State::Authorization:
            return authorization(command);
        case State::Transaction:
            return transaction(command);
        case State::Ended:
            break;
    }
    return "-ERR session has ended\r\n";
}

std::string Pop3Session::authorization(const Command& command) {
    if (command.keyword == "QUIT") {
        m_state = State::Ended;
        return "+OK bye\r\n";
    }
    if (command.keyword == "USER") {
        m_userAccepted = command.arguments.size() == 1 && command.arguments[0] == kUser;
        return m_userAccepted ? "+OK send the password\r\n" : "-ERR no mailbox by that name\r\n";
    }
    if (command.keyword == "PASS") {
        if (!m_userAccepted) return "-ERR send USER first\r\n";
        m_userAccepted = false;
        if (command.arguments.size() != 1 || command.arguments[0] != kPassword)
            return "-ERR wrong password\r\n";
        m_state = State::Transaction;
        return line("+OK " + summary());
    }
    return "-ERR log in with USER and PASS first\r\n";
}

std::string Pop3Session::transaction(const Command& command) {
    const std::string& k = command.keyword;
    if (k == "STAT") return stat();
    if (k == "LIST") return list(command);
    if (k == "UIDL") return uidl(command);
    if (k == "TOP") return top(command);
    if (k == "RETR") return retr(command);
    if (k == "DELE") return dele(command);
    if (k == "RSET") return rset();
    if (k == "NOOP") return "+OK\r\n";
    if (k == "QUIT") return quit();
    return "-ERR unknown command\r\n";
}

std::string Pop3Session::quit() {
    m_state = State::Ended;
    m_committed = true;
    return line("+OK Quillgate demo mailbox signing off, " + messagesText(liveCount()) + " left");
}

std::optional<std::vector<DemoMessage>> Pop3Session::committedMaildrop() const {
    if (!m_committed) return std::nullopt;
    std::vector<DemoMessage> remaining;
    for (std::size_t i = 0; i < m_maildrop.size(); ++i)
        if (!m_deleted[i]) remaining.push_back(m_maildrop[i]);
    return remaining;
}

std::size_t Pop3Session::liveCount() const {
    return static_cast<std::size_t>(std::count(m_deleted.begin(), m_deleted.end(), false));
}

std::size_t Pop3Session::liveSize() const {
    std::size_t size = 0;
    for (std::size_t i = 0; i < m_maildrop.size(); ++i)
        if (!m_deleted[i]) size += m_maildrop[i].text.size();
    return size;
}

std::optional<std::size_t> Pop3Session::messageArgument(const Command& command, std::size_t index) const {
    if (index >= command.arguments.size()) return std::nullopt;
    const auto n = number(command.arguments[index]);
    if (!n || *n == 0 || *n > m_maildrop.size() || m_deleted[*n - 1]) return std::nullopt;
    return *n;
}

std::string Pop3Session::summary() const {
    return messagesText(liveCount()) + " (" + std::to_string(liveSize()) + " octets)";
}

std::string Pop3Session::stat() const {
    return line("+OK " + countAndSize(liveCount(), liveSize()));
}

std::string Pop3Session::list(const Command& command) const {
    if (!command.arguments.empty()) {
        const auto n = messageArgument(command, 0);
        if (!n) return std::string(kNoSuchMessage);
        return line("+OK " + countAndSize(*n, m_maildrop[*n - 1].text.size()));
    }
    std::string listing;
    for (std::size_t i = 0; i < m_maildrop.size(); ++i)
        if (!m_deleted[i]) listing += line(countAndSize(i + 1, m_maildrop[i].text.size()));
    return multiLine("+OK " + summary(), listing);
}

std::string Pop3Session::uidl(const Command& command) const {
    if (!command.arguments.empty()) {
        const auto n = messageArgument(command, 0);
        if (!n) return std::string(kNoSuchMessage);
        return line("+OK " + std::to_string(*n) + " " + m_maildrop[*n - 1].uidl);
    }
    std::string listing;
    for (std::size_t i = 0; i < m_maildrop.size(); ++i)
        if (!m_deleted[i]) listing += line(std::to_string(i + 1) + " " + m_maildrop[i].uidl);
    return multiLine("+OK unique ids follow", listing);
}

std::string Pop3Session::top(const Command& command) const {
    if (command.arguments.size() != 2) return std::string(kBadArguments);
    const auto n = messageArgument(command, 0);
    if (!n) return std::string(kNoSuchMessage);
    const auto bodyLines = number(command.arguments[1]);
    if (!bodyLines) return std::string(kBadArguments);
    return multiLine("+OK top of message follows", topOf(m_maildrop[*n - 1].text, *bodyLines));
}

std::string Pop3Session::retr(const Command& command) const {
    const auto n = messageArgument(command, 0);
    if (!n) return std::string(kNoSuchMessage);
    const std::string& text = m_maildrop[*n - 1].text;
    return multiLine("+OK " + std::to_string(text.size()) + " octets", text);
}

std::string Pop3Session::dele(const Command& command) {
    const auto n = messageArgument(command, 0);
    if (!n) return std::string(kNoSuchMessage);
    m_deleted[*n - 1] = true;
    return line("+OK message " + std::to_string(*n) + " deleted");
}

std::string Pop3Session::rset() {
    std::fill(m_deleted.begin(), m_deleted.end(), false);
    return line("+OK " + summary());
}

}  // namespace qlt::demo
