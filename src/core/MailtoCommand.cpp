#include "core/MailtoCommand.h"

#include <vector>

#include "base/CommandLine.h"

namespace qlt {

namespace {

struct CleanWord {
    std::string text;
    bool onlyFieldCodes = false;
};

CleanWord withoutFieldCodes(const std::string& word) {
    CleanWord clean;
    bool removedAny = false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '%' || i + 1 == word.size()) {
            clean.text += word[i];
        } else if (word[++i] == '%') {
            clean.text += '%';
        } else {
            removedAny = true;
        }
    }
    clean.onlyFieldCodes = removedAny && clean.text.empty();
    return clean;
}

}  // namespace

std::string cleanMailtoCommand(std::string_view command) {
    const auto words = splitCommandLine(command);
    if (!words || words->empty()) return {};
    std::vector<std::string> kept;
    for (const std::string& word : *words) {
        CleanWord clean = withoutFieldCodes(word);
        if (!clean.onlyFieldCodes) kept.push_back(std::move(clean.text));
    }
    if (kept.empty() || kept.front().empty()) return {};
    return joinCommandLine(kept);
}

}  // namespace qlt
