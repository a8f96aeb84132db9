#include "content/BodyDecoding.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"

int qlt::fuzz::fuzzDecodeBase64(const std::uint8_t* data, std::size_t size) {
    (void)qlt::DecodeBase64(qlt::fuzz::asText(data, size));
    return 0;
}
