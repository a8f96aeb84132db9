// A whole mailbox scan against a server whose every byte is the input: the
// greeting, the login, STAT, CAPA and the pipelined replies, cut into
// receives of a size the first byte chooses. A reconnect reads on from where
// the last connection stopped.
#include <algorithm>
#include <memory>
#include <string>

#include "base/Clock.h"
#include "base/MessageList.h"
#include "content/MailboxScan.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "pop3/ByteStream.h"
#include "pop3/Pop3Client.h"

namespace {

using namespace qlt;

struct ServerBytes {
    std::string_view rest;
    std::size_t chunk = 1;
};

class ReplayStream final : public ByteStream {
  public:
    explicit ReplayStream(ServerBytes& server) : m_server(server) {}
    ConnectResult connect(const std::string&, unsigned, int) override {
        m_open = true;
        return ConnectResult::Connected;
    }
    long send(std::string_view data, int) override { return m_open ? static_cast<long>(data.size()) : -1; }
    long receive(char* buffer, std::size_t capacity, int) override {
        if (!m_open) return -1;
        const std::size_t n = std::min({capacity, m_server.chunk, m_server.rest.size()});
        std::copy_n(m_server.rest.data(), n, buffer);
        m_server.rest.remove_prefix(n);
        return static_cast<long>(n);
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    int lastError() const override { return 10054; }

  private:
    ServerBytes& m_server;
    bool m_open = false;
};

// The pause before a reconnect is not waited out.
class NoWaitClock final : public Clock {
  public:
    std::uint64_t tickMs() const override { return ++m_now; }
    void sleepMs(unsigned) override {}
    SystemTime utcNow() const override { return {}; }

  private:
    mutable std::uint64_t m_now = 0;
};

}  // namespace

int qlt::fuzz::fuzzScanDialogue(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    ServerBytes server{fuzz::asText(data + 1, size - 1), 1 + data[0] % 64u};
    SilentUiPort ui;
    NoWaitClock clock;
    Pop3Client client(ui, clock, [&server] { return std::make_unique<ReplayStream>(server); });
    AccountRecord account;
    account.server = "fuzz.invalid";
    account.port = 110;
    account.userName = "ann";
    account.password = "pw";
    account.timeout = 1;
    account.accountNumber = 1;
    if (!client.Connect(account)) return 0;
    MessageList list;
    ScanMailbox({client, list, shippedDictionary(), account, 64, false, ui, clock});
    return 0;
}
