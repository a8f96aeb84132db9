#include "platform/DesktopEntry.h"

#include <optional>

namespace qlt {

namespace {

constexpr std::string_view kMainGroup = "[Desktop Entry]";
constexpr std::string_view kSuffix = ".desktop";
constexpr std::size_t kMaxIdLength = 255;

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

char unescaped(char c) {
    switch (c) {
        case 's':
            return ' ';
        case 'n':
            return '\n';
        case 't':
            return '\t';
        case 'r':
            return '\r';
        default:
            return c;
    }
}

std::string unescapeValue(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char next = i + 1 < value.size() ? value[i + 1] : '\0';
        if (value[i] == '\\' && (next == 's' || next == 'n' || next == 't' || next == 'r' || next == '\\')) {
            out += unescaped(next);
            ++i;
        } else {
            out += value[i];
        }
    }
    return out;
}

// The value when the line is "Exec = value" (the plain key, no locale).
std::optional<std::string_view> execValue(std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos || trimmed(line.substr(0, equals)) != "Exec") return std::nullopt;
    return trimmed(line.substr(equals + 1));
}

}  // namespace

std::string desktopEntryExec(std::string_view fileText) {
    bool inMainGroup = false;
    std::size_t start = 0;
    while (start < fileText.size()) {
        auto end = fileText.find('\n', start);
        if (end == std::string_view::npos) end = fileText.size();
        const std::string_view line = trimmed(fileText.substr(start, end - start));
        start = end + 1;
        if (line.starts_with('[')) {
            // The main group comes first; a later group ends the search.
            if (inMainGroup) return {};
            inMainGroup = line == kMainGroup;
        } else if (inMainGroup && !line.starts_with('#')) {
            if (const auto value = execValue(line)) return unescapeValue(*value);
        }
    }
    return {};
}

std::vector<std::string> desktopEntryPaths(std::string_view desktopId) {
    const bool plain = desktopId.size() > kSuffix.size() && desktopId.size() <= kMaxIdLength &&
                       desktopId.ends_with(kSuffix) && !desktopId.starts_with('.') &&
                       !desktopId.starts_with('-') && desktopId.find('/') == std::string_view::npos &&
                       desktopId.find("..") == std::string_view::npos &&
                       desktopId.find('\0') == std::string_view::npos;
    if (!plain) return {};
    std::vector<std::string> paths{std::string(desktopId)};
    std::string path(desktopId);
    for (auto dash = path.find('-'); dash != std::string::npos; dash = path.find('-', dash + 1)) {
        path[dash] = '/';
        paths.push_back(path);
    }
    return paths;
}

}  // namespace qlt
