#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QThread>
#include <cstdlib>
#include <optional>
#include <string>

namespace qlt::test {

// Writes a file, made executable when asked; false when it could not be written.
inline bool writeFile(const QString& path, const QByteArray& content, bool executable = false) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    if (file.write(content) != content.size()) return false;
    file.close();
    return !executable || file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

// Waits up to timeoutMs for a file to appear.
inline bool waitForFile(const QString& path, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!QFileInfo::exists(path)) {
        if (timer.elapsed() > timeoutMs) return false;
        QThread::msleep(20);
    }
    return true;
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const QString& value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = std::string(old);
        ::setenv(name, value.toLocal8Bit().constData(), 1);
    }
    ~ScopedEnv() {
        if (m_old) {
            ::setenv(m_name, m_old->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* m_name;
    std::optional<std::string> m_old;
};

}  // namespace qlt::test
