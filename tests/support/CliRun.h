#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// Runs the built quillgate-cli; the including test program defines QLT_CLI_PATH.
namespace qlt::test {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuoted(const std::string& arg) {
    std::string q = "'";
    for (const char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// A file under /tmp holding bytes, removed with the object.
class ScratchFile {
  public:
    explicit ScratchFile(const std::string& bytes) {
        const int fd = mkstemp(m_path);
        if (fd < 0) return;
        m_made = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
        close(fd);
    }
    ~ScratchFile() { std::remove(m_path); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    bool made() const { return m_made; }
    std::string path() const { return m_path; }

  private:
    char m_path[32] = "/tmp/qlt-cli-XXXXXX";
    bool m_made = false;
};

// env: "NAME=value" settings for the program's environment only; input: its
// standard input, which is otherwise empty, so that no read of it can wait.
inline CliRun runCli(const std::vector<std::string>& args, const std::vector<std::string>& env = {},
                     const std::string& input = {}) {
    CliRun run;
    const ScratchFile in(input);
    const ScratchFile err("");
    if (!in.made() || !err.made()) return run;
    std::string command = "env";
    for (const auto& e : env) command += " " + shellQuoted(e);
    command += " " + shellQuoted(QLT_CLI_PATH);
    for (const auto& a : args) command += " " + shellQuoted(a);
    command += " <" + shellQuoted(in.path()) + " 2>" + shellQuoted(err.path());
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) run.out.append(buf, n);
        const int status = pclose(pipe);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::ifstream errText(err.path(), std::ios::binary);
    run.err.assign(std::istreambuf_iterator<char>(errText), std::istreambuf_iterator<char>{});
    return run;
}

}  // namespace qlt::test
