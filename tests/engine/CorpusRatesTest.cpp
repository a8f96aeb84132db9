#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "CorpusFiles.h"
#include "content/EntryFiller.h"
#include "risk/KeywordDictionary.h"
#include "risk/RiskRating.h"
#include "store/BuiltInTexts.h"
#include "store/Settings.h"
#include "support/ScriptedUiPort.h"

namespace qlt {
namespace {

// What "quillgate-cli rate" rates for when not told an account: no name, so
// every message counts as not addressed to it (spam 2, below the threshold).
constexpr std::string_view kDefaultAccountName;
constexpr double kMinDetectedShare = 0.9;

const char* const kCategoryNames[kRiskCategories] = {"virus", "spam", "X-rated", "foul", "user"};

// What became of one corpus folder.
struct Tally {
    int messages = 0;
    int red = 0;        // some category at the threshold
    int byKeyword = 0;  // some category at the threshold set by a dictionary record
    std::string missed;

    double share(int n) const { return messages == 0 ? 0.0 : 100.0 * n / messages; }
};

class CorpusRates : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        test::ScriptedUiPort ui;
        dictionary.loadDictionary(ui, {test::resPath(dictionaryFileName()), ""});
    }

    // Filled and rated as a scan does it.
    static MessageEntry rate(const test::CorpusMessage& m) {
        FilledMessage filled = FillEntry(m.reply, {"", static_cast<std::int32_t>(m.reply.size()), 1, 1});
        if (filled.bodyToRate) rateMessage(dictionary, *filled.bodyToRate, filled.entry, kDefaultAccountName);
        return filled.entry;
    }

    // The table record that set the category's level; none for a built-in rule.
    static const KeywordRecord* keywordBehind(const MessageEntry& e, int category) {
        const std::uint32_t reason = e.levelReason[category];
        const auto& records = dictionary.records();
        const auto it = std::find_if(records.begin(), records.end(),
                                     [&](const KeywordRecord& r) { return r.id == reason && reason != 0; });
        return it == records.end() ? nullptr : &*it;
    }

    // Adds the message to the tally; a category at the threshold set by a
    // record is handed to onKeyword.
    template <typename OnKeyword>
    static void count(const test::CorpusMessage& m, std::uint8_t threshold, Tally& tally,
                      OnKeyword onKeyword) {
        const MessageEntry e = rate(m);
        ++tally.messages;
        bool red = false;
        bool byKeyword = false;
        for (int c = 0; c < kRiskCategories; ++c) {
            if (e.level[c] < threshold) continue;
            red = true;
            if (const KeywordRecord* r = keywordBehind(e, c)) {
                byKeyword = true;
                onKeyword(c, *r);
            }
        }
        tally.red += red ? 1 : 0;
        tally.byKeyword += byKeyword ? 1 : 0;
        if (!red) tally.missed += " " + m.name;
    }

    static void print(const char* what, const Tally& t) {
        std::printf("%-16s %3d messages, %3d red (%5.1f %%), %3d red by a keyword (%5.1f %%)\n", what,
                    t.messages, t.red, t.share(t.red), t.byKeyword, t.share(t.byKeyword));
    }

    static inline KeywordDictionary dictionary;
};

TEST_F(CorpusRates, NoKeywordTagsOrdinaryMail) {
    const auto ordinary = test::corpusMessages("corpus/ordinary", ".eml");
    ASSERT_GE(ordinary.size(), 80u);
    Tally tally;
    for (const auto& m : ordinary) {
        count(m, Settings{}.delTag, tally, [&](int category, const KeywordRecord& r) {
            ADD_FAILURE() << m.name << ": " << kCategoryNames[category] << " 3 from record 0x" << std::hex
                          << r.id << " \"" << r.textView() << "\"";
        });
    }
    print("ordinary", tally);
}

// Each kind of junk (the file name up to its first "-") is shown on its own.
TEST_F(CorpusRates, NineInTenJunkMessagesReachRed) {
    const auto junk = test::corpusMessages("corpus/junk", ".eml");
    ASSERT_GE(junk.size(), 50u);
    Tally all;
    std::map<std::string, Tally> kinds;
    for (const auto& m : junk) {
        const std::string file = m.name.substr(m.name.find('/') + 1);
        count(m, kLevelRed, all, [](int, const KeywordRecord&) {});
        count(m, kLevelRed, kinds[file.substr(0, file.find('-'))], [](int, const KeywordRecord&) {});
    }
    for (const auto& [kind, tally] : kinds) print(kind.c_str(), tally);
    print("junk", all);
    EXPECT_GE(all.red, kMinDetectedShare * all.messages) << "not red:" << all.missed;
}

}  // namespace
}  // namespace qlt
