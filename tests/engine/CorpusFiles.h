#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "MessageFixtures.h"
#include "support/TestPaths.h"

namespace qlt::test {

struct CorpusMessage {
    std::string name;   // folder/file, as the failures name it
    std::string reply;  // as TOP gives it
};

// Every file of a test-data folder with the given extension, by name.
inline std::vector<CorpusMessage> corpusMessages(const std::string& folder, const std::string& extension) {
    std::vector<CorpusMessage> messages;
    for (const auto& e : std::filesystem::directory_iterator(dataPath(folder))) {
        if (!e.is_regular_file() || e.path().extension() != extension) continue;
        messages.push_back({folder + "/" + e.path().filename().string(), readAsTopReply(e.path())});
    }
    std::sort(messages.begin(), messages.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return messages;
}

// One file of the corpus (a path under corpus/) as TOP gives it.
inline std::string readCorpusMessage(const std::string& name) {
    return readAsTopReply(dataPath("corpus/" + name));
}

}  // namespace qlt::test
