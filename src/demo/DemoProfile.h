#pragma once

#include <cstdint>

#include "store/Profile.h"

namespace qlt::demo {

// The demo account is named after the address its sample mail is sent to,
// so that only the samples sent elsewhere count as not addressed to it.
inline constexpr char kDemoAccountName[] = "demo@quillgate.example";
inline constexpr char kDemoServer[] = "127.0.0.1";
inline constexpr std::uint16_t kDemoTimeoutSeconds = 10;

// Writes a whole first-run profile: the settings at their defaults, except
// that the mailbox is scanned as soon as the window is up, and one account,
// current, for the demo server on the given port. false when the profile
// could not store it.
bool writeDemoProfile(Profile& profile, unsigned port);

}  // namespace qlt::demo
