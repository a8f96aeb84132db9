#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CorpusFiles.h"
#include "content/EntryFiller.h"
#include "risk/KeywordDictionary.h"
#include "risk/RiskRating.h"
#include "store/BuiltInTexts.h"
#include "support/ScriptedUiPort.h"
#include "support/TestPaths.h"

namespace qlt {
namespace {

using test::CorpusMessage;
using test::corpusMessages;

// The lengths a message is cut to: every length in the first lines (where the
// header block and its empty line are), then a stride through the rest.
std::vector<std::size_t> cutLengths(std::size_t size) {
    std::vector<std::size_t> lengths;
    for (std::size_t n = 0; n < size && n < 96; ++n) lengths.push_back(n);
    for (std::size_t n = 96; n < size; n += 17) lengths.push_back(n);
    if (size > 0) lengths.push_back(size - 1);
    lengths.push_back(size);
    return lengths;
}

class CorpusReplay : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ScriptedUiPort ui;
        dictionary.loadDictionary(ui, {test::resPath(dictionaryFileName()), ""});
        ASSERT_GE(dictionary.count(), 300u) << "the shipped dictionary did not load";
    }

    MessageEntry fillAndRate(std::string_view reply, std::int32_t size) const {
        FilledMessage filled = FillEntry(reply, {"uidl-1", size, 7, 1});
        if (filled.bodyToRate) rateMessage(dictionary, *filled.bodyToRate, filled.entry, "recipient");
        return filled.entry;
    }

    KeywordDictionary dictionary;
};

void expectSane(const MessageEntry& e, const std::string& what) {
    EXPECT_LE(e.preview.size(), 2047u) << what;
    EXPECT_LE(e.headers.size(), 2047u) << what;
    EXPECT_LE(e.partCount(), kMaxMimeParts) << what;
    for (int c = 0; c < kRiskCategories; ++c) {
        EXPECT_LE(e.level[c], kLevelRed) << what << " category " << c;
        EXPECT_EQ(e.level[c] == 0, e.levelReason[c] == 0) << what << " category " << c;
    }
    for (const auto& part : e.parts) EXPECT_EQ(part.messageNumber, 7) << what;
}

// Every corpus message and every fixture, whole and cut short as a TOP reply
// that stopped early would be: the fill stays within its bounds and a cut
// message whose body was read says that more follows.
TEST_F(CorpusReplay, WholeAndCutMessagesFillAndRateWithinBounds) {
    std::vector<CorpusMessage> messages;
    for (const char* folder : {"corpus/ordinary", "corpus/junk", "messages"}) {
        const auto some = corpusMessages(folder, ".eml");
        ASSERT_GE(some.size(), 10u) << folder;
        messages.insert(messages.end(), some.begin(), some.end());
    }
    for (const auto& m : messages) {
        const auto full = static_cast<std::int32_t>(m.reply.size());
        for (const std::size_t n : cutLengths(m.reply.size())) {
            const std::string what = m.name + " cut to " + std::to_string(n);
            const MessageEntry e = fillAndRate(std::string_view(m.reply).substr(0, n), full);
            expectSane(e, what);
            if (n + 2 < m.reply.size() && !e.preview.empty()) {
                EXPECT_TRUE(e.preview.view().ends_with(kMoreMarker)) << what;
            }
        }
    }
}

TEST_F(CorpusReplay, SamplesRateAsTheShippedDictionarySays) {
    const std::string spam = test::readCorpusMessage("junk/lottery-euro.eml");
    const std::string ham = test::readCorpusMessage("ordinary/newsletter-with-links.eml");
    ASSERT_FALSE(spam.empty());
    ASSERT_FALSE(ham.empty());

    const MessageEntry spamEntry = fillAndRate(spam, static_cast<std::int32_t>(spam.size()));
    EXPECT_GT(spamEntry.level[kSpam], 0);
    EXPECT_LT(spamEntry.levelReason[kSpam], kReasonNotAddressed) << "a dictionary record should mark it";

    // The newsletter carries links, which the built-in link rule marks; the
    // word lists must not take it for X-rated or foul.
    const MessageEntry hamEntry = fillAndRate(ham, static_cast<std::int32_t>(ham.size()));
    EXPECT_EQ(hamEntry.level[kXRated], 0);
    EXPECT_EQ(hamEntry.level[kFoulLanguage], 0);
    EXPECT_EQ(hamEntry.levelReason[kSpam], kReasonLink);
}

}  // namespace
}  // namespace qlt
