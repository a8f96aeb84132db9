// A TOP reply as the scan gets it: filled into an entry, then rated against
// the shipped dictionary, as the scan and the analysis do.
#include "content/EntryFiller.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "risk/RiskRating.h"

int qlt::fuzz::fuzzFillAndRate(const std::uint8_t* data, std::size_t size) {
    using namespace qlt;
    const std::string_view reply = fuzz::asText(data, size);
    const KeywordDictionary& dictionary = fuzz::shippedDictionary();
    FilledMessage filled =
        FillEntry(reply, {.uidl = "fuzz-uidl", .size = static_cast<std::int32_t>(size), .messageNumber = 1});
    if (filled.bodyToRate) rateMessage(dictionary, *filled.bodyToRate, filled.entry, "bob");
    rateText(dictionary, reply, filled.entry);
    return 0;
}
