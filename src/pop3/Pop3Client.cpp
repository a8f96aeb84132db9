#include "pop3/Pop3Client.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <utility>

#include "base/AsciiText.h"
#include "base/Pop3Terminator.h"
#include "base/ProcessState.h"
#include "pop3/Deadline.h"
#include "pop3/SocketErrors.h"
#include "pop3/TcpStream.h"
#include "store/ConnectionSecurity.h"

namespace qlt {

namespace {

// Failures accumulate over a connection; a server that keeps refusing must
// not grow the text without end.
constexpr std::size_t kMaxErrorText = 64 * 1024;
// Of a greeting that is no POP3 server's, this much goes into the error.
constexpr std::size_t kMaxGreetingShown = 1024;
// RFC 5034: an AUTH command with its initial response longer than this goes
// out without it, and the response follows the server's "+ ".
constexpr std::size_t kMaxAuthLine = 255;
// Of the server's error challenge, this much goes into the error.
constexpr std::size_t kMaxChallengeShown = 512;
constexpr char kOAuthRefused[] = "ERROR: The server refused the OAuth2 sign-in\r\n";

// The server's decoded error challenge (JSON), fit to show.
std::string shownChallenge(std::string_view reply) {
    reply.remove_prefix(1);
    std::string text = StrictBase64Decode(reply).substr(0, kMaxChallengeShown);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) c = '?';
    return text;
}

// A command's reply is positive only when its status line starts so: a
// "-ERR ... +OK" refuses.
bool isPositive(std::string_view reply) {
    return reply.starts_with("+OK");
}

bool holdsLineBreak(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool isSeparator(char c, ReplyCleaning cleaning) {
    if (c == ' ' || c == '\t') return true;
    return cleaning == ReplyCleaning::Stat && (c == '\r' || c == '\n');
}

// Where the text of a TOP reply ends (the length to keep, its last CRLF
// included), or npos while the terminator has not arrived. A reply with no
// lines at all is the terminator right after the status line.
// Only the text from searchFrom on is new, less what could start a
// terminator that straddles two chunks.
std::size_t replyEnd(std::string_view text, std::size_t searchFrom) {
    if (text.starts_with(kPop3LastLine)) return 0;
    const std::size_t from = searchFrom > kPop3Terminator.size() ? searchFrom - kPop3Terminator.size() : 0;
    const std::size_t at = text.find(kPop3Terminator, from);
    return at == std::string_view::npos ? at : at + 2;
}

}  // namespace

Pop3Client::Pop3Client(UiPort& ui, const Clock& clock, CSocketX::StreamFactory streams)
    : m_socket(std::move(streams), clock), m_ui(ui), m_clock(clock) {}

Pop3Client::Pop3Client(UiPort& ui, const Clock& clock)
    : Pop3Client(ui, clock, [&ui, &clock] { return std::make_unique<TcpStream>(ui, clock); }) {}

bool Pop3Client::Connect(const AccountRecord& account) {
    m_account = account;
    m_strError.clear();
    m_certificate = {};
    m_pipelining = false;
    m_saslMechanisms.clear();
    m_signInRefused = false;
    forgetReplies();
    // A setting this version does not know must never mean clear text.
    if (m_account.security > kSecurityStls) {
        m_strError = "ERROR: Unknown connection security setting\r\n";
        return false;
    }
    if (m_account.signIn > kSignInOAuth2) {
        m_strError = "ERROR: Unknown sign-in setting\r\n";
        return false;
    }
    // A line break would end USER or PASS early and send the rest as a
    // command of its own.
    if (holdsLineBreak(m_account.userName.view()) || holdsLineBreak(m_account.password.view())) {
        m_strError =
            "ERROR: The user name or password holds a line break; nothing was sent to the server\r\n";
        return false;
    }
    switch (m_socket.Connect(m_account.server.str(), m_account.port, connectTimeoutMs())) {
        case ConnectResult::NoSocket:
            m_strError = "Socket creation failed";
            m_socket.Close();
            return false;
        case ConnectResult::Failed:
            m_strError = "Could not connect to server";
            m_socket.Close();
            return false;
        case ConnectResult::Connected:
            break;
    }
    if (m_account.security == kSecurityTls && !secureConnection()) return false;
    m_ui.progress(kProgressAccessingServer, 0);
    // A greeting cut short closed the connection: its rest is no reply.
    if (!receiveStatusLine()) {
        Close();
        return false;
    }
    if (!m_socket.IsOpen() || !CheckReply(m_strReply)) {
        m_strError = "ERROR: Not a valid POP3 server response\r\n" + m_strReply.substr(0, kMaxGreetingShown);
        Close();
        return false;
    }
    if (m_account.security == kSecurityStls && !startStls()) return false;
    if (m_account.signIn == kSignInOAuth2) return authenticate();
    m_ui.progress(kProgressSentUser, 0);
    if (!User(m_account.userName.view())) return false;
    m_ui.progress(kProgressSentPass, 0);
    return Pass(m_account.password.view());
}

bool Pop3Client::secureConnection() {
    const std::string host = m_account.server.str();
    const TlsHandshake handshake =
        m_socket.StartTls({host, m_caFile, m_account.pinnedCertificate}, connectTimeoutMs());
    m_certificate = handshake.certificate;
    switch (handshake.outcome) {
        case TlsOutcome::Secured:
            return true;
        case TlsOutcome::SocketFailed:
            m_strError = socketErrorText(m_socket.GetLastError());
            break;
        case TlsOutcome::HandshakeFailed:
            m_strError =
                "ERROR: No secure connection could be agreed with the server (" + handshake.failure + ")\r\n";
            break;
        case TlsOutcome::Untrusted:
            m_strError = certificateErrorText(m_certificate, host, HasPinnedCertificate(m_account));
            break;
    }
    Close();
    return false;
}

// Only a plain "+OK" line opens the handshake. Whatever else the server says,
// the login does not go ahead in clear text.
bool Pop3Client::startStls() {
    SendCommand("stls");
    if (!receiveStatusLine()) {
        Close();
        return false;
    }
    // Bytes after the line would be taken as if they came over TLS.
    const bool agreed = isPositive(m_strReply) && m_pending.empty();
    m_strReply += m_pending;
    // The handshake starts afresh: nothing of the clear-text dialogue is owed.
    forgetReplies();
    if (!agreed) {
        m_strError =
            "ERROR: The server does not offer a secure connection (STLS); the password was not sent\r\n" +
            m_strReply;
        Close();
        return false;
    }
    return secureConnection();
}

// SASL AUTH with the bearer token (RFC 5034, RFC 7628). Nothing secret is
// sent unless the server announced a mechanism that carries the token.
bool Pop3Client::authenticate() {
    Capa();
    const SaslMechanism mechanism = ChooseOAuthMechanism(m_saslMechanisms);
    if (mechanism == SaslMechanism::None) {
        m_strError +=
            "ERROR: The server does not offer OAuth2 sign-in (SASL OAUTHBEARER or XOAUTH2); no password or "
            "token was sent\r\n";
        return false;
    }
    if (!IsBearerToken(m_bearerToken)) {
        m_strError = "ERROR: No usable OAuth2 access token; sign in again\r\n";
        return false;
    }
    m_ui.progress(kProgressSentUser, 0);
    const std::string response = EncodeBase64(OAuthResponse(
        mechanism, m_account.userName.view(), m_account.server.view(), m_account.port, m_bearerToken));
    return sendFirstResponse(MechanismName(mechanism), response) && readSaslOutcome(mechanism);
}

// In the AUTH line when it fits, else after the server's empty challenge.
bool Pop3Client::sendFirstResponse(const std::string& mechanism, const std::string& response) {
    const std::string command = "auth " + mechanism;
    if (command.size() + 1 + response.size() + 2 <= kMaxAuthLine) {
        sendSecret(command + " " + response, command + " ********");
        return true;
    }
    SendCommand(command);
    const bool received = receiveStatusLine();
    replyRead();
    if (!received) return false;
    if (!m_strReply.starts_with("+ ") && m_strReply.find_first_not_of("+\r\n") != std::string::npos) {
        m_strError += kOAuthRefused + m_strReply;
        return false;
    }
    sendSecret(response, "********");
    return true;
}

// A refusal comes as an error challenge first: it is answered with the
// dummy response, after which the server sends its -ERR.
bool Pop3Client::readSaslOutcome(SaslMechanism mechanism) {
    bool received = receiveStatusLine();
    replyRead();
    if (!received) return false;
    if (isPositive(m_strReply)) return true;
    std::string challenge;
    if (m_strReply.starts_with("+")) {
        challenge = shownChallenge(trimWhiteSpace(m_strReply));
        SendCommand(DummyResponse(mechanism));
        received = receiveStatusLine();
        replyRead();
        if (!received) return false;
    }
    m_signInRefused = m_strReply.starts_with("-ERR");
    m_strError += kOAuthRefused + m_strReply.substr(0, kMaxGreetingShown);
    if (!challenge.empty()) m_strError += challenge + "\r\n";
    return false;
}

void Pop3Client::sendSecret(const std::string& line, const std::string& shown) {
    m_strCommand = shown + "\r\n";
    ++m_unread;
    m_socket.SendSecret(line + "\r\n", shown + "\r\n", 0);
}

void Pop3Client::Close() {
    m_socket.Close();
    forgetReplies();
}

void Pop3Client::forgetReplies() {
    m_queued.clear();
    m_unread = 0;
    m_pending.clear();
}

void Pop3Client::SendCommand(std::string_view text) {
    QueueCommand(text);
    sendQueued();
}

void Pop3Client::QueueCommand(std::string_view text) {
    std::string command(text);
    command += "\r\n";
    m_queued.push_back(std::move(command));
}

// Without pipelining a command goes out only once every earlier reply has
// been read; with it, the whole queue goes in one write, so that the server
// answers them back to back instead of waiting a round trip for each.
void Pop3Client::sendQueued() {
    if (m_queued.empty() || (m_unread > 0 && !m_pipelining)) return;
    const std::size_t count = m_pipelining ? m_queued.size() : 1;
    std::string batch;
    for (std::size_t i = 0; i < count; ++i) batch += m_queued[i];
    m_strCommand = std::move(m_queued[count - 1]);
    m_queued.erase(m_queued.begin(), m_queued.begin() + static_cast<std::ptrdiff_t>(count));
    m_unread += count;
    // A broken connection shows up when the reply is read.
    m_socket.SendText(batch, 0);
}

void Pop3Client::replyRead() {
    if (m_unread > 0) --m_unread;
    // With no reply owed, whatever else came answers nothing we asked.
    if (m_unread == 0) m_pending.clear();
}

bool Pop3Client::receiveWithin(ReplyPace& pace, std::string& chunk, int& error) {
    for (;;) {
        const int waitMs = pace.nextWaitMs();
        if (waitMs < 0) {
            error = kSockTimedOut;
            return false;
        }
        if (m_socket.ReceiveBytes(chunk, waitMs) >= 0) break;
        // A receive may time out before the pace does; then it asks again.
        error = m_socket.GetLastError();
        if (error != kSockTimedOut || waitMs == 0) return false;
    }
    pace.arrived(chunk.size());
    return true;
}

// The next line into m_strReply, its line end (CRLF, or a bare LF)
// included. The line may come in any number of pieces, or together with the
// replies after it. One that ends where the server hangs up, or at the byte
// cap, is taken as it stands.
bool Pop3Client::receiveStatusLine() {
    ReplyPace pace(m_clock, replyTimeoutMs());
    std::size_t end = m_pending.find('\n');
    while (end == std::string::npos && m_pending.size() < kMaxStatusLine) {
        std::string chunk;
        if (int error = 0; !receiveWithin(pace, chunk, error)) {
            m_strError = socketErrorText(error);
            return false;
        }
        if (chunk.empty()) break;
        const std::size_t searchFrom = m_pending.size();
        m_pending += chunk;
        end = m_pending.find('\n', searchFrom);
    }
    const bool complete = end != std::string::npos && end < kMaxStatusLine;
    const std::size_t length = complete ? end + 1 : std::min(m_pending.size(), kMaxStatusLine);
    m_strReply.assign(m_pending, 0, length);
    m_pending.erase(0, length);
    if (!complete) cutShort();
    return true;
}

bool Pop3Client::ReadReply(std::string_view failureText) {
    const Answer answer = ReadAnswer(failureText);
    if (answer == Answer::Refused) drain();
    return answer == Answer::Accepted;
}

Pop3Client::Answer Pop3Client::ReadAnswer(std::string_view failureText) {
    sendQueued();
    const bool received = receiveStatusLine();
    replyRead();
    if (!received) return Answer::Failed;
    if (isPositive(m_strReply)) return Answer::Accepted;
    const std::size_t room = kMaxErrorText - std::min(kMaxErrorText, m_strError.size());
    m_strError += std::string(failureText).append(m_strReply).substr(0, room);
    // What is neither answer (nothing, when the server hung up) refuses nothing.
    return m_strReply.find("-ERR") != std::string::npos ? Answer::Refused : Answer::Failed;
}

bool Pop3Client::CheckReply(std::string_view reply) {
    if (reply.find("+OK") != std::string_view::npos) return true;
    drainAfterRefusal(reply);
    return false;
}

void Pop3Client::drainAfterRefusal(std::string_view reply) {
    if (reply.find("-ERR") != std::string_view::npos) drain();
}

// What follows a refusal is not wanted; reading it keeps it from being taken
// for the reply to the next command. The whole drain takes at most the
// account's time-out (or one pause of kDrainTimeoutMs without one): a server
// that trickles must not hold it.
void Pop3Client::drain() {
    forgetReplies();
    const Deadline bound(m_clock, replyTimeoutMs() > 0 ? replyTimeoutMs() : kDrainTimeoutMs);
    std::string discarded;
    for (int i = 0; i < kDrainMaxReceives; ++i) {
        const int waitMs = bound.leftMs(kDrainTimeoutMs);
        if (waitMs <= 0) return;
        if (m_socket.ReceiveBytes(discarded, waitMs) <= 0) return;
    }
}

int Pop3Client::SplitReply(std::string_view reply, std::vector<std::string>& tokens, ReplyCleaning cleaning) {
    tokens.clear();
    const std::string_view text = trimWhiteSpace(reply);
    std::string token;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isSeparator(text[i], cleaning)) {
            token += text[i];
        } else if (i == 0 || !isSeparator(text[i - 1], cleaning)) {
            tokens.push_back(std::move(token));
            token.clear();
        }
    }
    if (!text.empty()) tokens.push_back(std::move(token));
    return tokens.empty() ? 0 : static_cast<int>(tokens.size()) - 1;
}

