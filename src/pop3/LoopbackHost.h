#pragma once

#include <string>

struct sockaddr;

namespace qlt {

// True for 127.0.0.0/8, ::1 and IPv4-mapped 127.x addresses.
bool isLoopbackAddress(const sockaddr& address);

// True when every address the host name resolves to is a loopback address.
// A name that does not resolve counts as not loopback: the caller then errs
// on the side of warning.
bool resolvesToLoopbackOnly(const std::string& host);

}  // namespace qlt
