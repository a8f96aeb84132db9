#include "risk/KeywordDictionary.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "base/AsciiText.h"
#include "risk/DictionaryFile.h"
#include "risk/ReasonWords.h"
#include "risk/RiskRules.h"
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

void setRuleLevel(MessageEntry& entry, RiskCategory category, std::uint8_t level, std::uint32_t rule) {
    setLevel(entry, category, level, rule, std::string(ruleReasonWords(rule)));
}

// The built-in rules after the keywords, in their order of precedence.
void applyAttachmentRule(MessageEntry& entry) {
    if (!entry.isMultipart) return;
    for (const auto& part : entry.parts) {
        if (!part.valid) break;
        const int risk = attachmentRisk(part.contentType);
        // An assignment, not a raise: the last risky part has the say.
        if (risk >= kLevelOrange)
            setRuleLevel(entry, kVirus, static_cast<std::uint8_t>(risk), kReasonRiskyAttachment);
    }
}

void raiseSpam(MessageEntry& entry, std::uint8_t level, std::uint32_t reason) {
    if (entry.level[kSpam] < level) setRuleLevel(entry, kSpam, level, reason);
}

void applySpamRules(MessageEntry& entry, std::string_view accountName) {
    if (!containsNoCase(entry.to, accountName)) raiseSpam(entry, kLevelOrange, kReasonNotAddressed);
    if (entry.isBase64) raiseSpam(entry, kLevelRed, kReasonBase64Body);
    if (countDisguisedWords(entry.subject) > 0) raiseSpam(entry, kLevelRed, kReasonDisguisedSubject);
    if (countDisguisedWords(entry.preview) > 0) raiseSpam(entry, kLevelRed, kReasonDisguisedPreview);
    if (entry.hasEncodedUrl) raiseSpam(entry, kLevelRed, kReasonEncodedUrl);
    if (trimWhiteSpace(entry.from).empty()) raiseSpam(entry, kLevelRed, kReasonNoSender);
}

void applyLinkRules(MessageEntry& entry) {
    if (entry.hasLink) {
        raiseSpam(entry, kLevelRed, kReasonLink);
        if (entry.level[kVirus] == kLevelNone) setRuleLevel(entry, kVirus, kLevelYellow, kReasonLink);
    }
    if (entry.hasCidReference) {
        raiseSpam(entry, kLevelRed, kReasonCidReference);
        if (entry.level[kVirus] < kLevelOrange)
            setRuleLevel(entry, kVirus, kLevelOrange, kReasonCidReference);
    }
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

void KeywordDictionary::rateMessage(std::string_view body, MessageEntry& entry,
                                    std::string_view accountName) const {
    applyKeywords(body, entry);
    applyAttachmentRule(entry);
    applySpamRules(entry, accountName);
    applyLinkRules(entry);
}

void KeywordDictionary::applyKeywords(std::string_view body, MessageEntry& entry) const {
    const std::string_view previewText =
        entry.preview.size() >= kMinPreviewLength ? entry.preview.view() : entry.headers.view();
    SearchedText bodyText, preview, headers, from, subject;
    if (m_needBody) bodyText.find(m_textMatcher, body);
    if (m_needPreviewText) preview.find(m_textMatcher, previewText);
    headers.find(m_headerMatcher, entry.headers);
    from.find(m_fromMatcher, entry.from);
    subject.find(m_subjectMatcher, entry.subject);

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
        const bool found = p.extension ? searched->matchExtension(m_extensions[p.extensionIndex])
                                       : KeywordMatcher::hit(searched->hits, p.key);
        if (found) applyRecord(m_records[i], entry);
    }
}

void KeywordDictionary::rateText(std::string_view text, MessageEntry& entry) const {
    std::vector<std::uint8_t> hits;
    m_textMatcher.findAll(text, hits);
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        const KeywordRecord& r = m_records[i];
        if (r.where != kWhereText) continue;
        if (KeywordMatcher::hit(hits, m_prepared[i].key)) applyRecord(r, entry);
    }
}

}  // namespace qlt
