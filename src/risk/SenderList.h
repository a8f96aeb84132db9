#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/MessageList.h"
#include "base/UiPort.h"
#include "risk/SenderRecord.h"

namespace qlt {

// The path of the sender list file in a folder ("." is the current folder).
std::string senderListPath(const std::string& folder = ".");

// The user's white and black lists of senders, kept in one file of raw
// records. Every operation reads the file afresh, acts and lets the records
// go, so the file is the only copy and another instance sees each change.
// Failures are shown in the program's OK box.
class SenderList {
  public:
    SenderList(UiPort& ui, std::string path) : m_ui(ui), m_path(std::move(path)) {}

    // Lists the text with the kind (kSenderFriend or kSenderFoe): the first
    // record whose text contains it gets the kind, or a new record is added
    // at the end. A file that exists but cannot be read is left alone.
    void addSender(std::string_view text, std::uint8_t kind);

    // Takes out the first record whose text contains the given text.
    void removeSender(std::string_view text);

    // Gives every entry the kind of the last record whose text occurs in
    // its From, or 0; leaves the marks as they are when there is no list.
    void applySenderList(MessageList& messages);

  private:
    enum class Load { Loaded, Missing, Refused };

    Load loadSenderList();
    void saveSenderList();
    // The file's records, or why there are none; the refusal already told.
    Load readRecords(const std::string& bytes);
    void showOkBox(const std::string& text);

    UiPort& m_ui;
    std::string m_path;
    // Filled only for the length of one operation.
    std::vector<SenderRecord> m_records;
};

}  // namespace qlt
