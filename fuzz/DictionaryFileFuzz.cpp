// A dictionary data file of any content, loaded the way a scan loads it, and
// whatever table it gives then rates a message.
#include "content/EntryFiller.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "risk/RiskRating.h"

namespace {

constexpr std::string_view kMessage =
    "From: Alice <alice@example.org>\r\nTo: bob@example.org\r\nSubject: Free offer inside\r\n"
    "Content-Type: text/plain\r\n\r\nClick http://example.com/%41 for the free offer, viagra.\r\n";

}  // namespace

int qlt::fuzz::fuzzDictionaryFile(const std::uint8_t* data, std::size_t size) {
    using namespace qlt;
    fuzz::SilentUiPort ui;
    KeywordDictionary dictionary;
    dictionary.loadDictionary(ui, {fuzz::fileHolding(data, size), "/nonexistent/userlst.dat"});
    FilledMessage filled = FillEntry(kMessage, {.uidl = "1", .size = 200, .messageNumber = 1});
    if (filled.bodyToRate) rateMessage(dictionary, *filled.bodyToRate, filled.entry, "bob");
    rateText(dictionary, kMessage, filled.entry);
    return 0;
}
