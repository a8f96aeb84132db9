#pragma once

#include <string>

namespace qlt {

// Texts the program keeps enciphered and builds when it needs them.

// The keyword dictionary data file, by bare name (opened in the data folder).
std::string dictionaryFileName();
// What the first record of the data file must hold in its first 14 characters.
std::string dictionarySignature();
// Shown when the data file is empty or 64 KB or larger.
std::string dictionarySizeError();
// Shown when the data file does not start with the signature or cannot be read.
std::string dictionarySignatureError();

// The sender list file, by bare name (opened in the current folder).
std::string senderListFileName();
// Shown when the sender list file is 64 KB or larger.
std::string senderListSizeError();
// Shown when a sender list record has a kind the program does not know.
std::string senderListRecordError();

inline constexpr std::size_t kSignatureLength = 14;

// Title of the plain OK message boxes.
inline constexpr char kProgramName[] = "Quillgate";

}  // namespace qlt
