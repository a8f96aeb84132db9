#include "pop3/ServerDelete.h"

#include <algorithm>

#include "base/MessageEntry.h"
#include "base/ProgressCodes.h"

namespace qlt {
namespace {

// Commands for this many messages go out in one write. The replies wait in
// the socket buffers while they are read in order; the commands are too few
// bytes ever to fill the server's side, so the write never waits on reading.
constexpr std::size_t kBatch = 32;

// True when the reply to "uidl n" is "+OK n id" for exactly this number and
// id. Checking the number as well keeps a reply read out of step from
// confirming anything.
bool confirmsId(const std::string& reply, const DoomedMessage& message) {
    std::vector<std::string> tokens;
    if (Pop3Client::SplitReply(reply, tokens, ReplyCleaning::Listing) != 2) return false;
    const std::string_view kept = keptUidl(tokens[2]);
    return tokens[1] == std::to_string(message.number) && kept == message.uidl;
}

// The ids of doomed[first, last) on the server. Returns false when the
// connection broke; the messages confirmed so far are appended to `confirmed`.
bool checkIds(Pop3Client& client, const std::vector<DoomedMessage>& doomed, std::size_t first,
              std::size_t last, std::vector<DeleteFate>& fates, std::vector<std::size_t>& confirmed) {
    for (std::size_t i = first; i < last; ++i)
        if (!doomed[i].uidl.empty()) client.QueueUidl(doomed[i].number);
    for (std::size_t i = first; i < last; ++i) {
        if (doomed[i].uidl.empty()) {
            confirmed.push_back(i);
            continue;
        }
        // A refusal means the number names no message any more.
        const Pop3Client::Answer answer = client.ReadAnswer("UIDL returned ERROR\r\n");
        if (answer == Pop3Client::Answer::Failed) return false;
        if (answer == Pop3Client::Answer::Accepted && confirmsId(client.m_strReply, doomed[i]))
            confirmed.push_back(i);
        else
            fates[i] = DeleteFate::Changed;
    }
    return true;
}

// DELE for the confirmed messages; false once one was refused or the
// connection broke.
bool deleteConfirmed(Pop3Client& client, const std::vector<DoomedMessage>& doomed,
                     const std::vector<std::size_t>& confirmed, std::vector<DeleteFate>& fates, UiPort& ui) {
    long deleted = 0;
    for (std::size_t first = 0; first < confirmed.size(); first += kBatch) {
        const std::size_t last = std::min(confirmed.size(), first + kBatch);
        for (std::size_t k = first; k < last; ++k) client.QueueDele(doomed[confirmed[k]].number);
        for (std::size_t k = first; k < last; ++k) {
            if (client.ReadAnswer("DELE returned ERROR\r\n") != Pop3Client::Answer::Accepted) return false;
            fates[confirmed[k]] = DeleteFate::Deleted;
            ui.progress(kProgressDeleting, ++deleted);
        }
    }
    return true;
}

}  // namespace

std::vector<DeleteFate> DeleteMessages(Pop3Client& client, const std::vector<DoomedMessage>& doomed,
                                       UiPort& ui) {
    std::vector<DeleteFate> fates(doomed.size(), DeleteFate::Failed);
    std::vector<std::size_t> confirmed;
    for (std::size_t first = 0; first < doomed.size(); first += kBatch) {
        if (!checkIds(client, doomed, first, std::min(doomed.size(), first + kBatch), fates, confirmed)) {
            client.Close();
            return fates;
        }
    }
    // Once a DELE is refused the session must end without QUIT, which takes
    // back every DELE already accepted.
    if (!deleteConfirmed(client, doomed, confirmed, fates, ui)) client.Close();
    return fates;
}

}  // namespace qlt
