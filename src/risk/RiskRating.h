#pragma once

#include <cstdint>
#include <string_view>

#include "base/KeywordRecord.h"
#include "base/MessageEntry.h"
#include "risk/KeywordDictionary.h"
#include "risk/ReasonWords.h"

// The rating of messages: the dictionary's keywords, then the built-in rules.
namespace qlt {

// Sets the entry's levels and reasons from the dictionary's records and the
// built-in rules. body: the raw body of the TOP reply (untrusted, any bytes);
// accountName: the name of the account being scanned. The entry's headers,
// fields, flags, parts and preview must be filled already.
void rateMessage(const KeywordDictionary& dictionary, std::string_view body, MessageEntry& entry,
                 std::string_view accountName);

// Raises levels from the message-text records found in a whole message.
void rateText(const KeywordDictionary& dictionary, std::string_view text, MessageEntry& entry);

// Raises the record's category in the entry to the record's level, with the
// record's id as reason; levels never fall here.
void applyRecord(const KeywordRecord& record, MessageEntry& entry);

// 0, 2 or 3: how risky the file type named in a MIME part's content type is;
// an extension counts only whole, as in containsExtension.
int attachmentRisk(std::string_view typeText);

// The word classes of classifyWord; only kWordDisguised counts.
enum WordClass : int { kWordNoLetters = 0, kWordAllLetters = 1, kWordMixedCase = 3, kWordDisguised = 5 };

// Words that hide letters behind marks ("$ave", "cl!ck"); -1 for an empty text.
int countDisguisedWords(std::string_view text);

// One of WordClass for a word of at least 4 characters.
int classifyWord(std::string_view word);

}  // namespace qlt
