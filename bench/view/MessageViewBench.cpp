// The main window with 100,000 listed messages, on the offscreen platform:
// filling the message view, selecting a row and Tag All, each through the
// real MainWindow and its MessageView and MessageViewModel, events processed
// as the window would before the user sees the result.
//
//   QT_QPA_PLATFORM=offscreen qlt_view_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QTableView>
#include <memory>
#include <string>

#include "base/Clock.h"
#include "store/InMemoryProfile.h"
#include "ui/FileChooser.h"
#include "ui/MainWindow.h"
#include "ui/QtMessageBoxes.h"

namespace {

constexpr std::size_t kRows = 100000;

class NoLauncher final : public qlt::ProgramLauncher {
  public:
    bool start(const std::string&) override { return false; }
};

class NoMailto final : public qlt::MailtoHandler {
  public:
    std::string command() const override { return {}; }
};

qlt::MessageEntry benchEntry(std::size_t i) {
    qlt::MessageEntry entry;
    entry.from = "sender" + std::to_string(i % 97) + "@example.org";
    entry.subject = "Scale message " + std::to_string(i);
    entry.date = "Tue, 3 Mar 2026 10:00:00 +0100";
    entry.uidl = "uid" + std::to_string(i);
    entry.size = 480 + static_cast<std::int32_t>(i % 1000);
    entry.messageNumber = static_cast<std::int32_t>(i + 1);
    entry.accountIndex = 1;
    entry.level[qlt::kSpam] = static_cast<std::uint8_t>(i % 3);
    return entry;
}

// One window for every benchmark: building it is not what is measured.
struct Desk {
    Desk() {
        qlt::AccountRecord account;
        account.server = "127.0.0.1";
        account.userName = "hal";
        account.accountName = "hal@example.org";
        account.accountNumber = 1;
        account.status = qlt::kStatusCompleted;
        account.messageCount = static_cast<std::int32_t>(kRows);
        qlt::MailChecker& checker = window->checker();
        checker.AppendAccount(account);
        checker.accounts().MakeAccountCurrent(1);
        for (std::size_t i = 0; i < kRows; ++i) checker.messages().append(benchEntry(i));
        window->show();
        QApplication::processEvents();
    }

    qlt::SystemClock clock;
    qlt::InMemoryProfile profile;
    NoLauncher launcher;
    NoMailto mailto;
    qlt::ui::QtFileChooser chooser;
    qlt::ui::QtMessageBoxes boxes;
    std::unique_ptr<qlt::ui::MainWindow> window = std::make_unique<qlt::ui::MainWindow>(
        qlt::ui::WindowServices{clock, profile, launcher, mailto, chooser, boxes, {}});
};

Desk& desk() {
    static Desk d;
    return d;
}

void BM_FillView(benchmark::State& state) {
    qlt::MailChecker& checker = desk().window->checker();
    for (auto _ : state) {
        checker.fillMessageView();
        checker.UpdateCommandState();
        QApplication::processEvents();
    }
    state.counters["rows"] = static_cast<double>(checker.view().rowCount());
}
BENCHMARK(BM_FillView)->Unit(benchmark::kMillisecond);

void BM_SelectRow(benchmark::State& state) {
    qlt::ui::MainWindow& window = *desk().window;
    window.checker().fillMessageView();
    auto* messageView = window.findChild<QTableView*>("messageView");
    int row = 70000;
    for (auto _ : state) {
        messageView->selectRow(row);
        QApplication::processEvents();
        row = row == 70000 ? 99999 : 70000;
    }
    state.counters["row"] = static_cast<double>(window.checker().view().currentRow());
}
BENCHMARK(BM_SelectRow)->Unit(benchmark::kMillisecond);

// Tag All and Untag All by turns, so that every round changes every row.
void BM_TagAll(benchmark::State& state) {
    qlt::ui::MainWindow& window = *desk().window;
    window.checker().fillMessageView();
    window.checker().UpdateCommandState();
    auto* tagAll = window.findChild<QAction*>("menuTagAll");
    auto* untagAll = window.findChild<QAction*>("menuUntagAll");
    bool tag = true;
    for (auto _ : state) {
        (tag ? tagAll : untagAll)->trigger();
        QApplication::processEvents();
        tag = !tag;
    }
    state.counters["rows"] = static_cast<double>(window.checker().view().rowCount());
}
BENCHMARK(BM_TagAll)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    desk().window.reset();
    benchmark::Shutdown();
    return 0;
}
