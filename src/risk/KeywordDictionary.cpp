#include "risk/KeywordDictionary.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "base/AsciiText.h"
#include "risk/DictionaryFile.h"
#include "risk/ExtensionSites.h"
#include "risk/UserStringFile.h"
#include "store/BuiltInTexts.h"

namespace qlt {

namespace {

// A preview this short says nothing; message-text keywords then search the
// header block instead.
constexpr std::size_t kMinPreviewLength = 9;

constexpr std::uint8_t kCategoryVirus = 1;
constexpr std::uint8_t kCategoryUserStrings = 5;

void showOkBox(UiPort& ui, const std::string& text) {
    ui.messageBox(kProgramName, text, BoxIcon::Warning, BoxButtons::Ok);
}

// The whole file when its size is acceptable; the failure already told.
std::optional<Bytes> readDataFile(UiPort& ui, const std::string& path) {
    UniqueFile f(std::fopen(path.c_str(), "rb"));
    if (!f) {
        showOkBox(ui, std::strerror(errno));
        return std::nullopt;
    }
    Bytes data(kMaxDictionaryFileSize + 1);
    const std::size_t n = std::fread(data.data(), 1, data.size(), f.get());
    if (std::ferror(f.get())) {
        showOkBox(ui, std::strerror(errno));
        return std::nullopt;
    }
    if (n == 0 || n > kMaxDictionaryFileSize) {
        showOkBox(ui, dictionarySizeError());
        return std::nullopt;
    }
    data.resize(n);
    return data;
}

// What one message offers the keywords: each text with the keys found in it,
// worked out only for the texts some record searches.
struct SearchedText {
    std::string_view text;
    std::vector<std::uint8_t> hits;
    std::optional<ExtensionSites> sites;

    void find(const KeywordMatcher& matcher, std::string_view t) {
        text = t;
        matcher.findAll(t, hits);
    }
    bool matchExtension(std::string_view needle) {
        if (!sites) sites.emplace(text);
        return sites->match(needle);
    }
};

}  // namespace

KeywordRecord KeywordDictionary::builtInRecord() {
    return KeywordRecord::make(0, "cash", 2, kLevelYellow, kWhereSubject);
}

KeywordDictionary::Sources KeywordDictionary::defaultSources() {
    return {dictionaryFileName(), kUserStringFileName};
}

void KeywordDictionary::loadDictionary(UiPort& ui, const Sources& sources) {
    m_records.clear();
    m_records.push_back(builtInRecord());
    appendUserStrings(ui, sources.userStrings);
    appendDataFile(ui, sources.dataFile);
    prepare();
}

void KeywordDictionary::clearDictionary() {
    assign({});
}

void KeywordDictionary::assign(std::vector<KeywordRecord> records) {
    m_records = std::move(records);
    prepare();
}

void KeywordDictionary::appendUserStrings(UiPort& ui, const std::string& path) {
    const auto file = readUserStrings(path);
    if (!file) return;
    for (const auto& s : file->strings) {
        const std::string_view text = std::string_view(s.text).substr(0, kMaxUserStringLength);
        for (const std::uint8_t where : {kWhereText, kWhereHeaders}) {
            KeywordRecord r = KeywordRecord::make(kUserStringIdBase + s.lineNumber, text,
                                                  kCategoryUserStrings, kLevelRed, where);
            r.length = static_cast<std::uint8_t>(text.size());
            m_records.push_back(r);
        }
    }
    if (file->tooMany) showOkBox(ui, kTooManyUserStrings);
}

void KeywordDictionary::appendDataFile(UiPort& ui, const std::string& path) {
    const auto stored = readDataFile(ui, path);
    if (!stored) return;
    const auto records = decodeDictionaryRecords(*stored);
    if (!records || records->empty() || !hasDictionarySignature(records->front())) {
        showOkBox(ui, dictionarySignatureError());
        return;
    }
    m_records.insert(m_records.end(), records->begin(), records->end());
}

void KeywordDictionary::prepare() {
    m_textMatcher = {};
    m_headerMatcher = {};
    m_fromMatcher = {};
    m_subjectMatcher = {};
    m_extensions.clear();
    m_prepared.assign(m_records.size(), {});
    m_needBody = m_needPreviewText = false;
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        const KeywordRecord& r = m_records[i];
        Prepared& p = m_prepared[i];
        const std::string_view text = r.textView();
        switch (r.where) {
            case kWhereText:
                p.target = r.category == kCategoryVirus ? Target::Body : Target::PreviewText;
                (p.target == Target::Body ? m_needBody : m_needPreviewText) = true;
                p.extension = !text.empty() && text.front() == '.';
                if (p.extension) {
                    p.extensionIndex = m_extensions.size();
                    m_extensions.emplace_back(text);
                }
                p.key = m_textMatcher.add(text);
                break;
            case kWhereHeaders:
                p.target = Target::Headers;
                p.key = m_headerMatcher.add(text);
                break;
            case kWhereFrom:
                p.target = Target::From;
                p.key = m_fromMatcher.add(text);
                break;
            case kWhereSubject:
                p.target = Target::Subject;
                p.key = m_subjectMatcher.add(text);
                break;
            default:
                p.target = Target::None;
                break;
        }
    }
    for (auto* m : {&m_textMatcher, &m_headerMatcher, &m_fromMatcher, &m_subjectMatcher}) m->finish();
}

std::vector<const KeywordRecord*> KeywordDictionary::findInMessage(std::string_view body,
                                                                   const MessageEntry& entry) const {
    const std::string_view previewText =
        entry.preview.size() >= kMinPreviewLength ? entry.preview.view() : entry.headers.view();
    SearchedText bodyText, preview, headers, from, subject;
    if (m_needBody) bodyText.find(m_textMatcher, body);
    if (m_needPreviewText) preview.find(m_textMatcher, previewText);
    headers.find(m_headerMatcher, entry.headers);
    from.find(m_fromMatcher, entry.from);
    subject.find(m_subjectMatcher, entry.subject);

    std::vector<const KeywordRecord*> found;
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        const Prepared& p = m_prepared[i];
        SearchedText* searched = nullptr;
        switch (p.target) {
            case Target::Body:
                searched = &bodyText;
                break;
            case Target::PreviewText:
                searched = &preview;
                break;
            case Target::Headers:
                searched = &headers;
                break;
            case Target::From:
                searched = &from;
                break;
            case Target::Subject:
                searched = &subject;
                break;
            case Target::None:
                continue;
        }
        const bool matched = p.extension ? searched->matchExtension(m_extensions[p.extensionIndex])
                                         : KeywordMatcher::hit(searched->hits, p.key);
        if (matched) found.push_back(&m_records[i]);
    }
    return found;
}

std::vector<const KeywordRecord*> KeywordDictionary::findInText(std::string_view text) const {
    std::vector<std::uint8_t> hits;
    m_textMatcher.findAll(text, hits);
    std::vector<const KeywordRecord*> found;
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        const KeywordRecord& r = m_records[i];
        if (r.where == kWhereText && KeywordMatcher::hit(hits, m_prepared[i].key)) found.push_back(&r);
    }
    return found;
}

}  // namespace qlt
