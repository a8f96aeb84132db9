#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "base/AsciiText.h"
#include "risk/DictionarySource.h"
#include "risk/ExtensionSites.h"
#include "risk/KeywordMatcher.h"
#include "support/TestPaths.h"

namespace qlt {
namespace {

// Debian's English word list (package wamerican).
constexpr char kWordList[] = "/usr/share/dict/words";
constexpr std::size_t kExamples = 6;

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string folded(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = foldCase(c);
    return out;
}

bool isInflection(std::string_view ending) {
    static constexpr std::array<std::string_view, 13> kEndings = {
        "", "s", "es", "ed", "er", "ers", "est", "ier", "iest", "ing", "ly", "y", "ness"};
    return std::find(kEndings.begin(), kEndings.end(), ending) != kEndings.end();
}

// A word that is the record's own word inflected (nudes, nuder, idiot's,
// shitty) is that word again, not another word holding it.
bool isOwnWord(std::string_view needle, std::string_view word) {
    const std::string stem = folded(trimWhiteSpace(needle));
    std::string w = folded(word);
    if (w.ends_with("'s")) w.resize(w.size() - 2);
    if (stem.empty() || !w.starts_with(stem)) return false;
    const std::string_view rest = std::string_view(w).substr(stem.size());
    const bool doubled = rest.size() > 1 && rest.front() == stem.back();
    return isInflection(rest) || (doubled && isInflection(rest.substr(1))) ||
           (stem.back() == 'e' && isInflection("e" + std::string(rest)));
}

// Record texts (folded) that may match inside other words, with the reason.
std::map<std::string, std::string> allowedInsideWords() {
    std::map<std::string, std::string> allowed;
    for (const std::string& line : linesOf(readText(test::resPath("dictionary/allowed-inside-words.txt")))) {
        if (line.empty() || line.front() == '#') continue;
        const std::size_t close = line.find('"', 1);
        const std::string reason =
            close == std::string::npos
                ? ""
                : std::string(trimWhiteSpace(std::string_view(line).substr(close + 1)));
        EXPECT_TRUE(line.front() == '"' && !reason.empty())
            << "allow-list line needs \"text\" and a reason: " << line;
        if (close != std::string::npos) allowed[folded(line.substr(1, close - 1))] = reason;
    }
    return allowed;
}

// The record text and the words it matched inside, a few of each.
using Findings = std::map<std::string, std::vector<std::string>>;

void note(Findings& findings, std::string_view needle, const std::string& word) {
    auto& words = findings[std::string(needle)];
    if (words.size() < kExamples) words.push_back(word);
}

// Every record run over every word as the rating runs it: extension records
// after a short name part ("photo.<word>"), the others through the matcher
// over the word between blanks.
Findings recordsInsideWords(const std::vector<KeywordRecord>& records,
                            const std::vector<std::string>& words) {
    KeywordMatcher matcher;
    std::vector<std::string> needles;
    std::vector<std::string> extensions;
    for (const auto& r : records) {
        const std::string_view text = r.textView();
        if (r.where == kWhereText && text.front() == '.') {
            extensions.emplace_back(text);
        } else if (matcher.add(text) == needles.size()) {
            needles.emplace_back(text);
        }
    }
    matcher.finish();
    Findings findings;
    std::vector<std::uint8_t> hits;
    for (const std::string& word : words) {
        matcher.findAll(" " + word + " ", hits);
        for (std::size_t key = 0; key < needles.size(); ++key)
            if (hits[key] && !isOwnWord(needles[key], word)) note(findings, needles[key], word);
        for (const std::string& ext : extensions)
            if (matchExtension("photo." + word, ext) && !isOwnWord(ext.substr(1), word))
                note(findings, ext, word);
    }
    return findings;
}

TEST(DictionaryWordGuard, NoRecordMatchesInsideAnOrdinaryWord) {
    const std::vector<std::string> words = linesOf(readText(kWordList));
    ASSERT_GT(words.size(), 50000u) << kWordList << " is missing: install wamerican (scripts/setup.sh)";
    std::string error;
    const auto records = parseDictionarySource(readText(test::resPath("dictionary/keywords.txt")), error);
    ASSERT_TRUE(records) << error;

    auto allowed = allowedInsideWords();
    for (const auto& [needle, examples] : recordsInsideWords(*records, words)) {
        if (allowed.erase(folded(needle)) > 0) continue;
        std::string list;
        for (const auto& w : examples) list += " " + w;
        ADD_FAILURE() << "\"" << needle << "\" matches inside:" << list;
    }
    for (const auto& [needle, reason] : allowed)
        ADD_FAILURE() << "allowed \"" << needle << "\" matches inside no word: drop it from the allow-list";
}

}  // namespace
}  // namespace qlt