std::int32_t Pop3Client::TokenNumber(const std::vector<std::string>& tokens, std::size_t index) {
    if (index == 0 || index > tokens.size()) return 0;
    std::int64_t value = 0;
    for (const char c : tokens[index - 1]) {
        if (c < '0' || c > '9') break;
        value = std::min<std::int64_t>(value * 10 + (c - '0'), std::numeric_limits<std::int32_t>::max());
    }
    return static_cast<std::int32_t>(value);
}

bool Pop3Client::QueryStat() {
    if (!Stat()) return false;
    std::vector<std::string> tokens;
    SplitReply(m_strReply, tokens, ReplyCleaning::Stat);
    m_nMessages = TokenNumber(tokens, 2);
    m_nMailboxSize = TokenNumber(tokens, 3);
    return true;
}

bool Pop3Client::command(std::string_view text, std::string_view failureText) {
    SendCommand(text);
    return ReadReply(failureText);
}

std::string Pop3Client::numberedText(const char* verb, int n) {
    std::string text = verb;
    if (n > 0) {
        text += ' ';
        text += std::to_string(n);
    }
    return text;
}

bool Pop3Client::numberedCommand(const char* verb, int n, std::string_view failureText) {
    return command(numberedText(verb, n), failureText);
}

bool Pop3Client::User(std::string_view name) {
    return command("user " + std::string(name), "ERROR: It does not like your user name\r\n");
}

