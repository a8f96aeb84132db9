#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/AccountRecord.h"

namespace qlt::cli {

// What "quillgate-cli scan" was asked to do.
struct ScanOptions {
    std::string server;
    long long port = 0;  // 0: the usual port of the security
    std::uint8_t security = kSecurityNone;
    std::string caFile;  // empty: the system's certificates
    std::string user;
    std::string password;      // as given: the password, or "-" for standard input
    std::string passwordFile;  // a file whose first line is the password
    std::string accountName;
    long long timeoutSeconds = 30;
    long long scanBuf = 1024;
    std::string dictionary;   // empty: the shipped data file
    std::string userStrings;  // empty: none
    std::string senders;      // empty: senders are not marked
};

// The options after "scan", or nothing when they do not make sense (the
// reason goes to error).
std::optional<ScanOptions> parseScanOptions(const std::vector<std::string>& args, std::string& error);

// quillgate-cli scan (see its --help). Logs in, scans the mailbox into an empty list and prints the result,
// the server's counters, the measured rate, the error text and the entries as one JSON object; a failure
// is also told in one line on standard error. Returns the exit code: 0 scanned (also empty or stopped),
// 1 no login or a failed scan, 2 usage or no password.
int runScan(const std::vector<std::string>& args);

}  // namespace qlt::cli
