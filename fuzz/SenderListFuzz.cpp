// A sender list file of any content, applied to a few messages.
#include "base/MessageList.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "risk/SenderList.h"

int qlt::fuzz::fuzzSenderList(const std::uint8_t* data, std::size_t size) {
    using namespace qlt;
    fuzz::SilentUiPort ui;
    MessageList messages;
    for (const char* from : {"Alice <alice@example.org>", "", "spam@junk.example"}) {
        MessageEntry entry;
        entry.from = from;
        messages.append(entry);
    }
    SenderList(ui, fuzz::fileHolding(data, size)).applySenderList(messages);
    return 0;
}
