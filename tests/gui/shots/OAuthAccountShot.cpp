// Renders the real Add Account dialog, opened from the window's Accounts page,
// with OAuth2 sign-in chosen for a sample Google mailbox, to the file named on
// the command line. Run by scripts/oauth-screenshot.sh.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>

#include "ShotFiles.h"
#include "WindowRig.h"
#include "controls/CFlatButton.h"
#include "ui/AccountsPage.h"
#include "ui/AddAccountDialog.h"

namespace {

using qlt::test::child;

void setText(QWidget& dialog, const char* name, const char* text) {
    child<QLineEdit>(dialog, name).setText(QString::fromLatin1(text));
}

// Picks the entry as a click does, so that what follows a choice happens too.
void choose(QWidget& dialog, const char* name, const char* entry) {
    auto& choice = child<QComboBox>(dialog, name);
    const int index = choice.findText(QLatin1String(entry));
    choice.setCurrentIndex(index);
    emit choice.activated(index);
}

void fillSample(qlt::ui::AddAccountDialog& dialog) {
    setText(dialog, "email", "jane.doe@gmail.com");
    setText(dialog, "server", "pop.gmail.com");
    setText(dialog, "user", "jane.doe@gmail.com");
    choose(dialog, "security", "TLS");
    choose(dialog, "signIn", "OAuth2");
    choose(dialog, "provider", "Google");
    setText(dialog, "clientId", "1234567890-sample.apps.googleusercontent.com");
    setText(dialog, "clientSecret", "sample-secret");
}

// As wide as the user would drag it to read the client id whole, the caret
// out of the picture and the choice just made in focus.
void frame(qlt::ui::AddAccountDialog& dialog) {
    auto& clientId = child<QLineEdit>(dialog, "clientId");
    constexpr int kFrameRoom = 24;
    const int wanted = clientId.fontMetrics().horizontalAdvance(clientId.text()) + kFrameRoom;
    dialog.resize(dialog.width() + std::max(0, wanted - clientId.width()), dialog.height());
    clientId.setCursorPosition(0);
    child<QComboBox>(dialog, "signIn").setFocus();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIALOG.png\n", argv[0]);
        return 2;
    }
    qlt::test::WindowRig rig;
    rig.window->show();
    auto& page = *rig.window->findChild<qlt::ui::AccountsPage*>();
    bool saved = false;
    qlt::test::answerNextDialog<qlt::ui::AddAccountDialog>([&](qlt::ui::AddAccountDialog& dialog) {
        fillSample(dialog);
        frame(dialog);
        QApplication::processEvents();
        saved = qlt::test::savePicture(dialog, argv[1]);
    });
    child<qlt::controls::CFlatButton>(page, "add").click();
    return saved ? 0 : 1;
}
