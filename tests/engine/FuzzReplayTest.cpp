#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "fuzz/FuzzTargets.h"
#include "support/TempFolder.h"
#include "support/TestPaths.h"

// Every input that once crashed a fuzz program, replayed on the same path
// (the engine tests also run under the sanitizers, where a read past a buffer
// fails the run), and every seed input once through its program.
namespace qlt::fuzz {
namespace {

namespace fs = std::filesystem;

const FuzzTarget& target(std::string_view program) {
    for (const auto& t : kFuzzTargets)
        if (program == t.program) return t;
    throw std::invalid_argument(std::string(program));
}

int replay(const FuzzTarget& t, std::string_view bytes) {
    return t.run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

struct CrashRow {
    const char* name;
    const char* program;
    std::string input;
};

TEST(FuzzReplay, FoundCrashesStayFixed) {
    const CrashRow rows[] = {
        // Scrambled, this is a compressed block that ends with a control word.
        {"stored accounts ending after a control word", "AccountStoreFuzz", "[\\]^[\\"},
        {"compressed block ending after a control word", "DecompressFuzz",
         std::string("\0\0\0\0\x04\x3c", 6)},
    };
    for (const auto& row : rows) EXPECT_EQ(replay(target(row.program), row.input), 0) << row.name;
}

std::vector<fs::path> seedFolders(const FuzzTarget& t) {
    std::vector<fs::path> folders{fs::path(QLT_FUZZ_SEEDS) / t.program};
    if (t.messageSeeds) folders.push_back(fs::path(QLT_TEST_DATA) / "messages");
    return folders;
}

TEST(FuzzReplay, EverySeedRunsThroughItsProgram) {
    for (const auto& t : kFuzzTargets) {
        int seeds = 0;
        for (const auto& folder : seedFolders(t)) {
            if (!fs::is_directory(folder)) continue;
            for (const auto& file : fs::directory_iterator(folder)) {
                EXPECT_EQ(replay(t, test::readWholeFile(file.path())), 0) << file.path();
                ++seeds;
            }
        }
        EXPECT_GT(seeds, 0) << t.program << " has no seeds";
    }
}

}  // namespace
}  // namespace qlt::fuzz
