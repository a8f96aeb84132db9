// A body split into MIME parts by the boundary its own text names.
#include "content/Multipart.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"

int qlt::fuzz::fuzzMultipart(const std::uint8_t* data, std::size_t size) {
    using namespace qlt;
    const std::string_view body = fuzz::asText(data, size);
    const std::string delimiter = FindBoundary(body);
    std::size_t position = 0;
    for (int k = 0; k < 64; ++k) {
        const std::string_view part = NextPart(body, delimiter, position);
        if (part.empty()) break;
        (void)GetPartField(part, "Content-Type: ");
        (void)StripPartHeaders(part);
    }
    MessageEntry entry;
    entry.boundary = delimiter;
    (void)WalkMultipart(body, entry);
    std::string text(body);
    PickAlternative(text, delimiter);
    return 0;
}
