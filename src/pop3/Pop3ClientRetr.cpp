// The whole-message download of Pop3Client: RETR into a file.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "base/Pop3Terminator.h"
#include "pop3/Pop3Client.h"
#include "pop3/SocketErrors.h"
#include "store/BuiltInTexts.h"

namespace qlt {
namespace {

// The bytes after the text: its last line ending and the NUL that ends the
// text for the file's readers.
constexpr std::string_view kFileEnd{"\r\n\0", 3};
constexpr std::size_t kMaxFileErrorText = 1024;
// A status line longer than this is not waited for: what came is taken as text.
constexpr std::size_t kMaxRetrStatusLine = 512;

std::string fileErrorText(const std::string& path, int error) {
    std::string text = "An error occurred while accessing " + (path.empty() ? "an unnamed file" : path) +
                       ".\n" + std::strerror(error);
    text.resize(std::min(text.size(), kMaxFileErrorText));
    return text;
}

std::string temporaryDirectory() {
    const char* dir = std::getenv("TMPDIR");
    std::string path = (dir != nullptr && *dir != '\0') ? dir : "/tmp";
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Writes the text of a RETR reply as its chunks arrive and finds where it
// ends: at "\r\n.\r\n" (also when the chunks cut it apart), at the ".\r\n" of
// an empty message, or when more came than LIST said the message holds.
// The few bytes that could begin a terminator are held back until the next
// chunk shows what they are.
class ReplyTextWriter {
  public:
    enum class Step { More, Ended, Overran, WriteFailed };

    ReplyTextWriter(int fd, std::int64_t size) : m_fd(fd), m_size(size) {}

    Step take(std::string_view text) {
        std::string window = m_window;
        window += text;
        if (const std::size_t end = window.find(kPop3Terminator); end != std::string::npos)
            return emit(window, end) ? Step::Ended : Step::WriteFailed;
        const std::size_t cut = window.size() - std::min(window.size(), kPop3Terminator.size() - 1);
        m_stuffedDots += stuffedDotsBefore(window, cut);
        const auto through = m_written + static_cast<std::int64_t>(cut - std::min(cut, m_virtual));
        // LIST counts the message before the server doubled its leading dots.
        if (through - m_stuffedDots > m_size) {
            const auto room =
                static_cast<std::size_t>(std::max<std::int64_t>(0, m_size + m_stuffedDots - m_written));
            return emit(window, std::min(window.size(), m_virtual + room)) ? Step::Overran
                                                                           : Step::WriteFailed;
        }
        if (!emit(window, cut)) return Step::WriteFailed;
        m_window = window.substr(cut);
        m_virtual -= std::min(m_virtual, cut);
        return Step::More;
    }

    // Writes what is held back; for a reply that ends without its terminator.
    bool flush() {
        const bool written = emit(m_window, m_window.size());
        m_window.clear();
        m_virtual = 0;
        return written;
    }

  private:
    // Lines starting with a doubled dot whose line break begins before `to`;
    // the window always shows such a line break with its two dots.
    static std::int64_t stuffedDotsBefore(std::string_view window, std::size_t to) {
        std::int64_t count = 0;
        for (std::size_t at = window.find("\r\n.."); at < to; at = window.find("\r\n..", at + 1)) ++count;
        return count;
    }

    // Writes the window's text before `to`, leaving out the line ending that
    // stands in for the status line's.
    bool emit(std::string_view window, std::size_t to) {
        if (to <= m_virtual) return true;
        const std::string_view bytes = window.substr(m_virtual, to - m_virtual);
        m_written += static_cast<std::int64_t>(bytes.size());
        return writeAll(m_fd, bytes);
    }

    int m_fd;
    std::int64_t m_size;
    std::int64_t m_written = 0;
    std::int64_t m_stuffedDots = 0;
    // The status line's CRLF starts the window, so that a message with no
    // text at all (".\r\n" right after the status line) is seen to end.
    std::string m_window{"\r\n"};
    std::size_t m_virtual = 2;
};

class FileCloser {
  public:
    explicit FileCloser(int fd) : m_fd(fd) {}
    ~FileCloser() { ::close(m_fd); }
    FileCloser(const FileCloser&) = delete;
    FileCloser& operator=(const FileCloser&) = delete;

  private:
    int m_fd;
};

}  // namespace

void Pop3Client::tellUser(const std::string& text) {
    m_ui.messageBox(kProgramName, text, BoxIcon::None, BoxButtons::Ok);
}

void Pop3Client::CreateTempFile() {
    // Never left naming a deleted file: a later open by that name in a shared
    // folder could land in a file someone else put there.
    if (!m_strTempFile.empty()) ::unlink(m_strTempFile.c_str());
    m_strTempFile.clear();
    std::string path = temporaryDirectory() + "/QLTXXXXXX.tmp";
    // Created exclusively, readable by the owner only: it will hold mail.
    const int fd = ::mkstemps(path.data(), 4);
    if (fd < 0) {
        tellUser("Could not create temporary file");
        return;
    }
    ::close(fd);
    m_strTempFile = std::move(path);
}

bool Pop3Client::messageSize(int n, std::int64_t& size) {
    if (!List(n)) {
        tellUser("LIST Query Failed");
        return false;
    }
    std::vector<std::string> tokens;
    if (SplitReply(m_strReply, tokens, ReplyCleaning::Listing) != 2) {
        tellUser("GetMsgSize Failed");
        return false;
    }
    size = TokenNumber(tokens, 3);
    return true;
}

bool Pop3Client::Retr(int n, const std::string& path) {
    std::int64_t size = 0;
    if (!messageSize(n, size)) return false;
    SendCommand("retr " + std::to_string(n));
    // Its reply streams into the file below, not through the reply reader.
    replyRead();
    std::string target = path;
    if (target.empty()) {
        CreateTempFile();
        target = m_strTempFile;
    }
    // A longer file chosen for the text must not keep its old tail.
    const int fd =
        target.empty() ? -1 : ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        tellUser(fileErrorText(target, target.empty() ? ENOENT : errno));
        return false;
    }
    const FileCloser closer(fd);
    if (!receiveMessage(fd, target, size)) return false;
    if (!writeAll(fd, kFileEnd)) {
        tellUser(fileErrorText(target, errno));
        return false;
    }
    return true;
}

bool Pop3Client::receiveMessage(int fd, const std::string& path, std::int64_t size) {
    ReplyTextWriter writer(fd, size);
    ReplyPace pace(m_clock, replyTimeoutMs());
    std::string chunk;
    std::string status;
    bool statusPending = true;
    for (;;) {
        int error = kSockConnectionReset;
        if (!receiveWithin(pace, chunk, error) || chunk.empty()) {
            // What came is kept. A server that hangs up before the end has
            // not sent the message.
            writer.flush();
            m_strError = socketErrorText(error);
            return false;
        }
        std::string_view text = chunk;
        if (statusPending) {
            status += chunk;
            const std::size_t lineEnd = status.find("\r\n");
            if (lineEnd == std::string::npos && status.size() <= kMaxRetrStatusLine) continue;
            if (!status.starts_with("+OK")) {
                m_strError += status.substr(0, kMaxRetrStatusLine);
                drainAfterRefusal(status);
                return false;
            }
            statusPending = false;
            text = std::string_view(status).substr(lineEnd == std::string::npos ? 0 : lineEnd + 2);
        }
        switch (writer.take(text)) {
            case ReplyTextWriter::Step::More:
                break;
            case ReplyTextWriter::Step::Ended:
                return true;
            case ReplyTextWriter::Step::Overran:
                Noop();
                return true;
            case ReplyTextWriter::Step::WriteFailed:
                tellUser(fileErrorText(path, errno));
                return false;
        }
    }
}

}  // namespace qlt
