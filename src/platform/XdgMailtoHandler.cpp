#include "platform/XdgMailtoHandler.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtGlobal>

#include "platform/DesktopEntry.h"

namespace qlt {

namespace {

constexpr int kQueryTimeoutMs = 5000;
constexpr qint64 kMaxQueryOutput = 4096;
constexpr qint64 kMaxEntrySize = 256 * 1024;

// A data folder as the base-directory rules allow it: absolute paths only.
void addAbsolute(QStringList& folders, const QString& path) {
    if (QDir::isAbsolutePath(path)) folders << path + "/applications";
}

}  // namespace

std::string XdgMailtoHandler::command() const {
    const QString desktopId = queryDesktopId();
    if (desktopId.isEmpty()) return {};
    return execOf(desktopId);
}

QString XdgMailtoHandler::queryDesktopId() {
    QProcess query;
    query.setProcessChannelMode(QProcess::SeparateChannels);
    query.start("xdg-mime", {"query", "default", "x-scheme-handler/mailto"});
    if (!query.waitForStarted(kQueryTimeoutMs)) return {};
    if (!query.waitForFinished(kQueryTimeoutMs)) {
        query.kill();
        query.waitForFinished(kQueryTimeoutMs);
        return {};
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) return {};
    const QByteArray output = query.read(kMaxQueryOutput);
    return QString::fromUtf8(output.left(output.indexOf('\n'))).trimmed();
}

QStringList XdgMailtoHandler::applicationFolders() {
    QStringList folders;
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    addAbsolute(folders, dataHome.isEmpty() ? QDir::homePath() + "/.local/share" : dataHome);
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty()) dataDirs = "/usr/local/share/:/usr/share/";
    for (const QString& dir : dataDirs.split(':', Qt::SkipEmptyParts)) addAbsolute(folders, dir);
    return folders;
}

std::string XdgMailtoHandler::execOf(const QString& desktopId) {
    const std::vector<std::string> paths = desktopEntryPaths(desktopId.toStdString());
    for (const QString& folder : applicationFolders()) {
        for (const std::string& path : paths) {
            QFile entry(folder + '/' + QString::fromStdString(path));
            if (!entry.open(QIODevice::ReadOnly)) continue;
            // The first entry found hides the same ID in the later folders.
            return desktopEntryExec(entry.read(kMaxEntrySize).toStdString());
        }
    }
    return {};
}

}  // namespace qlt