bool Pop3Client::Pass(std::string_view password) {
    return command("pass " + std::string(password), "ERROR: It does not like your password\r\n");
}

bool Pop3Client::Stat() {
    return command("stat", "STAT returned ERROR\r\n");
}

bool Pop3Client::List(int n) {
    QueueList(n);
    return ReadListReply();
}

bool Pop3Client::Uidl(int n) {
    QueueUidl(n);
    return ReadUidlReply();
}

bool Pop3Client::ReadListReply() {
    return ReadReply("LIST returned ERROR\r\n");
}

bool Pop3Client::ReadUidlReply() {
    return ReadReply("UIDL returned ERROR\r\n");
}

bool Pop3Client::Capa() {
    m_pipelining = false;
    SendCommand("capa");
    // A refusal is one line: nothing follows it to drain.
    std::string refusal;
    if (readMultiLine(0, std::numeric_limits<int>::max(), kMaxCapaReply, refusal) != MultiLine::Read)
        return false;
    std::vector<std::string> tokens;
    std::size_t start = 0;
    for (std::size_t end; (end = m_strReply.find("\r\n", start)) != std::string::npos; start = end + 2) {
        SplitReply(std::string_view(m_strReply).substr(start, end - start), tokens, ReplyCleaning::Listing);
        if (!tokens.empty() && equalsIgnoringCase(tokens[0], "PIPELINING")) m_pipelining = true;
        if (!tokens.empty() && equalsIgnoringCase(tokens[0], "SASL"))
            m_saslMechanisms.assign(tokens.begin() + 1, tokens.end());
    }
    return m_pipelining;
}

