// A whole mailbox scan against a server whose every byte is the input: the
// greeting, the login, STAT, CAPA and the pipelined replies, cut into
// receives of a size the first byte chooses. A reconnect reads on from where
// the last connection stopped.
#include <memory>
#include <string>

#include "base/MessageList.h"
#include "content/MailboxScan.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "pop3/Pop3Client.h"
#include "tests/support/ScriptedServer.h"

int qlt::fuzz::fuzzScanDialogue(const std::uint8_t* data, std::size_t size) {
    using namespace qlt;
    if (size == 0) return 0;
    // Pauses are not waited out; the clock moves a little at every read.
    test::FakeClock clock(test::FakeClock::Ticks::Stepping, 1);
    test::ScriptedServer server(clock);
    server.send(std::string(fuzz::asText(data + 1, size - 1)));
    server.limitReceives(1 + data[0] % 64u);
    SilentUiPort ui;
    Pop3Client client(ui, clock, [&server] { return std::make_unique<test::ScriptedStream>(server); });
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
