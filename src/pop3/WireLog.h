#pragma once

#include <string>
#include <string_view>

namespace qlt {

// A transcript of the POP3 traffic for diagnosing a server, off unless the
// environment variable QLT_WIRE_LOG is set: "1" writes to standard error,
// any other non-empty value other than "0" names a file that is appended to
// (made with mode 0600 when new).
// Client lines start "C: ", server lines "S: "; a password never appears.
class WireLog {
  public:
    static void clientSent(std::string_view text);
    static void serverSent(std::string_view text);

    // The transcript lines for one piece of traffic (direction 'C' or 'S').
    static std::string format(char direction, std::string_view text);
};

}  // namespace qlt
