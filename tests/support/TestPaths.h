#pragma once

#include <string>

namespace qlt::test {

// Folder of the test fixtures (messages, server transcripts, stored values).
inline std::string dataPath(const std::string& name) {
    return std::string(QLT_TEST_DATA) + "/" + name;
}

// Folder of the files the program ships (dictionary, sounds, demo mail).
inline std::string resPath(const std::string& name) {
    return std::string(QLT_RES_DIR) + "/" + name;
}

}  // namespace qlt::test
