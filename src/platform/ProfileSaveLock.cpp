#include "platform/ProfileSaveLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace qlt {

namespace {

constexpr unsigned long kPollPauseMs = 10;

}  // namespace

ProfileSaveLock::ProfileSaveLock(const QString& settingsFile, std::chrono::milliseconds patience) {
    const QString path = lockFileFor(settingsFile);
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return;
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0) return;
    // Polled rather than blocking, so that a holder that hangs costs a failed
    // save and not a frozen window.
    for (const QDeadlineTimer deadline(patience);; QThread::msleep(kPollPauseMs)) {
        m_held = ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
        if (m_held || deadline.hasExpired()) return;
    }
}

ProfileSaveLock::~ProfileSaveLock() {
    // Closing the only descriptor releases the flock.
    if (m_fd >= 0) ::close(m_fd);
}

}  // namespace qlt
