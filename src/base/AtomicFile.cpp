#include "base/AtomicFile.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace qlt {

namespace {

// A stale file of an earlier crash may hold a name; a few more names are tried.
constexpr int kNameTries = 16;

class Descriptor {
  public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    int get() const { return m_fd; }
    // Closes now, so that a failing close is seen; returns 0 or errno.
    int close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

  private:
    int m_fd;
};

std::string directoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

int writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

std::string newFilePrefix(const std::string& path) {
    return path + ".new";
}

// The process id in a new file's name ("<prefix><pid>-<try>"), or 0 when the
// name is not of that form.
pid_t writerOf(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix)) return 0;
    name.remove_prefix(prefix.size());
    const auto dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == name.size() || dash > 9) return 0;
    const auto digits = [](std::string_view text) {
        return text.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (!digits(name.substr(0, dash)) || !digits(name.substr(dash + 1))) return 0;
    return static_cast<pid_t>(std::stol(std::string(name.substr(0, dash))));
}

// A writer killed between creating its new file and the rename leaves that
// file behind, under a name no later writer uses again. The files of writers
// that are gone are removed, so they do not pile up; a live writer's stays.
void removeLeftovers(const std::string& path) {
    namespace fs = std::filesystem;
    const std::string prefix = fs::path(newFilePrefix(path)).filename().string();
    std::error_code error;
    for (fs::directory_iterator it(directoryOf(path), error), end; !error && it != end; it.increment(error)) {
        const pid_t writer = writerOf(it->path().filename().string(), prefix);
        if (writer > 0 && writer != ::getpid() && ::kill(writer, 0) != 0 && errno == ESRCH)
            ::unlink(it->path().c_str());
    }
}

// The new file, created exclusively, with `mode` under the umask.
int createBeside(const std::string& path, std::string& tempPath, unsigned mode) {
    int error = EEXIST;
    for (int k = 0; k < kNameTries && error == EEXIST; ++k) {
        tempPath = newFilePrefix(path) + std::to_string(::getpid()) + "-" + std::to_string(k);
        const int fd =
            ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode));
        if (fd >= 0) return fd;
        error = errno;
    }
    errno = error;
    return -1;
}

int fillAndClose(Descriptor file, std::string_view content) {
    if (const int error = writeAll(file.get(), content)) return error;
    if (::fsync(file.get()) != 0) return errno;
    return file.close();
}

// The rename itself reaches the disk only with its folder; a failure here
// cannot undo the rename, so it is not reported.
void syncDirectory(const std::string& path) {
    Descriptor dir(::open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
}

}  // namespace

int writeFileAtomically(const std::string& path, std::string_view content, unsigned mode) {
    removeLeftovers(path);
    std::string tempPath;
    const int fd = createBeside(path, tempPath, mode);
    if (fd < 0) return errno;
    int error = fillAndClose(Descriptor(fd), content);
    if (error == 0 && std::rename(tempPath.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(tempPath.c_str());
        return error;
    }
    syncDirectory(path);
    return 0;
}

}  // namespace qlt
