#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace qlt::test {

struct KillPlan {
    int rounds = 200;
    std::chrono::milliseconds budget{10000};    // fewer rounds when they take longer
    std::chrono::microseconds maxPause{15000};  // how long a child may save before it is killed
    unsigned seed = 12;
};

struct KillOutcome {
    int rounds = 0;
    int killed = 0;  // children that were still saving when SIGKILL came
};

// Each round forks a child that runs saveForever (it saves again and again and
// never returns; it ends with _exit(1) when a save fails), kills it with
// SIGKILL after a random pause, reaps it and calls checkAfterKill, which looks
// at what the killed save left on disk.
KillOutcome killDuringSaves(const std::function<void()>& saveForever,
                            const std::function<void()>& checkAfterKill, const KillPlan& plan = {});

// The names of the folder's entries, sorted.
std::vector<std::string> folderEntries(const std::filesystem::path& folder);

}  // namespace qlt::test
