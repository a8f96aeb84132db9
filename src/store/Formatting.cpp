#include "store/Formatting.h"

#include <sys/stat.h>

#include <array>
#include <cstdarg>
#include <cstdio>

namespace qlt {

namespace {

constexpr std::string_view kWhiteSpace = " \t\n\r\v\f";
constexpr std::string_view kAccountNameForbidden = "~`!#$%^&*()=+|\\{}[],<>?/;:";
constexpr std::string_view kServerNameForbidden = " @~`!#$%^&*()=+|\\{}[],<>?/;:";
constexpr std::string_view kFileNameForbidden = "$%^&*|\\{},<>?/;:";
constexpr std::size_t kMaxAccountName = 64;
constexpr std::int32_t kMega = 1048576;
constexpr std::int32_t kKilo = 1024;

// C varargs, so that the compiler checks each call's arguments against its pattern.
[[gnu::format(printf, 1, 2)]] std::string format(const char* pattern, ...) {
    std::array<char, 64> buffer{};
    std::va_list args;
    va_start(args, pattern);
    const int n = std::vsnprintf(buffer.data(), buffer.size(), pattern, args);
    va_end(args);
    if (n < 0) return {};
    return std::string(buffer.data(), std::min(static_cast<std::size_t>(n), buffer.size() - 1));
}

bool validDate(const SystemTime& t) {
    return t.year >= 2000 && t.year <= 3000 && t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31;
}

std::tm utcToLocal(const SystemTime& t) {
    std::tm utc{};
    utc.tm_year = t.year - 1900;
    utc.tm_mon = t.month - 1;
    utc.tm_mday = t.day;
    utc.tm_hour = t.hour;
    utc.tm_min = t.minute;
    utc.tm_sec = t.second;
    const std::time_t when = timegm(&utc);
    std::tm local{};
    localtime_r(&when, &local);
    return local;
}

}  // namespace

std::string TrimText(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kWhiteSpace);
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(kWhiteSpace);
    return std::string(text.substr(first, last - first + 1));
}

bool IsValidAccountName(std::string_view name) {
    const std::string trimmed = TrimText(name);
    return !trimmed.empty() && trimmed.size() <= kMaxAccountName &&
           trimmed.find_first_of(kAccountNameForbidden) == std::string::npos;
}

bool CheckServerName(std::string_view name, UiPort& ui) {
    const std::string trimmed = TrimText(name);
    if (trimmed.empty()) return false;
    const std::size_t bad = trimmed.find_first_of(kServerNameForbidden);
    if (bad == std::string::npos) return true;
    const auto code = static_cast<unsigned char>(trimmed[bad]);
    const std::string text = std::string("The Server Name contains illegal character\n") +
                             "Offending character is [ " + trimmed[bad] +
                             format(" ] ASCII = %d (0x%2x)", code, code);
    ui.messageBox("QLT Check Server Name", text, BoxIcon::Warning, BoxButtons::Ok);
    return false;
}

std::string PluralS(long long n) {
    return n == 1 ? "" : "s";
}

std::string FormatSize(std::int32_t octets) {
    if (octets > kMega) return format("%.2f Mb", octets / static_cast<double>(kMega));
    if (octets > kKilo) return format("%.2f Kb", octets / static_cast<double>(kKilo));
    if (octets < 0) return "unknown";
    return format("%d b", octets);
}

std::string FormatSizeInParens(std::int32_t octets) {
    if (octets > kMega) return format(" (%d Mb)", octets / kMega);
    if (octets > kKilo) return format(" (%d Kb)", octets / kKilo);
    if (octets > 0) return format(" (%d b)", octets);
    return " (empty)";
}

std::string FormatSpeed(std::int32_t bytesPerSecond) {
    if (bytesPerSecond > kMega) return format("%d MB/s", bytesPerSecond / kMega);
    if (bytesPerSecond > kKilo) return format("%d KB/s", bytesPerSecond / kKilo);
    if (bytesPerSecond > 0) return format("%d b/s", bytesPerSecond);
    return {};
}

std::string TimestampPrefix(const std::tm& local) {
    // The year in two digits, as the log has always written it.
    return format("%02d-%02d-%02d %02d:%02d:%02d - ", local.tm_year % 100, local.tm_mon + 1, local.tm_mday,
                  local.tm_hour, local.tm_min, local.tm_sec);
}

std::string TimestampPrefix() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return TimestampPrefix(local);
}

std::string FileNamePart(std::string_view path) {
    const std::string trimmed = TrimText(path);
    const std::size_t sep = trimmed.find_last_of("\\/");
    return sep == std::string::npos ? trimmed : trimmed.substr(sep + 1);
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

void SanitizeFileName(std::string& text) {
    for (char& c : text) {
        if (kFileNameForbidden.find(c) != std::string_view::npos) c = '-';
    }
}

void DoubleBackslashes(std::string& text) {
    text.push_back(' ');
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') continue;
        if (text[i + 1] == '\\') break;
        text.insert(i + 1, 1, '\\');
        ++i;
    }
    text.erase(text.find_last_not_of(kWhiteSpace) + 1);
}

std::string AccountStatusName(std::uint8_t status) {
    static constexpr std::array<const char*, 6> kNames = {"Update Needed",   "Connection Failed",
                                                          "No Messages",     "Scan Incomplete",
                                                          "No New Messages", "Completed"};
    return status < kNames.size() ? kNames[status] : "Unknown";
}

std::string FormatLastScanned(const AccountRecord& account) {
    if (!validDate(account.lastScanned)) return "No Record";
    const std::tm local = utcToLocal(account.lastScanned);
    return format("%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                  local.tm_hour, local.tm_min, local.tm_sec);
}

bool PlaySoundFile(const std::string& path, SoundPlayer& player) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    return player.play(path);
}

}  // namespace qlt
