// One whole mailbox scan against a running POP3 server, as the desktop
// program runs it (login, then ScanMailbox with the keyword dictionary),
// timed and with the process's peak memory. bench/scan_scale.py starts the server and fills the
// mailbox; this program only scans.
//
//   qlt_scan_scale PORT USER PASSWORD DICTIONARY
//
// Prints one line of JSON: messages listed, seconds, resident memory before
// the scan and the peak (kB).
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "base/Clock.h"
#include "base/MessageList.h"
#include "content/MailboxScan.h"
#include "pop3/Pop3Client.h"
#include "risk/KeywordDictionary.h"

namespace {

class QuietUi final : public qlt::UiPort {
  public:
    qlt::BoxAnswer messageBox(const std::string& title, const std::string& text, qlt::BoxIcon,
                              qlt::BoxButtons) override {
        std::cerr << title << ": " << text << '\n';
        return qlt::BoxAnswer::Ok;
    }
    void progress(int, long) override {}
    void pumpPaint() override {}
    void pumpMessages() override {}
};

// A field of /proc/self/status in kB. The peak is VmHWM rather than
// getrusage's, which keeps the peak of the process that ran us before exec.
long statusKb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
    return -1;
}

// User and system time of this process: what the scan costs us, apart from
// the time spent waiting on the server.
double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

qlt::AccountRecord benchAccount(int port, const std::string& user, const std::string& password) {
    qlt::AccountRecord account;
    account.server = "127.0.0.1";
    account.port = static_cast<std::uint32_t>(port);
    account.userName = user;
    account.password = password;
    account.accountName = "bench";
    account.timeout = 60;
    account.accountNumber = 1;
    account.status = qlt::kStatusUpdateNeeded;
    return account;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: qlt_scan_scale PORT USER PASSWORD DICTIONARY\n";
        return 2;
    }
    QuietUi ui;
    qlt::SystemClock clock;
    qlt::KeywordDictionary dictionary;
    dictionary.loadDictionary(ui, {argv[4], ""});
    const qlt::AccountRecord account = benchAccount(std::stoi(argv[1]), argv[2], argv[3]);
    const long before = statusKb("VmRSS");
    const double cpuBefore = cpuSeconds();

    const auto start = std::chrono::steady_clock::now();
    qlt::Pop3Client client(ui, clock);
    qlt::MessageList list;
    int result = qlt::kScanFailed;
    if (client.Connect(account))
        result = qlt::ScanMailbox({client, list, dictionary, account, 1024, false, ui, clock});
    client.Close();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

    std::printf(
        "{\"result\": %d, \"entries\": %zu, \"seconds\": %.4f, \"cpuSeconds\": %.4f, \"rssBeforeKb\": %ld, "
        "\"peakRssKb\": %ld}\n",
        result, list.count(), elapsed.count(), cpuSeconds() - cpuBefore, before, statusKb("VmHWM"));
    return result > 0 ? 0 : 1;
}
