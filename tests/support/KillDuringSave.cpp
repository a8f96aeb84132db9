#include "support/KillDuringSave.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <thread>

namespace qlt::test {

namespace {

bool killAndReap(pid_t child) {
    ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

// Forks a child that says it runs before it starts saving, and waits for that
// word: on a loaded machine a child may get its first slice long after the
// fork, and a pause counted from the fork would kill it before any save.
pid_t forkRunningSaver(const std::function<void()>& saveForever) {
    int ready[2];
    if (::pipe(ready) != 0) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        const char running = 1;
        if (::write(ready[1], &running, 1) != 1) ::_exit(1);
        saveForever();
        ::_exit(1);
    }
    ::close(ready[1]);
    pollfd word{ready[0], POLLIN, 0};
    if (child > 0) ::poll(&word, 1, 5000);
    ::close(ready[0]);
    return child;
}

}  // namespace

KillOutcome killDuringSaves(const std::function<void()>& saveForever,
                            const std::function<void()>& checkAfterKill, const KillPlan& plan) {
    std::mt19937 random(plan.seed);
    std::uniform_int_distribution<long> pauseUs(0, plan.maxPause.count());
    const auto deadline = std::chrono::steady_clock::now() + plan.budget;
    KillOutcome outcome;
    while (outcome.rounds < plan.rounds && std::chrono::steady_clock::now() < deadline) {
        const pid_t child = forkRunningSaver(saveForever);
        if (child < 0) break;
        std::this_thread::sleep_for(std::chrono::microseconds(pauseUs(random)));
        ++outcome.rounds;
        if (killAndReap(child)) ++outcome.killed;
        checkAfterKill();
    }
    return outcome;
}

std::vector<std::string> folderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace qlt::test
