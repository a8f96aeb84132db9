#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <optional>

#include "app/DemoSession.h"
#include "ui/MainWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
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

    // Started before the window, which reads the settings and the data
    // folder that the demo puts in place; it lasts as long as the program.
    std::optional<qlt::app::DemoSession> demo;
    if (parser.isSet(demoOption)) {
        demo.emplace();
        if (!demo->start()) {
            QMessageBox::critical(nullptr, "Quillgate", "The demo could not start:\n" + demo->error());
            return 1;
        }
    }

    qlt::ui::MainWindow window;
    window.show();
    return QApplication::exec();
}
