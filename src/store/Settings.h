#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "store/Codec.h"
#include "store/Profile.h"

namespace qlt {

inline constexpr std::size_t kPreviewFontSize = 60;
using PreviewFontBytes = std::array<std::uint8_t, kPreviewFontSize>;

// The program's options in memory. Each member starts at the default that a
// missing profile value stands for.
struct Settings {
    std::string soundFile;
    std::string emailApp;
    std::uint8_t delTag = 3;
    std::int32_t rescanDel = 1;
    std::int32_t scanBuf = 1024;
    std::int32_t scanOnStartup = 0;
    std::int32_t rescanRecurring = 0;
    std::int32_t scanIfConnected = 0;
    std::uint8_t newMsgNotify = 6;
    std::int32_t minutes2Scan = 15;
    std::uint8_t defaultTag = 2;
    std::int32_t noDeleteWarning = 0;
    std::int32_t noShowDeleteConfirmed = 0;
    std::int32_t noReceiveWarning = 0;
    // The preview font's description; all zero (no face name) means the
    // preview's own default font.
    PreviewFontBytes previewFont{};
    std::int32_t posX = 0;
    std::int32_t posY = 0;
    std::int32_t posW = 302;
    // New-mail notices leave out the sender and subject of X-rated and foul
    // messages; a profile from before the switch existed reads as on.
    std::int32_t redactNotices = 1;
    // Seconds the delete waits before QUIT, while UNDO can still take every
    // DELE back; 0 sends QUIT at once. Used within 0..kMaxUndoSeconds.
    std::int32_t undoTime = 10;

    friend bool operator==(const Settings&, const Settings&) = default;
};

inline constexpr const char* kAccountsValueName = "Accounts";
// A POP3 server may drop a session idle for ten minutes; the undo wait stays
// far below.
inline constexpr std::int32_t kMaxUndoSeconds = 60;
// The new-mail sound the program ships and installs in the data folder; an
// empty sound setting stands for it.
inline constexpr const char* kDefaultSoundFile = "default.wav";

// Reads every value into settings (a missing one gives its default, an 8-bit
// one keeps the low 8 bits); returns the "Accounts" value, nothing on a first
// run. The preview font is replaced only by a stored value of at least 60 bytes.
std::optional<Bytes> LoadSettings(const Profile& profile, Settings& settings);

// Writes every value in its fixed order, the "Accounts" value in its place
// (none given: the stored one is left as it is), and commits; false when the
// profile could not store them.
bool SaveSettings(Profile& profile, const Settings& settings, const std::optional<Bytes>& accountsValue);

}  // namespace qlt
