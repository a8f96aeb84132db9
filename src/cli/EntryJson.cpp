#include "cli/EntryJson.h"

#include <array>
#include <string>
#include <string_view>

#include "cli/Json.h"

namespace qlt::cli {

namespace {

// Builds one object key by key; the first key gets no comma.
class ObjectWriter {
  public:
    explicit ObjectWriter(std::string& out) : m_out(out) { m_out.push_back('{'); }
    ~ObjectWriter() { m_out.push_back('}'); }
    ObjectWriter(const ObjectWriter&) = delete;
    ObjectWriter& operator=(const ObjectWriter&) = delete;

    void text(std::string_view name, std::string_view value) {
        key(name);
        appendJsonString(m_out, value);
    }
    void number(std::string_view name, long long value) {
        key(name);
        m_out += std::to_string(value);
    }
    template <typename T, std::size_t N>
    void numbers(std::string_view name, const std::array<T, N>& values) {
        list(name, values, [](std::string& out, T value) { out += std::to_string(value); });
    }
    template <std::size_t N>
    void texts(std::string_view name, const std::array<std::string, N>& values) {
        list(name, values, [](std::string& out, const std::string& value) { appendJsonString(out, value); });
    }
    // Starts a value the caller writes itself.
    std::string& raw(std::string_view name) {
        key(name);
        return m_out;
    }

  private:
    template <typename T, std::size_t N, typename AppendItem>
    void list(std::string_view name, const std::array<T, N>& values, AppendItem appendItem) {
        key(name);
        m_out.push_back('[');
        for (std::size_t i = 0; i < N; ++i) {
            if (i != 0) m_out.push_back(',');
            appendItem(m_out, values[i]);
        }
        m_out.push_back(']');
    }
    void key(std::string_view name) {
        if (!m_first) m_out.push_back(',');
        m_first = false;
        appendJsonString(m_out, name);
        m_out.push_back(':');
    }

    std::string& m_out;
    bool m_first = true;
};

void appendPart(std::string& out, const MimePartInfo& part) {
    ObjectWriter o(out);
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
        ObjectWriter o(out);
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
