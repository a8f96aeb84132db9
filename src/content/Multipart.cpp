#include "content/Multipart.h"

#include "base/AsciiText.h"
#include "content/BodyDecoding.h"
#include "content/HeaderFields.h"
#include "content/HtmlToText.h"
#include "content/TextScan.h"

namespace qlt {
namespace {

using text::contains;
using text::npos;

MimePartInfo describePart(std::string_view part, int index, std::int32_t messageNumber) {
    MimePartInfo info;
    info.valid = 1;
    info.partIndex = index;
    info.messageNumber = messageNumber;
    info.contentType = GetPartField(part, "Content-Type: ");
    info.transferEncoding = GetPartField(part, "Content-Transfer-Encoding: ");
    info.contentDisposition = GetPartField(part, "Content-Disposition: ");
    info.contentId = GetPartField(part, "Content-ID: ");
    info.contentDescription = GetPartField(part, "Content-Description: ");
    return info;
}

}  // namespace

std::string FindBoundary(std::string_view text) {
    const std::size_t b = text.find("boundary=");
    if (b == npos) return {};
    const std::size_t c = text.find('"', b);
    if (c == npos) return {};
    const std::size_t r = text.find('"', c + 1);
    if (r == npos) return {};
    return "--" + std::string(text.substr(c + 1, r - c - 1));
}

std::string_view NextPart(std::string_view text, std::string_view delimiter, std::size_t& position) {
    if (position > text.size()) return {};
    const std::size_t first = text.find(delimiter, position);
    if (first == npos) return {};
    position = first + delimiter.size();
    const std::size_t next = text.find(delimiter, position);
    return text.substr(position, (next == npos ? text.size() : next) - position);
}

std::string GetPartField(std::string_view part, std::string_view name) {
    const std::size_t c = part.find(name);
    if (c == npos || c == 0) return {};
    const std::size_t start = c + name.size();
    const std::size_t lineEnd = std::min(part.find_first_of("\r\n", start), part.size());
    std::string value(part.substr(start, lineEnd - start));
    if (!value.empty() && value.back() == ';' && lineEnd + 2 <= part.size()) {
        const std::size_t nextStart = lineEnd + 2;
        const std::size_t nextEnd = part.find("\r\n", nextStart);
        if (nextEnd != npos) value.append(trimWhiteSpace(part.substr(nextStart, nextEnd - nextStart)));
    }
    value.resize(std::min(value.size(), kFieldValueMax));
    return value;
}

std::string_view StripPartHeaders(std::string_view part) {
    const std::size_t blank = part.find("\r\n\r\n");
    return blank == npos ? part : part.substr(blank + 4);
}

std::string WalkMultipart(std::string_view body, MessageEntry& entry) {
    const std::string delimiter = entry.boundary.str();
    std::string chosen;
    std::size_t position = 0;
    entry.parts.clear();
    for (;;) {
        const std::string_view part = NextPart(body, delimiter, position);
        if (part.empty()) break;
        MimePartInfo info = describePart(part, static_cast<int>(entry.parts.size()), entry.messageNumber);
        std::string content(StripPartHeaders(part));
        if (contains(info.transferEncoding, "base64") && contains(info.contentType, "text")) {
            content = DecodeBase64(content);
            entry.isBase64 = 1;
        }
        if (chosen.empty()) {
            ConvertPart(content, info);
            chosen = std::move(content);
        }
        if (entry.parts.size() >= kMaxMimeParts) break;
        entry.parts.push_back(std::move(info));
    }
    entry.parts.shrink_to_fit();
    return chosen;
}

void ConvertPart(std::string& part, const MimePartInfo& info) {
    const std::string_view type = info.contentType;
    if (contains(type, "multipart/alternative")) {
        PickAlternative(part, FindBoundary(type));
    } else if (contains(type, "text/plain")) {
        return;
    } else if (contains(type, "text/html")) {
        part = HtmlToText(part);
    }
}

void PickAlternative(std::string& text, std::string_view delimiter) {
    // Which sub-part to take is decided on the whole block, not on each
    // sub-part: with plain text first, as senders write it, that is the one.
    const bool hasPlain = contains(text, "text/plain");
    const bool hasHtml = contains(text, "text/html");
    std::string plain;
    std::string html;
    std::size_t position = 0;
    for (;;) {
        const std::string_view sub = NextPart(text, delimiter, position);
        if (sub.empty() || sub == "--") break;
        if (hasPlain) {
            plain = StripPartHeaders(sub);
            break;
        }
        if (hasHtml && html.empty()) html = HtmlToText(StripPartHeaders(sub));
    }
    text = plain.empty() ? std::move(html) : std::move(plain);
}

}  // namespace qlt
