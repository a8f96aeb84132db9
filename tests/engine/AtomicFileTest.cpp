#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/AtomicFile.h"
#include "support/TempFolder.h"

namespace qlt {
namespace {

namespace fs = std::filesystem;

class AtomicFile : public ::testing::Test {
  protected:
    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()));
    }

    test::TempFolder m_folder{"qlt-atomic"};
    const fs::path& m_dir = m_folder.path();
};

TEST_F(AtomicFile, ReplacesTheWholeContent) {
    const std::string path = (m_dir / "f").string();
    std::ofstream(path, std::ios::binary) << std::string(1000, 'o');
    ASSERT_EQ(writeFileAtomically(path, std::string("new\0text", 8)), 0);
    EXPECT_EQ(test::readWholeFile(path), std::string("new\0text", 8));
    EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicFile, FailedRenameReportsAndCleansUp) {
    // A folder in the file's place cannot be renamed over.
    const fs::path target = m_dir / "taken";
    fs::create_directory(target);
    fs::create_directory(target / "inside");
    EXPECT_NE(writeFileAtomically(target.string(), "text"), 0);
    EXPECT_TRUE(fs::is_directory(target / "inside"));
    EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicFile, MissingFolderReportsTheSystemError) {
    EXPECT_EQ(writeFileAtomically((m_dir / "no" / "f").string(), "text"), ENOENT);
    EXPECT_EQ(entries(), 0u);
}

pid_t deadProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST_F(AtomicFile, RemovesTheNewFilesOfWritersThatAreGone) {
    const std::string path = (m_dir / "f").string();
    const std::string dead = "f.new" + std::to_string(deadProcess()) + "-0";
    const std::string live = "f.new" + std::to_string(::getppid()) + "-3";
    for (const std::string& name : {dead, live, std::string("f.new-notes"), std::string("f.new12"),
                                    std::string("g.new1-0"), std::string("f.newer1-0")})
        std::ofstream(m_dir / name) << "x";
    ASSERT_EQ(writeFileAtomically(path, "text"), 0);
    EXPECT_FALSE(fs::exists(m_dir / dead));
    EXPECT_TRUE(fs::exists(m_dir / live)) << "its writer may still rename it";
    EXPECT_EQ(entries(), 6u) << "names of another form are not ours to remove";
}

}  // namespace
}  // namespace qlt
