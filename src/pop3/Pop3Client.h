#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "base/AccountRecord.h"
#include "base/Clock.h"
#include "base/ProgressCodes.h"
#include "base/UiPort.h"
#include "pop3/CSocketX.h"
#include "pop3/ReplyPace.h"
#include "pop3/SaslOAuth.h"

namespace qlt {

// How a one-line reply is cleaned before it is cut into tokens.
enum class ReplyCleaning {
    Stat,     // runs of spaces, tabs, CRs and LFs become one space
    Listing,  // runs of spaces and tabs become one space; CR and LF stay
};

// The POP3 dialogue of one account at a time: connection and login, one
// operation per command, the STAT counters and the texts of the last command,
// reply and error. Server text is untrusted: a status line is read through
// its line end within a bounded number of bytes, a TOP reply within at most k
// receives, and every reply within the pace of ReplyPace.
//
// Commands may be queued ahead of their replies. Each waits until a reply is
// wanted; then the first is sent alone or, once Capa found PIPELINING, every
// queued command goes out in one write, and the replies are read back in
// order. Bytes that arrive past one reply are kept for the next; when no
// reply is owed any more they belong to none of ours and are dropped.
//
// m_strError collects what went wrong since the last Connect: a receive
// failure replaces it, a negative reply is appended to it.
class Pop3Client {
  public:
    static constexpr int kDrainTimeoutMs = 3000;
    static constexpr int kDrainMaxReceives = 256;
    // A connect waits as long as the account's time-out, or this long when
    // the account sets none: a dead address must not hold the program.
    static constexpr int kConnectCapMs = 60000;
    // A status line (greeting, one-line reply, the first line of a
    // multi-line one) is read through its line end in as many receives as it
    // takes, up to this many bytes; the reply pace bounds its time.
    static constexpr std::size_t kMaxStatusLine = 64 * 1024;
    // A CAPA reply is bounded by bytes, not by receives.
    static constexpr std::size_t kMaxCapaReply = 64 * 1024;

    Pop3Client(UiPort& ui, const Clock& clock, CSocketX::StreamFactory streams);
    // A client on plain TCP.
    Pop3Client(UiPort& ui, const Clock& clock);
    virtual ~Pop3Client() = default;

    // Logs in with USER and PASS, or, for an account that signs in with
    // OAuth2, with AUTH and the bearer token given by setBearerToken.
    bool Connect(const AccountRecord& account);
    // The OAuth2 access token for the next Connect (untrusted only in that it
    // must be a b64token; it never reaches the wire log or m_strCommand).
    void setBearerToken(std::string token) { m_bearerToken = std::move(token); }
    // True when the last Connect failed because the server refused the
    // bearer token: a fresh token may get in where this one did not.
    bool SignInRefused() const { return m_signInRefused; }
    // Closes without QUIT, forgetting every reply still owed; closing a
    // closed connection does nothing.
    void Close();

    // Queues the command and sends what may be sent now.
    void SendCommand(std::string_view text);
    void QueueCommand(std::string_view text);
    // Replies still to be read, for commands sent or queued.
    std::size_t RepliesOwed() const { return m_queued.size() + m_unread; }
    // Reads the next status line into m_strReply, sending its command first
    // if it still waits in the queue.
    bool ReadReply(std::string_view failureText);
    // ReadReply for a batch of numbered commands (UIDL n, DELE n) whose
    // refusal is the one line RFC 1939 makes it: nothing is drained, so the
    // replies still owed after a refusal stay in step. Failed: no reply
    // came, or one that is neither +OK nor -ERR.
    enum class Answer { Accepted, Refused, Failed };
    Answer ReadAnswer(std::string_view failureText);
    // The greeting's test: "+OK" anywhere in it. A "-ERR" in it is drained.
    bool CheckReply(std::string_view reply);
    static int SplitReply(std::string_view reply, std::vector<std::string>& tokens, ReplyCleaning cleaning);
    // Reads a token as a decimal number from its leading digits; 0 when it has none.
    static std::int32_t TokenNumber(const std::vector<std::string>& tokens, std::size_t index);

