#include <QApplication>
#include <QCommandLineParser>
#include <optional>

#include "app/DemoSession.h"
#include "app/ProgramLifetime.h"
#include "base/Clock.h"
#include "platform/DesktopProgramLauncher.h"
#include "platform/QSettingsProfile.h"
#include "platform/ShippedFiles.h"
#include "platform/UserDataFolder.h"
#include "platform/XdgMailtoHandler.h"
#include "ui/FileChooser.h"
#include "ui/MainWindow.h"
#include "ui/QtMessageBoxes.h"
#include "ui/TooltipLook.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The settings live under these names (QSettingsProfile).
    QApplication::setApplicationName("quillgt");
    QApplication::setOrganizationName("Tamsworth");
    QApplication::setApplicationVersion(QLT_VERSION);
    // Ties the window to the installed desktop entry (its name and icon).
    QApplication::setDesktopFileName("org.tamsworth.Quillgate");

    QCommandLineParser parser;
    parser.setApplicationDescription("Screens POP3 mailboxes before your mail program downloads anything.");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption demoOption(
        "demo", "Try the program on a demo mailbox served on this computer, with settings of its own.");
    parser.addOption(demoOption);
    parser.process(app);
    qlt::ui::applyTooltipLook(app);
    qlt::app::ProgramLifetime lifetime;
    qlt::ui::QtMessageBoxes boxes;
    const auto refuseStart = [&boxes](const QString& why) {
        boxes.showBox("Quillgate", why.toStdString(), qlt::BoxIcon::Error, qlt::BoxButtons::Ok, nullptr);
        return 1;
    };

    // Started before the window, which reads the settings and the data
    // folder that the demo puts in place; it lasts as long as the program.
    std::optional<qlt::app::DemoSession> demo;
    const QString programFolder = QCoreApplication::applicationDirPath();
    if (parser.isSet(demoOption)) {
        demo.emplace();
        if (!demo->start()) return refuseStart("The demo could not start:\n" + demo->error());
    } else {
        QString error;
        if (!qlt::enterUserDataFolder(qlt::shippedDataFolder(programFolder), qlt::userDataFolder(), error))
            return refuseStart("The data folder cannot be used:\n" + error);
    }

    qlt::SystemClock clock;
    qlt::QSettingsProfile profile;
    qlt::DesktopProgramLauncher launcher;
    qlt::XdgMailtoHandler mailto;
    qlt::ui::QtFileChooser files;
    const qlt::ui::WindowServices services{clock, profile, launcher, mailto,
                                           files, boxes,   {},       qlt::manualIndexFile(programFolder)};
    // Not exec(): hiding into the tray would end a modal loop, and with it the program.
    qlt::ui::MainWindow window(services);
    lifetime.watch(window);
    window.show();
    return QApplication::exec();
}
