#include "platform/TerminationSignals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>

namespace qlt {

namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};

// Read by the handler; an int that is set before the handlers go in and
// cleared after they come out.
volatile std::sig_atomic_t gWriteEnd = -1;

extern "C" void onTerminationSignal(int number) {
    const int savedErrno = errno;
    const auto byte = static_cast<char>(number);
    // A full pair already holds a wake-up; losing this byte loses nothing.
    [[maybe_unused]] const ssize_t written = ::write(gWriteEnd, &byte, 1);
    errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    // Close-on-exec: the programs the window starts must not inherit it.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, m_pair.data()) != 0) return;
    gWriteEnd = m_pair[0];
    m_notifier = std::make_unique<QSocketNotifier>(m_pair[1], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &TerminationSignals::readPending);
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    // Restarted calls keep a scan's blocking reads from failing under a signal.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &action, &m_previous[i]);
}

TerminationSignals::~TerminationSignals() {
    if (!m_notifier) return;
    for (std::size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &m_previous[i], nullptr);
    gWriteEnd = -1;
    m_notifier.reset();
    for (const int fd : m_pair) ::close(fd);
}

void TerminationSignals::readPending() {
    char bytes[16];
    ssize_t count = 0;
    while ((count = ::read(m_pair[1], bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < count; ++i) emit received(bytes[i]);
    }
}

}  // namespace qlt