bool Pop3Client::Dele(int n) {
    if (numberedCommand("dele", n, "DELE returned ERROR\r\n")) return true;
    Close();
    return false;
}

bool Pop3Client::Rset() {
    return command("rset", "");
}

bool Pop3Client::Quit() {
    return command("quit", "QUIT returned ERROR\r\n");
}

bool Pop3Client::Noop() {
    return command("noop", "NOOP returned ERROR\r\n");
}

bool Pop3Client::IdleFor(int ms) {
    std::string said;
    const long received = m_socket.ReceiveChunk(said, std::max(ms, 1));
    if (received < 0 && m_socket.GetLastError() == kSockTimedOut) return true;
    m_strError += "ERROR: The server ended the idle session\r\n" + said;
    Close();
    return false;
}

bool Pop3Client::Top(int n, int k) {
    QueueTop(n, k);
    return ReadTopReply(n, k);
}

void Pop3Client::QueueTop(int n, int k) {
    char text[48];
    std::snprintf(text, sizeof text, "top %d %d", n, k);
    QueueCommand(text);
}

bool Pop3Client::ReadTopReply(int n, int k) {
    std::string refusal;
    switch (readMultiLine(n, k, std::numeric_limits<std::size_t>::max(), refusal)) {
        case MultiLine::Read:
            return true;
        case MultiLine::Refused:
            drainAfterRefusal(refusal);
            return false;
        case MultiLine::Failed:
            return false;
    }
    return false;
}

