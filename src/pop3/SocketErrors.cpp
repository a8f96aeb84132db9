#include "pop3/SocketErrors.h"

#include <netdb.h>

#include <cerrno>
#include <cstdio>

namespace qlt {

namespace {

struct ErrnoMapping {
    int errnoValue;
    int socketError;
};

constexpr ErrnoMapping kErrnoMap[] = {
    {EINTR, kSockInterrupted},
    {EACCES, kSockAccessDenied},
    {EPERM, kSockAccessDenied},
    {EMFILE, kSockTooManyOpen},
    {ENFILE, kSockTooManyOpen},
    {EBADF, kSockNotSocket},
    {ENOTSOCK, kSockNotSocket},
    {EAFNOSUPPORT, kSockAddressFamily},
    {EADDRNOTAVAIL, kSockAddressNotAvailable},
    {ENETDOWN, kSockNetworkDown},
    {ENETUNREACH, kSockNetworkUnreachable},
    {ECONNABORTED, kSockConnectionAborted},
    {EPIPE, kSockConnectionAborted},
    {ECONNRESET, kSockConnectionReset},
    {ENOBUFS, kSockNoBuffers},
    {ENOMEM, kSockNoBuffers},
    {ENOTCONN, kSockNotConnected},
    {ETIMEDOUT, kSockTimedOut},
    {ECONNREFUSED, kSockRefused},
    {EHOSTDOWN, kSockHostDown},
    {EHOSTUNREACH, kSockHostUnreachable},
};

struct ErrorText {
    int error;
    const char* text;
};

constexpr ErrorText kErrorTexts[] = {
    {kSockInterrupted, "The socket call was interrupted"},
    {kSockAccessDenied, "Permission denied for the connection"},
    {kSockTooManyOpen, "Too many open sockets"},
    {kSockNotSocket, "The connection is not open"},
    {kSockAddressFamily, "Address family not supported"},
    {kSockAddressNotAvailable, "The server address is not available"},
    {kSockNetworkDown, "The network is down"},
    {kSockNetworkUnreachable, "The network is unreachable"},
    {kSockConnectionAborted, "The connection was aborted"},
    {kSockConnectionReset, "The connection was reset by the server"},
    {kSockNoBuffers, "Out of socket buffer space"},
    {kSockNotConnected, "The socket is not connected"},
    {kSockTimedOut, "The server did not answer in time (connection timed out)"},
    {kSockRefused, "The server refused the connection"},
    {kSockHostDown, "The server host is down"},
    {kSockHostUnreachable, "No route to the server host"},
    {kSockHostNotFound, "Server host not found"},
    {kSockTryAgain, "Server host not found (the name lookup may work later)"},
    {kSockNoRecovery, "The name lookup failed"},
    {kSockNoData, "The server name has no address"},
};

}  // namespace

int socketErrorFromErrno(int errnoValue) {
    for (const auto& m : kErrnoMap) {
        if (m.errnoValue == errnoValue) return m.socketError;
    }
    return kSockOtherBase + errnoValue;
}

int socketErrorFromResolver(int gaiCode) {
    switch (gaiCode) {
        case EAI_NONAME:
            return kSockHostNotFound;
        case EAI_AGAIN:
            return kSockTryAgain;
        case EAI_NODATA:
        case EAI_ADDRFAMILY:
            return kSockNoData;
        case EAI_MEMORY:
            return kSockNoBuffers;
        case EAI_SYSTEM:
            return socketErrorFromErrno(errno);
        default:
            return kSockNoRecovery;
    }
}

std::string socketErrorText(int error) {
    char line[160];
    for (const auto& t : kErrorTexts) {
        if (t.error == error) {
            std::snprintf(line, sizeof line, "ERROR: %s (socket error %d)\r\n", t.text, error);
            return line;
        }
    }
    std::snprintf(line, sizeof line, "ERROR: Socket error %d\r\n", error);
    return line;
}

}  // namespace qlt
