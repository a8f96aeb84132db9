#pragma once

#include <QString>
#include <chrono>

namespace qlt {

// Keeps every other process from saving one settings file while it lives:
// an flock on a file beside it, taken by the window's saves and by the
// command line's write-back alike. The kernel lets go of it when its holder
// dies, so a killed save never leaves it behind.
class ProfileSaveLock {
  public:
    // Waits up to `patience` for the other holder to finish.
    ProfileSaveLock(const QString& settingsFile, std::chrono::milliseconds patience);
    ~ProfileSaveLock();
    ProfileSaveLock(const ProfileSaveLock&) = delete;
    ProfileSaveLock& operator=(const ProfileSaveLock&) = delete;

    bool held() const { return m_held; }

    static QString lockFileFor(const QString& settingsFile) { return settingsFile + ".savelock"; }

  private:
    int m_fd = -1;
    bool m_held = false;
};

}  // namespace qlt
