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

// env: "NAME=value" settings for the program's environment only.
inline CliRun runCli(const std::vector<std::string>& args, const std::vector<std::string>& env = {}) {
    CliRun run;
    char errPath[] = "/tmp/qlt-cli-err-XXXXXX";
    const int errFd = mkstemp(errPath);
    if (errFd < 0) return run;
    close(errFd);
    std::string command = "env";
    for (const auto& e : env) command += " " + shellQuoted(e);
    command += " " + shellQuoted(QLT_CLI_PATH);
    for (const auto& a : args) command += " " + shellQuoted(a);
    command += " 2>" + shellQuoted(errPath);
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) run.out.append(buf, n);
        const int status = pclose(pipe);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::ifstream err(errPath, std::ios::binary);
    run.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>{});
    std::remove(errPath);
    return run;
}

}  // namespace qlt::test
