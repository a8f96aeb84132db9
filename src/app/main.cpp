#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <cstdio>
#include <optional>

#include "app/DemoSession.h"
#include "app/ProgramLifetime.h"
#include "base/Clock.h"
#include "core/OAuthLogin.h"
#include "platform/DesktopProgramLauncher.h"
#include "platform/KeyringSecrets.h"
#include "platform/LoopbackOAuthTransport.h"
#include "platform/QSettingsProfile.h"
#include "platform/ShippedFiles.h"
#include "platform/UserDataFolder.h"
#include "platform/XdgMailtoHandler.h"
#include "ui/FileChooser.h"
#include "ui/MainWindow.h"
#include "ui/QtMessageBoxes.h"
#include "ui/TooltipLook.h"

namespace {

constexpr char kProgram[] = "quillgate";

struct Options {
    QCommandLineParser parser;
    QCommandLineOption demo{
        "demo", "Try the program on a demo mailbox served on this computer, with settings of its own."};

    Options() {
        parser.setApplicationDescription(
            "Screens POP3 mailboxes before your mail program downloads anything.");
        // Qt's own options (-platform, -reverse) are single-dash words, not bundles of letters.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(demo);
    }
};

// Answers --help and --version before QApplication exists, so that they need
// no display: the manual page is made from them while building. Qt's own
// options are still in argv here, so a failed parse is left to process().
std::optional<int> answerWithoutDisplay(Options& options, int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    options.parser.parse(arguments);
    QString text;
    if (options.parser.isSet("help")) {
        // Without an application object Qt cannot name the program in the usage line.
        const QString help = options.parser.helpText();
        text = QString("Usage: %1 [options]").arg(kProgram) + help.mid(help.indexOf('\n'));
    } else if (options.parser.isSet("version")) {
        text = QString("%1 %2\n").arg(kProgram, QLT_VERSION);
    } else {
        return std::nullopt;
    }
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

// The icon theme's, else the one built into the program.
QIcon programIcon() {
    return QIcon::fromTheme(kProgram, QIcon(":/icons/quillgate.svg"));
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (const auto answered = answerWithoutDisplay(options, argc, argv)) return *answered;
    QApplication app(argc, argv);
    // The settings live under these names (QSettingsProfile).
    QApplication::setApplicationName("quillgt");
    QApplication::setOrganizationName("Tamsworth");
    QApplication::setApplicationVersion(QLT_VERSION);
    // Ties the window to the installed desktop entry (its name and icon); on X11
    // the window's class is the application name, the entry's StartupWMClass.
    QApplication::setDesktopFileName(QLT_APP_ID);
    QApplication::setWindowIcon(programIcon());
    options.parser.process(app);
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
    if (options.parser.isSet(options.demo)) {
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
    // The demo's sample accounts stay out of the user's keyring.
    qlt::KeyringSecrets keyring;
    const qlt::ui::WindowServices services{clock,
                                           profile,
                                           launcher,
                                           mailto,
                                           files,
                                           boxes,
                                           {},
                                           qlt::manualIndexFile(programFolder),
                                           demo ? nullptr : &keyring};
    // OAuth2 accounts sign in through the browser and keep their tokens in the keyring.
    qlt::LoopbackOAuthTransport oauthTransport(launcher);
    qlt::OAuthTokens oauthTokens(keyring, oauthTransport, clock);
    qlt::OAuthLogin oauthLogin(oauthTokens, profile);
    // Not exec(): hiding into the tray would end a modal loop, and with it the program.
    qlt::ui::MainWindow window(services);
    if (!demo) window.checker().useOAuth(&oauthLogin);
    lifetime.watch(window);
    window.show();
    return QApplication::exec();
}