    bool QueryStat();
    bool User(std::string_view name);
    bool Pass(std::string_view password);
    bool Stat();
    // Asks for the capabilities; true when the server announced PIPELINING,
    // which then holds until the next Connect. A server without CAPA simply
    // has none: its refusal is not drained.
    bool Capa();
    bool Pipelining() const { return m_pipelining; }
    bool List(int n);
    bool Uidl(int n);
    bool Top(int n, int k);
    // The three halves of the scan's commands, for queueing ahead.
    void QueueList(int n) { QueueCommand(numberedText("list", n)); }
    void QueueUidl(int n) { QueueCommand(numberedText("uidl", n)); }
    void QueueTop(int n, int k);
    bool ReadListReply();
    bool ReadUidlReply();
    bool ReadTopReply(int n, int k);
    void QueueDele(int n) { QueueCommand(numberedText("dele", n)); }
    bool Dele(int n);
    bool Rset();
    bool Quit();
    bool Noop();
    // Waits up to ms on a session that owes no reply, watching it without a
    // command: true when the time passed in silence. False when the server
    // closed the session or said something unasked (a server ending an idle
    // session says why first); the connection is then closed, and what the
    // server sent is in m_strError.
    bool IdleFor(int ms);

    // RETR of message n into the file at path, or into a new temporary file
    // (m_strTempFile) when path is empty. The file gets the message text as
    // the server sent it, without the final "." line, and then CR, LF, NUL;
    // an existing file is overwritten from its start and cut to that length.
    // Failures are told in a message box or left in m_strError.
    bool Retr(int n, const std::string& path);
    // Replaces m_strTempFile (its old file is deleted) with a new, empty,
    // owner-only file "QLT*.tmp" in the temporary directory. On failure the
    // user is told and m_strTempFile is left as it was.
    void CreateTempFile();

    // The account of the running connection, as Connect was given it.
    const AccountRecord& account() const { return m_account; }

    // Certificates (PEM file) to trust instead of the system's store for
    // secure connections; empty: the system's store.
    void setCaFile(std::string path) { m_caFile = std::move(path); }
    // The server certificate of the last secure Connect: after a refusal, why
    // and which one, so that the user can choose to pin it.
    const CertificateCheck& certificateCheck() const { return m_certificate; }

    std::int32_t m_nMessages = 0;
    std::int32_t m_nMailboxSize = 0;
    std::uint16_t m_wRate = 0;
    std::string m_strCommand;
    std::string m_strReply;
    std::string m_strError;
    std::string m_strTempFile;
    CSocketX m_socket;

  private:
    enum class MultiLine { Read, Refused, Failed };
    // The running totals behind m_wRate; the first receive of each
    // multi-line reply starts them afresh.
    struct RateMeter {
        std::uint64_t bytes = 0;
        std::uint64_t elapsedMs = 0;
        std::uint64_t startMs = 0;
    };

    static std::string numberedText(const char* verb, int n);
    int replyTimeoutMs() const { return static_cast<int>(m_account.timeout) * 1000; }
    int connectTimeoutMs() const { return m_account.timeout > 0 ? replyTimeoutMs() : kConnectCapMs; }
    bool secureConnection();
    bool startStls();
    bool authenticate();
    bool sendFirstResponse(const std::string& mechanism, const std::string& response);
    bool readSaslOutcome(SaslMechanism mechanism);
    void sendSecret(const std::string& line, const std::string& shown);
    bool command(std::string_view text, std::string_view failureText);
    bool numberedCommand(const char* verb, int n, std::string_view failureText);
    void sendQueued();
    bool receiveStatusLine();
    MultiLine readMultiLine(int n, int maxReceives, std::size_t maxBytes, std::string& refusal);
    // One receive within the reply's pace into chunk; false when the reply
    // failed, with the socket error in `error`. An empty chunk: the server
    // hung up.
    bool receiveWithin(ReplyPace& pace, std::string& chunk, int& error);
    void replyRead();
    void cutShort();
    void forgetReplies();
    void drain();
    // Drains what follows a reply that says "-ERR".
    void drainAfterRefusal(std::string_view reply);
    void meterRate(int i, std::size_t previousChunkLength);
    bool messageSize(int n, std::int64_t& size);
    bool receiveMessage(int fd, const std::string& path, std::int64_t size);
    void tellUser(const std::string& text);

    UiPort& m_ui;
    const Clock& m_clock;
    AccountRecord m_account;
    std::string m_caFile;
    CertificateCheck m_certificate;
    std::deque<std::string> m_queued;  // commands not sent yet
    std::size_t m_unread = 0;          // commands sent whose replies are not read yet
    std::string m_pending;             // bytes received past the replies read
    bool m_pipelining = false;
    std::vector<std::string> m_saslMechanisms;
    std::string m_bearerToken;
    bool m_signInRefused = false;
    RateMeter m_rateMeter;
};

}  // namespace qlt
