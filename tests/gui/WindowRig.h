#pragma once

#include <QGuiApplication>
#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "PageTestSupport.h"
#include "ScriptedMessageBoxes.h"
#include "demo/DemoMessages.h"
#include "demo/DemoPop3Server.h"
#include "demo/Pop3Session.h"
#include "support/CheckerRig.h"
#include "ui/FileChooser.h"
#include "ui/MainWindow.h"

namespace qlt::test {

inline constexpr const char* kNoTray =
    "the desktop has no system tray (the offscreen platform, a bare X server and a Wayland compositor "
    "without a StatusNotifierItem host have none); run under an X server with a tray host such as trayer "
    "to test the tray itself";

inline constexpr const char* kNoMinimisedStateOnWayland =
    "a Wayland compositor never tells a window that it is minimised, nor whether it honoured a raise (the "
    "click on a notice raises it with the service's activation token)";

inline bool onWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

class NoFileChooser final : public ui::FileChooser {
  public:
    std::optional<QString> chooseOpenFile(const ui::OpenFileRequest&, QWidget*) override {
        return std::nullopt;
    }
};

// The real window on fakes, with its data files in a private folder; its
// message boxes are answered from `boxes`.
struct WindowRig {
    WindowRig() = default;
    // A window that shows its boxes on `shown` instead.
    explicit WindowRig(ui::MessageBoxes& shown) : window(makeWindow(shown)) {}

    // A part of the window by its object name.
    template <class T>
    T& part(const char* name) {
        return child<T>(*window, name);
    }

    DataFiles files() const {
        return {{resPath("qltdict.dat"), folder.file("userlst.dat")},
                senderListPath(folder.path().string()),
                folder.file(kDeletionLogFileName)};
    }

    int addAccount(unsigned port, const std::string& user, const std::string& password) {
        return appendLoopbackAccount(checker(), port, user, password);
    }

    // An account on the demo mailbox (only the samples with the ids in
    // `only`, when given), served here, made current; false when the server
    // cannot start.
    bool addDemoAccount(const std::vector<std::string>& only = {}) {
        auto messages = *demo::loadDemoMessages(resPath("demo"));
        if (!only.empty())
            std::erase_if(messages, [&](const demo::DemoMessage& m) {
                return std::ranges::find(only, m.uidl) == only.end();
            });
        server = std::make_unique<demo::DemoPop3Server>(std::move(messages));
        if (!server->start()) return false;
        checker().accounts().MakeAccountCurrent(addAccount(server->port(),
                                                           std::string(demo::Pop3Session::kUser),
                                                           std::string(demo::Pop3Session::kPassword)));
        checker().UpdateCommandState();
        return true;
    }

    std::size_t demoMessageCount() const { return server->messages().size(); }

    MailChecker& checker() { return window->checker(); }

    TempFolder folder{"qlt-window"};
    FakeClock clock{FakeClock::Ticks::Real};
    InMemoryProfile profile;
    RecordingLauncher launcher;
    FixedMailto mailto;
    NoFileChooser chooser;
    // Outlives the window, whose scan may still talk to it.
    std::unique_ptr<demo::DemoPop3Server> server;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<ui::MainWindow> window = makeWindow(boxes);

  private:
    std::unique_ptr<ui::MainWindow> makeWindow(ui::MessageBoxes& shown) {
        return std::make_unique<ui::MainWindow>(
            ui::WindowServices{clock, profile, launcher, mailto, chooser, shown, files()});
    }
};

}  // namespace qlt::test
