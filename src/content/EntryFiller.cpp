#include "content/EntryFiller.h"

#include <string>

#include "content/BodyDecoding.h"
#include "content/HeaderFields.h"
#include "content/HtmlToText.h"
#include "content/Multipart.h"
#include "content/TextScan.h"

namespace qlt {
namespace {

using text::contains;
using text::npos;

constexpr std::string_view kBlankLine = "\r\n\r\n";
constexpr std::size_t kPreviewMax = decltype(MessageEntry::preview)::maxLength;
// Longest text kept in front of the marker, so that both fit the preview.
constexpr std::size_t kPreviewCut = kPreviewMax - kMoreMarker.size();
// A header block must be longer than this and shorter than the next to have
// its body read.
constexpr std::size_t kMinHeaderEnd = 6;
constexpr std::size_t kMaxHeaderEnd = 65535;

// The fetched text is shorter than the message by LIST; a size below 2 counts
// as unknown, and so as longer than what came.
bool fetchedWhole(std::size_t fetched, std::int32_t size) {
    const std::uint32_t expected = static_cast<std::uint32_t>(size) - 2u;
    return fetched >= expected;
}

void readHeaderFields(std::string_view block, MessageEntry& entry) {
    // "\nTo: " only matches at a line start, so "Reply-To: " is not taken for it.
    entry.to = GetHeaderField(block, "\nTo: ");
    entry.from = GetHeaderField(block, "From: ");
    entry.subject = GetHeaderField(block, "Subject: ");
    entry.date = GetHeaderField(block, "Date: ");
    entry.transferEncoding = GetHeaderField(block, "Content-Transfer-Encoding: ");
    entry.contentType = GetHeaderField(block, "Content-Type: ");
}

void readContentTypeFlags(std::string_view block, MessageEntry& entry) {
    if (entry.contentType.empty()) return;
    const std::string type = text::toLower(entry.contentType);
    entry.isMultipart = contains(type, "multipart");
    entry.isMixed = contains(type, "mixed");
    entry.isAlternative = contains(type, "alternative");
    entry.isText = contains(type, "text");
    entry.isHtml = contains(type, "html");
    entry.boundary = FindBoundary(block);
}

// Decodes and converts the body into the text the preview starts with.
std::string previewText(std::string_view body, MessageEntry& entry) {
    const bool base64 = contains(entry.transferEncoding, "base64");
    std::string text;
    if (entry.isMultipart) {
        text = WalkMultipart(body, entry);
        if (base64) text = DecodeBase64(text);
    } else {
        text = base64 ? DecodeBase64(body) : std::string(body);
        if (entry.isHtml) text = HtmlToText(text);
    }
    if (base64) entry.isBase64 = 1;
    entry.hasEncodedUrl = UnescapeLinks(text);
    return text;
}

void cutForPreview(std::string& text, bool complete) {
    if (complete && text.size() <= kPreviewMax) return;
    if (text.size() > kPreviewCut) text.resize(kPreviewCut);
    text.append(kMoreMarker);
}

}  // namespace

FilledMessage FillEntry(std::string_view reply, const MessageOrigin& origin) {
    FilledMessage filled;
    MessageEntry& entry = filled.entry;
    entry.uidl = origin.uidl;
    entry.size = origin.size;
    entry.messageNumber = origin.messageNumber;
    entry.accountIndex = origin.accountIndex;
    if (reply.empty()) return filled;

    const std::size_t h = reply.find(kBlankLine);
    // A reply with no empty line is all header block (a message without a
    // body), so its fields are still read.
    const std::string_view block = reply.substr(0, h);
    entry.headers = block;
    readHeaderFields(block, entry);
    readContentTypeFlags(block, entry);
    if (h == npos || h <= kMinHeaderEnd || h >= kMaxHeaderEnd) return filled;

    const std::string_view body = reply.substr(h + kBlankLine.size());
    entry.hasLink = contains(body, "tp://");
    entry.hasCidReference = contains(body, "\"cid:");
    std::string text = previewText(body, entry);
    cutForPreview(text, fetchedWhole(reply.size(), origin.size));
    entry.preview = text;
    filled.bodyToRate = body;
    return filled;
}

}  // namespace qlt
