#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "base/AccountRecord.h"
#include "base/SystemTime.h"
#include "base/UiPort.h"

namespace qlt {

// The text without blanks, tabs, line breaks, vertical tabs or form feeds at
// either end.
std::string TrimText(std::string_view text);

// Trimmed, 1 to 64 characters and none of the characters a mail address
// part must not hold.
bool IsValidAccountName(std::string_view name);

// Trimmed, not empty and free of blanks and the characters a host name must
// not hold. The first offending character is shown in a warning box.
bool CheckServerName(std::string_view name, UiPort& ui);

// "" for exactly 1, else "s".
std::string PluralS(long long n);

std::string FormatSize(std::int32_t octets);
std::string FormatSizeInParens(std::int32_t octets);
std::string FormatSpeed(std::int32_t bytesPerSecond);

// "yy-mm-dd HH:MM:SS - " of the given local time, or of now.
std::string TimestampPrefix(const std::tm& local);
std::string TimestampPrefix();

// The trimmed path after its last separator. Both "\" (the stored and typed
// form of Windows-style paths) and "/" separate here.
std::string FileNamePart(std::string_view path);

// True for an existing file or directory.
bool FileExists(const std::string& path);

void SanitizeFileName(std::string& text);

// Doubles every single backslash, up to the first place that already holds a
// doubled one; trailing white space is dropped.
void DoubleBackslashes(std::string& text);

// "Update Needed", ..., "Completed"; "Unknown" for any other code.
std::string AccountStatusName(std::uint8_t status);

// The stored UTC time of the last scan in local time, "YYYY-MM-DD HH:MM:SS";
// "No Record" when the date is out of range (never scanned).
std::string FormatLastScanned(const AccountRecord& account);

// Plays sound files to the end before returning.
class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;
    virtual bool play(const std::string& path) = 0;
};

// Plays the file when the path is not empty and names an existing regular
// file; false when nothing was played.
bool PlaySoundFile(const std::string& path, SoundPlayer& player);

}  // namespace qlt
