#include "cli/PasswordSource.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "base/AsciiText.h"
#include "cli/CliFiles.h"

namespace qlt::cli {

namespace {

// The first line of the stream without its line end; nothing when it cannot
// be read or holds no password.
std::optional<std::string> firstLine(std::FILE* in, const std::string& name, std::string& error) {
    std::string line;
    int c = 0;
    while ((c = std::fgetc(in)) != EOF && c != '\n') line.push_back(static_cast<char>(c));
    if (std::ferror(in)) {
        error = cannotRead(name);
        return std::nullopt;
    }
    while (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) {
        error = name + " holds no password";
        return std::nullopt;
    }
    return line;
}

std::optional<std::string> passwordFromFile(const std::string& path, std::string& error) {
    const std::string name = "the password file " + path;
    const UniqueFile file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = cannotRead(name);
        return std::nullopt;
    }
    return firstLine(file.get(), name, error);
}

}  // namespace

std::optional<std::string> takePassword(const PasswordSource& source, std::string_view command,
                                        std::string& error) {
    if (!source.given.empty() && !source.file.empty()) {
        error = "give --password or --password-file, not both";
        return std::nullopt;
    }
    if (source.given == "-") return firstLine(stdin, "standard input", error);
    if (!source.file.empty()) return passwordFromFile(source.file, error);
    if (!source.given.empty()) {
        std::cerr << "quillgate-cli " << command
                  << ": warning: a password on the command line is seen by every local user; use "
                     "--password-file FILE, --password - or "
                  << kPasswordVariable << '\n';
        return source.given;
    }
    const char* fromEnvironment = std::getenv(kPasswordVariable);
    return std::string(fromEnvironment != nullptr ? fromEnvironment : "");
}

}  // namespace qlt::cli
