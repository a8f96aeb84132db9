#include "base/CommandLine.h"

namespace qlt {

namespace {

// Only space and tab part the words of a command line.
bool separatesWords(char c) {
    return c == ' ' || c == '\t';
}

bool isEscapedInQuotes(char c) {
    return c == '"' || c == '`' || c == '$' || c == '\\';
}

bool needsQuotes(const std::string& word) {
    if (word.empty()) return true;
    return word.find_first_of(" \t\n\"'\\`$<>~|&;*?#()") != std::string::npos;
}

}  // namespace

std::optional<std::vector<std::string>> splitCommandLine(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < line.size() && isEscapedInQuotes(line[i + 1])) {
                word += line[++i];
            } else {
                word += c;
            }
        } else if (separatesWords(c)) {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            inWord = true;
            if (c == '"') {
                quoted = true;
            } else {
                word += c;
            }
        }
    }
    if (quoted) return std::nullopt;
    if (inWord) words.push_back(std::move(word));
    return words;
}

std::string joinCommandLine(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& word : words) {
        if (!line.empty()) line += ' ';
        if (!needsQuotes(word)) {
            line += word;
            continue;
        }
        line += '"';
        for (char c : word) {
            if (isEscapedInQuotes(c)) line += '\\';
            line += c;
        }
        line += '"';
    }
    return line;
}

}  // namespace qlt
