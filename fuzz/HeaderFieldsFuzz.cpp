// A header block (untrusted) read field by field, as the entry filling does.
#include "content/HeaderFields.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"

int qlt::fuzz::fuzzHeaderFields(const std::uint8_t* data, std::size_t size) {
    const std::string_view block = qlt::fuzz::asText(data, size);
    for (const std::string_view name : {"From: ", "\nTo: ", "Subject: ", "\nContent-Type: ", "boundary="})
        (void)qlt::GetHeaderField(block, name);
    std::string whole(block);
    qlt::DecodeEncodedWords(whole);
    return 0;
}
