#include "content/HtmlToText.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"

int qlt::fuzz::fuzzHtmlToText(const std::uint8_t* data, std::size_t size) {
    const std::string text = qlt::HtmlToText(qlt::fuzz::asText(data, size));
    (void)qlt::CollapseBlanks(text);
    return 0;
}
