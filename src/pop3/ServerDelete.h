#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/UiPort.h"
#include "pop3/Pop3Client.h"

namespace qlt {

// A message tagged for deletion as the scan saw it: its number then, and its
// id ("" when the server gave it none).
struct DoomedMessage {
    std::int32_t number = 0;
    std::string uidl;
};

enum class DeleteFate : std::uint8_t {
    Deleted,  // the server accepted DELE; final only once QUIT is confirmed
    Changed,  // the number now names another message, or none: not sent
    Failed,   // not deleted: the connection broke or a DELE was refused
};

// Sends DELE for each message on the logged-in connection, but only after
// the server confirmed (UIDL n) that the number still names the message the
// scan saw: message numbers go stale when another program deletes mail
// between a scan and this call. A message without an id is deleted by its
// number alone. The ids are checked first and the DELEs sent after, in
// batches of one write each when the server pipelines.
//
// A refused DELE closes the connection (so the server deletes nothing) and
// the messages after it fail. Progress event kProgressDeleting goes out with
// the count so far after each accepted DELE. The caller sends QUIT.
std::vector<DeleteFate> DeleteMessages(Pop3Client& client, const std::vector<DoomedMessage>& doomed,
                                       UiPort& ui);

}  // namespace qlt