// The next multi-line reply: its text (without the status line and the
// final ".") into m_strReply, or, when refused, its status line into
// refusal. At most maxReceives receives and about maxBytes bytes; a reply
// cut short by them or by the server hanging up is taken as it stands, as
// TOP always has. NULs in the text are kept.
Pop3Client::MultiLine Pop3Client::readMultiLine(int n, int maxReceives, std::size_t maxBytes,
                                                std::string& refusal) {
    sendQueued();
    std::string text = std::exchange(m_pending, {});
    std::size_t searchFrom = 0;
    bool statusLinePending = true;
    std::size_t previousLength = 0;
    ReplyPace pace(m_clock, replyTimeoutMs());
    for (int i = 0;; ++i) {
        if (statusLinePending) {
            if (const std::size_t lineEnd = text.find('\n', searchFrom); lineEnd != std::string::npos) {
                if (!isPositive(text)) {
                    refusal = text.substr(0, lineEnd + 1);
                    replyRead();
                    return MultiLine::Refused;
                }
                text.erase(0, lineEnd + 1);
                statusLinePending = false;
                searchFrom = 0;
            }
        }
        if (const std::size_t end = statusLinePending ? std::string::npos : replyEnd(text, searchFrom);
            end != std::string::npos) {
            m_pending = text.substr(end + kPop3LastLine.size());
            text.resize(end);
            break;
        }
        if (i == maxReceives || text.size() >= maxBytes) {
            cutShort();
            break;
        }
        if (i > 0) m_ui.pumpMessages();
        meterRate(i, previousLength);
        std::string chunk;
        if (int error = 0; !receiveWithin(pace, chunk, error)) {
            replyRead();
            return MultiLine::Failed;
        }
        if (chunk.empty()) {
            cutShort();
            break;
        }
        previousLength = chunk.size();
        if (abortRequested != 0) m_ui.progress(kProgressAborting, n);
        searchFrom = text.size();
        text += chunk;
    }
    m_strReply = std::move(text);
    replyRead();
    return MultiLine::Read;
}

// A reply that never reached its end (a cap or a hang-up came first) leaves
// the rest of it to be taken for the replies after it: the connection is of
// no more use.
void Pop3Client::cutShort() {
    Close();
}

void Pop3Client::meterRate(int i, std::size_t previousChunkLength) {
    if (i == 0) {
        m_rateMeter = RateMeter{0, 0, m_clock.tickMs()};
        return;
    }
    m_rateMeter.bytes += previousChunkLength;
    m_rateMeter.elapsedMs = m_clock.tickMs() - m_rateMeter.startMs;
    if (m_rateMeter.elapsedMs == 0) return;
    const double rate =
        static_cast<double>(m_rateMeter.bytes) / static_cast<double>(m_rateMeter.elapsedMs) * 1000.0;
    // Kept to the low 16 bits, as the stored link speed is.
    if (rate != 0.0) m_wRate = static_cast<std::uint16_t>(std::fmod(std::floor(rate), 65536.0));
}

}  // namespace qlt
