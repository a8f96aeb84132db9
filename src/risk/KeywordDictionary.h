#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/KeywordRecord.h"
#include "base/MessageEntry.h"
#include "base/UiPort.h"
#include "risk/KeywordMatcher.h"

namespace qlt {

// The keyword table and the search of a message's texts for its records
// (RiskRating turns what is found into levels). Loaded afresh for each scan
// (so edits to the files count at the next one) and cleared after.
class KeywordDictionary {
  public:
    // The built-in record that heads every table.
    static KeywordRecord builtInRecord();
    static constexpr std::uint32_t kUserStringIdBase = 0xF80000;
    static constexpr std::size_t kMaxUserStringLength = 64;

    struct Sources {
        std::string dataFile;     // the dictionary data file
        std::string userStrings;  // "userlst.dat"
    };
    // The files by bare name, as found in the current (data) folder.
    static Sources defaultSources();

    // Builds the table: the built-in record, the user strings, then the data
    // file's records. A missing user-string file adds nothing; every other
    // failure is told through the front end and keeps what was loaded before.
    void loadDictionary(UiPort& ui, const Sources& sources = defaultSources());
    void clearDictionary();

    // Replaces the table (tools and tests build one by hand).
    void assign(std::vector<KeywordRecord> records);

    std::size_t count() const { return m_records.size(); }
    const KeywordRecord& at(std::size_t i) const { return m_records[i]; }
    const std::vector<KeywordRecord>& records() const { return m_records; }

    // The records found in a message, in table order. Each searches the text
    // its place names: message-text records the body (virus) or the preview
    // (the others; the header block when the preview is too short to say
    // anything), header, From and Subject records those of the entry.
    // body: the raw body of the TOP reply (untrusted, any bytes).
    std::vector<const KeywordRecord*> findInMessage(std::string_view body, const MessageEntry& entry) const;

    // The message-text records found in a whole message, in table order.
    std::vector<const KeywordRecord*> findInText(std::string_view text) const;

  private:
    enum class Target : std::uint8_t { None, Body, PreviewText, Headers, From, Subject };

    // A record prepared for matching: which text it searches and its key.
    struct Prepared {
        Target target = Target::None;
        bool extension = false;  // searched with matchExtension, except in a whole message
        std::size_t key = KeywordMatcher::kNever;
        std::size_t extensionIndex = 0;  // into m_extensions
    };

    void appendUserStrings(UiPort& ui, const std::string& path);
    void appendDataFile(UiPort& ui, const std::string& path);
    void prepare();

    std::vector<KeywordRecord> m_records;
    std::vector<Prepared> m_prepared;
    // One automaton per searched text kind: message text, header block, From, Subject.
    KeywordMatcher m_textMatcher;
    KeywordMatcher m_headerMatcher;
    KeywordMatcher m_fromMatcher;
    KeywordMatcher m_subjectMatcher;
    std::vector<std::string> m_extensions;  // the texts of the extension records
    bool m_needBody = false;
    bool m_needPreviewText = false;
};

}  // namespace qlt
