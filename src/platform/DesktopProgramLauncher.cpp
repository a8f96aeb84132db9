#include "platform/DesktopProgramLauncher.h"

#include <QFileInfo>
#include <QProcess>
#include <QStringList>

#include "base/CommandLine.h"

namespace qlt {

namespace {

QString toQString(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

bool DesktopProgramLauncher::start(const std::string& commandLine) {
    const QFileInfo whole(toQString(commandLine));
    if (whole.isAbsolute() && whole.isFile()) return QProcess::startDetached(whole.filePath(), {});

    const auto words = splitCommandLine(commandLine);
    if (!words || words->empty() || words->front().empty()) return false;
    QStringList arguments;
    for (std::size_t i = 1; i < words->size(); ++i) arguments << toQString((*words)[i]);
    // startDetached reports a program that cannot be executed, so a wrong
    // path fails here as it would in the shell.
    return QProcess::startDetached(toQString(words->front()), arguments);
}

}  // namespace qlt
