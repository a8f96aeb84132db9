#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/UiPort.h"
#include "risk/KeywordDictionary.h"

namespace qlt::fuzz {

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Every box is answered "OK"; the fuzzed code may complain as often as it likes.
class SilentUiPort final : public UiPort {
  public:
    BoxAnswer messageBox(const std::string&, const std::string&, BoxIcon, BoxButtons) override {
        return BoxAnswer::Ok;
    }
    void progress(int, long) override {}
    void pumpPaint() override {}
    void pumpMessages() override {}
};

// A file in memory with a path that fopen() accepts, so the loaders that read
// a file by name run unchanged without touching the disk.
class MemoryFile {
  public:
    MemoryFile() : m_fd(::memfd_create("qlt-fuzz", 0)) {
        if (m_fd < 0) std::abort();
        m_path = "/proc/self/fd/" + std::to_string(m_fd);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;
    ~MemoryFile() { ::close(m_fd); }

    void assign(const std::uint8_t* data, std::size_t size) {
        if (::ftruncate(m_fd, 0) != 0) std::abort();
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::pwrite(m_fd, data + done, size - done, static_cast<off_t>(done));
            if (n <= 0) std::abort();
            done += static_cast<std::size_t>(n);
        }
    }
    const std::string& path() const { return m_path; }

  private:
    int m_fd;
    std::string m_path;
};

// The dictionary the program ships, loaded once per process.
const KeywordDictionary& shippedDictionary();

}  // namespace qlt::fuzz
