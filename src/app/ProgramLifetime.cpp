#include "app/ProgramLifetime.h"

#include <QApplication>
#include <QSessionManager>

#include "base/ProcessState.h"
#include "ui/MainWindow.h"

namespace qlt::app {

ProgramLifetime::ProgramLifetime(QObject* parent)
    : QObject(parent), m_quitOnLastWindowClosed(QApplication::quitOnLastWindowClosed()) {
    // With the window hidden in the tray, closing any other window (a
    // message box of a background check) would otherwise end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    connect(&m_signals, &TerminationSignals::received, this, &ProgramLifetime::onTerminationSignal);
    connect(qApp, &QGuiApplication::commitDataRequest, this, &ProgramLifetime::onCommitData,
            Qt::DirectConnection);
    connect(qApp, &QCoreApplication::aboutToQuit, this, &ProgramLifetime::onAboutToQuit);
}

ProgramLifetime::~ProgramLifetime() {
    QApplication::setQuitOnLastWindowClosed(m_quitOnLastWindowClosed);
}

void ProgramLifetime::watch(ui::MainWindow& window) {
    m_window = &window;
    m_saved = false;
    connect(&window, &QDialog::finished, this, &ProgramLifetime::onWindowFinished);
}

void ProgramLifetime::onWindowFinished() {
    m_saved = true;  // closeMainWindow saved before it ended the window
    QCoreApplication::exit(0);
}

void ProgramLifetime::onTerminationSignal() {
    // A scan on the stack stops as with STOP, so the loop's end is not
    // held up by the rest of the mailbox.
    if (m_window && m_window->checker().scanRunning()) abortRequested = 1;
    // A delete waiting for undo sends QUIT at once, so what the user deleted
    // stays deleted.
    if (m_window) m_window->checker().endUndoWait(UndoEnd::Exit);
    // exit, not quit: quit asks the windows first, and the window refuses
    // to close under a scan. The save comes with aboutToQuit.
    QCoreApplication::exit(0);
}

void ProgramLifetime::onCommitData(QSessionManager&) {
    // The session may still be cancelled; the program runs on, so a later
    // change is saved again.
    save();
    m_saved = false;
}

void ProgramLifetime::onAboutToQuit() {
    if (!m_saved) save();
}

void ProgramLifetime::save() {
    if (!m_window) return;
    m_window->checker().SaveAccounts();
    m_saved = true;
}

}  // namespace qlt::app
