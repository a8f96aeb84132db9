#include "pop3/WireLog.h"

#include <fcntl.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>

#include "base/AsciiText.h"

namespace qlt {

namespace {

// Server replies carry the user's mail: a new log is the user's alone.
std::FILE* openPrivate(const char* path) {
    const int fd = ::open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return nullptr;
    std::FILE* file = ::fdopen(fd, "a");
    if (file == nullptr) ::close(fd);
    return file;
}

class Sink {
  public:
    Sink() {
        const char* setting = std::getenv("QLT_WIRE_LOG");
        if (setting == nullptr || *setting == '\0' || std::string_view(setting) == "0") return;
        if (std::string_view(setting) == "1") {
            m_file = stderr;
        } else {
            m_file = openPrivate(setting);
            m_owned = m_file != nullptr;
        }
    }
    ~Sink() {
        if (m_owned) std::fclose(m_file);
    }
    Sink(const Sink&) = delete;
    Sink& operator=(const Sink&) = delete;

    bool enabled() const { return m_file != nullptr; }

    void write(const std::string& lines) {
        std::fwrite(lines.data(), 1, lines.size(), m_file);
        std::fflush(m_file);
    }

  private:
    std::FILE* m_file = nullptr;
    bool m_owned = false;
};

// Process-wide: one transcript for the whole run, set up once from the environment.
Sink& sink() {
    static Sink instance;
    return instance;
}

bool isPasswordLine(std::string_view line) {
    return equalsIgnoringCase(line.substr(0, 5), "pass ");
}

void appendLine(std::string& out, char direction, std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    out += direction;
    out += ": ";
    if (direction == 'C' && isPasswordLine(line)) {
        out += "pass ********";
    } else {
        for (const char c : line) out += (static_cast<unsigned char>(c) < 0x20 && c != '\t') ? '?' : c;
    }
    out += '\n';
}

}  // namespace

std::string WireLog::format(char direction, std::string_view text) {
    std::string out;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        appendLine(out, direction, text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return out;
}

void WireLog::clientSent(std::string_view text) {
    if (sink().enabled()) sink().write(format('C', text));
}

void WireLog::serverSent(std::string_view text) {
    if (sink().enabled()) sink().write(format('S', text));
}

}  // namespace qlt
