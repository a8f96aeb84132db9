// Renders the real window during a delete's wait for undo, and the Deleted
// Mail dialog over the log that two deletes of the demo mailbox left, to the
// two files named on the command line. Run by scripts/undo-screenshots.sh.
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "ShotFiles.h"
#include "WindowRig.h"
#include "core/DeletionLog.h"
#include "ui/DeletedMailDialog.h"

namespace {

using qlt::test::savePicture;

// Tags the first `count` rows by hand, and no other.
void tagFirstRows(qlt::MailChecker& checker, std::size_t count) {
    checker.untagAll();
    for (std::size_t row = 0; row < count && row < checker.view().rowCount(); ++row)
        checker.toggleRowState(row);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s WAIT.png DELETED.png\n", argv[0]);
        return 2;
    }
    qlt::test::WindowRig rig;
    if (!rig.addDemoAccount()) return 1;
    qlt::ui::MainWindow& window = *rig.window;
    qlt::MailChecker& checker = rig.checker();
    window.show();
    checker.onScanButton();
    qlt::Settings& settings = checker.settings();
    settings.noDeleteWarning = 1;
    settings.noShowDeleteConfirmed = 1;
    settings.rescanDel = 0;

    // Two deletes that go through fill the log with what the demo rates.
    settings.undoTime = 0;
    settings.delTag = 3;
    checker.fillMessageView();
    rig.clock.now = {2026, 3, 1, 2, 8, 15, 40, 0};
    checker.deleteTagged();
    tagFirstRows(checker, 1);
    rig.clock.now = {2026, 3, 2, 3, 17, 2, 9, 0};
    checker.deleteTagged();

    // A third that waits: the picture is taken in the wait, then it is undone.
    settings.undoTime = 10;
    tagFirstRows(checker, 2);
    bool waitSaved = false;
    QTimer::singleShot(1500, &window, [&] {
        waitSaved = savePicture(window, argv[1]);
        checker.onScanButton();
    });
    checker.deleteTagged();

    qlt::ui::DeletedMailDialog dialog(qlt::DeletionLog(rig.files().deletionLog).read(), &window);
    dialog.show();
    QApplication::processEvents();
    return waitSaved && savePicture(dialog, argv[2]) ? 0 : 1;
}
