#include "risk/UserStringFile.h"

#include <string_view>

#include "base/AsciiText.h"
#include "base/AtomicFile.h"

namespace qlt {

namespace {

// One line without its line break, at most kMaxUserStringLineLength characters
// kept; false at the end of the file.
bool readLine(std::FILE* f, std::string& line) {
    line.clear();
    int c = std::fgetc(f);
    if (c == EOF) return false;
    while (c != EOF && c != '\n') {
        if (line.size() < kMaxUserStringLineLength) line.push_back(static_cast<char>(c));
        c = std::fgetc(f);
    }
    return true;
}

}  // namespace

std::optional<UserStringFile> readUserStrings(const std::string& path) {
    UniqueFile f(std::fopen(path.c_str(), "rb"));
    if (!f) return std::nullopt;
    UserStringFile result;
    std::string line;
    for (std::uint32_t k = 1; readLine(f.get(), line); ++k) {
        const std::string_view text = trimWhiteSpace(line);
        if (!text.empty()) result.strings.push_back({k, std::string(text)});
        if (k >= kMaxUserStringLines) {
            result.tooMany = true;
            break;
        }
    }
    return result;
}

bool writeUserStrings(const std::string& path, const std::vector<std::string>& strings) {
    std::string content;
    for (const auto& s : strings) {
        content += s;
        content += '\n';
    }
    return writeFileAtomically(path, content) == 0;
}

}  // namespace qlt
