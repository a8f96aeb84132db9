#pragma once

#include <string>

namespace qlt {

// Socket error numbers as the Winsock numbering has them; errno and resolver
// codes are mapped onto these so that the error texts stay the same whatever
// the platform reports.
enum SocketError : int {
    kSockInterrupted = 10004,
    kSockAccessDenied = 10013,
    kSockTooManyOpen = 10024,
    kSockNotSocket = 10038,
    kSockAddressFamily = 10047,
    kSockAddressNotAvailable = 10049,
    kSockNetworkDown = 10050,
    kSockNetworkUnreachable = 10051,
    kSockConnectionAborted = 10053,
    kSockConnectionReset = 10054,
    kSockNoBuffers = 10055,
    kSockNotConnected = 10057,
    kSockTimedOut = 10060,
    kSockRefused = 10061,
    kSockHostDown = 10064,
    kSockHostUnreachable = 10065,
    kSockHostNotFound = 11001,
    kSockTryAgain = 11002,
    kSockNoRecovery = 11003,
    kSockNoData = 11004,
    kSockOtherBase = 20000,
};

// Maps an errno value onto the socket error numbers. An errno without a
// counterpart becomes kSockOtherBase + errno, which the texts show by number.
int socketErrorFromErrno(int errnoValue);

// Maps a getaddrinfo result code onto the socket error numbers.
int socketErrorFromResolver(int gaiCode);

// The text the user reads in the error details for a socket error number;
// ends with "\r\n" like the other error texts so that texts can be joined.
std::string socketErrorText(int error);

}  // namespace qlt
