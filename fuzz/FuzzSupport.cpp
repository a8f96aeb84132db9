#include "fuzz/FuzzSupport.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>

namespace qlt::fuzz {

namespace {

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

}  // namespace

const std::string& fileHolding(const std::uint8_t* data, std::size_t size) {
    static MemoryFile file;
    file.assign(data, size);
    return file.path();
}

const KeywordDictionary& shippedDictionary() {
    static const KeywordDictionary dictionary = [] {
        SilentUiPort ui;
        KeywordDictionary d;
        d.loadDictionary(ui, {QLT_RES_DIR "/qltdict.dat", "/nonexistent/userlst.dat"});
        // A run without the real table would prove little about the rating.
        if (d.count() < 2) std::abort();
        return d;
    }();
    return dictionary;
}

}  // namespace qlt::fuzz
