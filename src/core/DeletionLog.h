#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/MessageEntry.h"
#include "base/SystemTime.h"

namespace qlt {

// The log of deleted mail in the data folder: one JSON object a line, each
// a message whose deletion the server confirmed with QUIT.
inline constexpr const char* kDeletionLogFileName = "deleted.jsonl";
// Entries older than this are dropped at start-up.
inline constexpr int kDeletionLogDays = 90;

// One deleted message, as the log keeps it. Texts are UTF-8.
struct DeletionRecord {
    std::string time;  // UTC, "2026-03-02T10:30:15Z"
    std::string account;
    std::string uidl;
    std::int64_t size = 0;
    std::string from;
    std::string subject;
    std::string date;
    std::array<std::uint8_t, kRiskCategories> levels{};
    std::array<std::string, kRiskCategories> reasons;
    bool taggedByHand = false;  // else the automatic rule tagged it
    bool blackListed = false;

    friend bool operator==(const DeletionRecord&, const DeletionRecord&) = default;
};

DeletionRecord MakeDeletionRecord(const MessageEntry& entry, std::string_view account, const SystemTime& utc,
                                  bool taggedByHand);

// The record as one line of JSON, without its line end, and back; a line
// that is not a record gives nothing.
std::string DeletionLine(const DeletionRecord& record);
std::optional<DeletionRecord> ParseDeletionLine(std::string_view line);

// Why the message went, in words: who tagged it, a black-listed sender, and
// each category rated above green with its level and reason.
std::string DeletionReasons(const DeletionRecord& record);

std::string IsoUtcTime(const SystemTime& utc);
// Whether the record was made at most `days` days before `now` (UTC); a
// record whose time cannot be read is not.
bool RecordedWithin(const DeletionRecord& record, const SystemTime& now, int days);

// The log file at `path`. Every change rewrites it whole and atomically, as
// a file only its owner may read: it names senders and subjects.
class DeletionLog {
  public:
    explicit DeletionLog(std::string path) : m_path(std::move(path)) {}

    // Adds the records after those kept; 0 or the errno of the failed write.
    int append(const std::vector<DeletionRecord>& records) const;
    // Every record, oldest first; lines that are not records are passed over.
    std::vector<DeletionRecord> read() const;
    // Drops the records older than kDeletionLogDays, and lines that are not
    // records; the file is written only when something went. 0 or an errno.
    int prune(const SystemTime& now) const;

    const std::string& path() const { return m_path; }

  private:
    std::vector<std::string> lines() const;
    int write(const std::vector<std::string>& lines) const;

    std::string m_path;
};

}  // namespace qlt
