#include "risk/SenderList.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <span>

#include "base/AsciiText.h"
#include "base/AtomicFile.h"
#include "risk/KeywordMatcher.h"
#include "store/BuiltInTexts.h"

namespace qlt {

namespace {

constexpr std::size_t kMaxSenderFileSize = 65535;
// More records would make a file that every load refuses.
constexpr std::size_t kMaxSenderRecords = kMaxSenderFileSize / SenderRecord::kSize;

using ListedText = decltype(SenderRecord::text);

// The text as a record keeps it: trimmed and cut to fit, so that the same
// long From finds the record it made before.
ListedText listedText(std::string_view text) {
    return ListedText(trimWhiteSpace(text));
}

// Every record's text in one automaton: marking a long message list then
// costs one pass over each From, however many records the list holds. Of the
// records found in a From the last one decides.
class SenderMarks {
  public:
    explicit SenderMarks(const std::vector<SenderRecord>& records) {
        for (std::size_t i = 0; i < records.size(); ++i) {
            const std::size_t key = m_matcher.add(records[i].text);
            if (key == KeywordMatcher::kNever) continue;
            if (key >= m_lastKind.size()) m_lastKind.resize(key + 1);
            // Records of the same text share a key; the later one wins.
            m_lastKind[key] = {i, records[i].kind};
        }
        m_matcher.finish();
    }

    std::uint8_t statusOf(std::string_view from) {
        m_matcher.findAll(from, m_hits);
        const LastKind* last = nullptr;
        for (std::size_t key = 0; key < m_lastKind.size(); ++key)
            if (m_hits[key] && (!last || m_lastKind[key].order > last->order)) last = &m_lastKind[key];
        return last ? last->kind : std::uint8_t{kSenderUnlisted};
    }

  private:
    struct LastKind {
        std::size_t order = 0;  // the record's place in the list
        std::uint8_t kind = kSenderUnlisted;
    };

    KeywordMatcher m_matcher;
    std::vector<LastKind> m_lastKind;  // by key
    std::vector<std::uint8_t> m_hits;
};

}  // namespace

std::string senderListPath(const std::string& folder) {
    return folder + "/" + senderListFileName();
}

void SenderList::addSender(std::string_view text, std::uint8_t kind) {
    const ListedText wanted = listedText(text);
    if (wanted.empty() || kind > kMaxSenderKind) return;
    if (loadSenderList() == Load::Refused) return;
    const auto found = std::find_if(m_records.begin(), m_records.end(),
                                    [&](const SenderRecord& r) { return containsNoCase(r.text, wanted); });
    if (found != m_records.end()) {
        found->kind = kind;
        saveSenderList();
    } else if (m_records.size() < kMaxSenderRecords) {
        m_records.push_back({kind, wanted});
        saveSenderList();
    } else {
        showOkBox(senderListSizeError());
    }
    m_records.clear();
}

void SenderList::removeSender(std::string_view text) {
    if (loadSenderList() != Load::Loaded) return;
    const ListedText wanted = listedText(text);
    if (!wanted.empty()) {
        const auto found = std::find_if(m_records.begin(), m_records.end(), [&](const SenderRecord& r) {
            return containsNoCase(r.text, wanted);
        });
        if (found != m_records.end()) m_records.erase(found);
        saveSenderList();
    }
    m_records.clear();
}

void SenderList::applySenderList(MessageList& messages) {
    if (loadSenderList() != Load::Loaded) return;
    SenderMarks marks(m_records);
    for (std::size_t i = 0; i < messages.count(); ++i) {
        MessageEntry& entry = messages.at(i);
        entry.senderStatus = marks.statusOf(entry.from);
    }
    m_records.clear();
}

SenderList::Load SenderList::loadSenderList() {
    m_records.clear();
    UniqueFile f(std::fopen(m_path.c_str(), "rb"));
    if (!f) return errno == ENOENT ? Load::Missing : Load::Refused;
    std::string bytes(kMaxSenderFileSize + 1, '\0');
    const std::size_t n = std::fread(bytes.data(), 1, bytes.size(), f.get());
    if (std::ferror(f.get())) return Load::Refused;
    if (n > kMaxSenderFileSize) {
        showOkBox(senderListSizeError());
        return Load::Refused;
    }
    bytes.resize(n);
    return readRecords(bytes);
}

// An empty file is an emptied list. A trailing piece shorter than a record
// is no record and is dropped.
SenderList::Load SenderList::readRecords(const std::string& bytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    for (std::size_t at = 0; at + SenderRecord::kSize <= bytes.size(); at += SenderRecord::kSize) {
        const SenderRecord r = SenderRecord::readFrom(
            std::span<const std::uint8_t, SenderRecord::kSize>(data + at, SenderRecord::kSize));
        if (r.kind > kMaxSenderKind) {
            m_records.clear();
            showOkBox(senderListRecordError());
            return Load::Refused;
        }
        m_records.push_back(r);
    }
    return Load::Loaded;
}

// An empty list is written too, as an empty file: keeping the old file would
// bring the last removed record back.
void SenderList::saveSenderList() {
    std::string bytes(m_records.size() * SenderRecord::kSize, '\0');
    auto* data = reinterpret_cast<std::uint8_t*>(bytes.data());
    for (std::size_t i = 0; i < m_records.size(); ++i)
        m_records[i].writeTo(std::span<std::uint8_t, SenderRecord::kSize>(data + i * SenderRecord::kSize,
                                                                          SenderRecord::kSize));
    if (const int error = writeFileAtomically(m_path, bytes)) showOkBox(std::strerror(error));
}

void SenderList::showOkBox(const std::string& text) {
    m_ui.messageBox(kProgramName, text, BoxIcon::Warning, BoxButtons::Ok);
}

}  // namespace qlt
