#include "cli/EntryJson.h"

#include <array>
#include <string>
#include <string_view>

#include "base/Json.h"

namespace qlt::cli {

namespace {

void appendPart(std::string& out, const MimePartInfo& part) {
    JsonObjectWriter o(out);
    o.number("valid", part.valid);
    o.number("partIndex", part.partIndex);
    o.number("messageNumber", part.messageNumber);
    o.text("contentType", part.contentType);
    o.text("transferEncoding", part.transferEncoding);
    o.text("contentId", part.contentId);
    o.text("contentDescription", part.contentDescription);
    o.text("contentDisposition", part.contentDisposition);
}

void appendParts(std::string& out, const MessageEntry& entry) {
    out.push_back('[');
    for (std::size_t i = 0; i < entry.partCount(); ++i) {
        if (i != 0) out.push_back(',');
        appendPart(out, entry.parts[i]);
    }
    out.push_back(']');
}

}  // namespace

std::string entryJson(const MessageEntry& entry) {
    std::string out;
    out.reserve(entry.headers.size() + entry.preview.size() + 1024);
    {
        JsonObjectWriter o(out);
        o.text("headers", entry.headers);
        o.text("preview", entry.preview);
        o.text("uidl", entry.uidl);
        o.text("to", entry.to);
        o.text("from", entry.from);
        o.text("subject", entry.subject);
        o.text("date", entry.date);
        o.text("contentType", entry.contentType);
        o.text("transferEncoding", entry.transferEncoding);
        o.text("boundary", entry.boundary);
        o.number("size", entry.size);
        o.number("messageNumber", entry.messageNumber);
        o.numbers("levelReason", entry.levelReason);
        o.texts("levelReasonText", entry.levelReasonText);
        o.number("accountIndex", entry.accountIndex);
        o.number("senderStatus", entry.senderStatus);
        o.number("partCount", entry.partCount());
        o.numbers("level", entry.level);
        o.number("isMultipart", entry.isMultipart);
        o.number("isMixed", entry.isMixed);
        o.number("isAlternative", entry.isAlternative);
        o.number("isText", entry.isText);
        o.number("isHtml", entry.isHtml);
        o.number("hasLink", entry.hasLink);
        o.number("hasCidReference", entry.hasCidReference);
        o.number("isBase64", entry.isBase64);
        o.number("hasEncodedUrl", entry.hasEncodedUrl);
        appendParts(o.raw("parts"), entry);
    }
    return out;
}

}  // namespace qlt::cli
