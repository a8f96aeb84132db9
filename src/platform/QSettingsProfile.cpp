#include "platform/QSettingsProfile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QByteArray>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QThread>
#include <chrono>

#include "platform/ProfileSaveLock.h"

namespace qlt {

namespace {

constexpr auto kSection = "1.0";
constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// QSettings guards each save with a lock file that Qt creates, locks with
// flock and only then fills with its owner's process id; to remove a stale
// one it takes a second lock, name + ".rmlock", made the same way, and so on.
// A save killed before the filling leaves a file empty, and Qt honours an
// empty one for its 30-second stale time, because it names no owner that
// could be seen to be gone. An empty file that nobody holds the flock of, and
// that is past the microseconds between a live writer's create and flock, has
// no owner.
constexpr std::chrono::milliseconds kFreshLockAge{50};
constexpr std::chrono::milliseconds kLockPollPause{10};
// Kills during stale-lock removal grow the chain one link at a time.
constexpr int kMaxLockChain = 64;
// Another process holds the profile for one read and one write of a small
// file; far longer means it hangs, and the save fails rather than waits on.
constexpr std::chrono::milliseconds kSaveLockPatience{5000};

std::chrono::milliseconds ageOf(const QFileInfo& file) {
    return std::chrono::milliseconds(file.lastModified().msecsTo(QDateTime::currentDateTime()));
}

bool flockHeld(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    // Gone, or not ours to open: not ours to judge either.
    if (fd < 0) return true;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

// Removes the lock file when it is empty, unheld and no longer fresh; a lock
// that fills, is held or goes away is left to Qt.
void clearOwnerlessLock(const QString& lock, const QDeadlineTimer& watched) {
    for (;;) {
        const QFileInfo file(lock);
        if (!file.exists() || file.size() > 0 || flockHeld(lock)) return;
        if (ageOf(file) >= kFreshLockAge || watched.hasExpired()) {
            QFile::remove(lock);
            return;
        }
        QThread::msleep(static_cast<unsigned long>(kLockPollPause.count()));
    }
}

// From the deepest link up, so that Qt can then clear the filled locks of
// writers that are gone in its own way.
void clearOwnerlessLocks(const QString& settingsFile) {
    QStringList chain;
    for (QString lock = settingsFile + ".lock"; chain.size() < kMaxLockChain && QFileInfo::exists(lock);
         lock += ".rmlock")
        chain.prepend(lock);
    const QDeadlineTimer watched(kFreshLockAge);
    for (const QString& lock : chain) clearOwnerlessLock(lock, watched);
}

QString key(std::string_view name) {
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

QSettingsProfile::QSettingsProfile()
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, "Tamsworth", "quillgt") {
    m_settings.beginGroup(kSection);
}

QSettingsProfile::QSettingsProfile(const QString& fileName) : m_settings(fileName, QSettings::NativeFormat) {
    m_settings.beginGroup(kSection);
}

QVariant QSettingsProfile::value(std::string_view name) const {
    return m_settings.value(key(name));
}

std::optional<std::int32_t> QSettingsProfile::readInt(std::string_view name) const {
    const QVariant stored = value(name);
    bool ok = false;
    const qlonglong number = stored.toLongLong(&ok);
    if (!stored.isValid() || !ok) return std::nullopt;
    // A 32-bit value as the profile holds it: larger numbers keep their low bits.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
}

std::optional<std::string> QSettingsProfile::readText(std::string_view name) const {
    const QVariant stored = value(name);
    if (!stored.isValid()) return std::nullopt;
    return stored.toString().toStdString();
}

std::optional<Bytes> QSettingsProfile::readBinary(std::string_view name) const {
    const QVariant stored = value(name);
    if (!stored.isValid() || stored.typeId() != QMetaType::QByteArray) return std::nullopt;
    const QByteArray bytes = stored.toByteArray();
    return Bytes(bytes.begin(), bytes.end());
}

bool QSettingsProfile::contains(std::string_view name) const {
    return m_settings.contains(key(name));
}

bool QSettingsProfile::writeInt(std::string_view name, std::int32_t value) {
    return write(name, value);
}

bool QSettingsProfile::writeText(std::string_view name, std::string_view value) {
    return write(name, QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

bool QSettingsProfile::writeBinary(std::string_view name, std::span<const std::uint8_t> value) {
    return write(
        name, QByteArray(reinterpret_cast<const char*>(value.data()), static_cast<qsizetype>(value.size())));
}

bool QSettingsProfile::write(std::string_view name, const QVariant& value) {
    if (!m_settings.isWritable()) return false;
    m_settings.setValue(key(name), value);
    return true;
}

bool QSettingsProfile::commit() {
    const ProfileSaveLock lock(fileName(), kSaveLockPatience);
    return lock.held() && store();
}

bool QSettingsProfile::update(const std::function<bool(Profile&)>& edit) {
    const ProfileSaveLock lock(fileName(), kSaveLockPatience);
    if (!lock.held()) return false;
    m_settings.sync();
    return edit(*this) && store();
}

bool QSettingsProfile::backUp() {
    const QString copy = fileName() + ".bak-" + QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss");
    return QFile::copy(fileName(), copy) && QFile::setPermissions(copy, kOwnerOnly);
}

bool QSettingsProfile::store() {
    // The atomic save keeps the permissions of the file it replaces, so a file
    // made private before the first write never shows the passwords to others.
    const bool prepared = createPrivateFile();
    clearOwnerlessLocks(m_settings.fileName());
    m_settings.sync();
    const bool stored = m_settings.status() == QSettings::NoError;
    return prepared && stored && QFile::setPermissions(m_settings.fileName(), kOwnerOnly);
}

bool QSettingsProfile::createPrivateFile() const {
    const QString path = m_settings.fileName();
    if (QFileInfo::exists(path)) return true;
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerOnly)) return false;
    return true;
}

}  // namespace qlt
