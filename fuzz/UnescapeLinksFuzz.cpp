#include "content/BodyDecoding.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"

int qlt::fuzz::fuzzUnescapeLinks(const std::uint8_t* data, std::size_t size) {
    std::string text(qlt::fuzz::asText(data, size));
    (void)qlt::UnescapeLinks(text);
    return 0;
}
