#include "platform/UserDataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "store/BuiltInTexts.h"
#include "store/Settings.h"

namespace qlt {

QString userDataFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).filePath("quillgate");
}

bool installShippedFile(const QString& shippedFolder, const QString& dataFolder, const QString& name,
                        QString& error, InstalledCopy policy) {
    const QFileInfo shipped(QDir(shippedFolder).filePath(name));
    const QFileInfo installed(QDir(dataFolder).filePath(name));
    if (!shipped.isFile()) {
        error = "no shipped " + name + " in " + shippedFolder;
        return false;
    }
    if (policy == InstalledCopy::Keep && installed.exists()) return true;
    if (installed.isFile() && installed.lastModified() >= shipped.lastModified()) return true;
    QFile source(shipped.filePath());
    if (!source.open(QIODevice::ReadOnly)) {
        error = "cannot read " + source.fileName() + ": " + source.errorString();
        return false;
    }
    QSaveFile target(installed.filePath());
    if (!target.open(QIODevice::WriteOnly) || target.write(source.readAll()) != source.size() ||
        !target.commit()) {
        error = "cannot write " + target.fileName() + ": " + target.errorString();
        return false;
    }
    return true;
}

bool enterUserDataFolder(const QString& shippedFolder, const QString& dataFolder, QString& error) {
    if (!QDir().mkpath(dataFolder)) {
        error = "cannot make the folder " + dataFolder;
        return false;
    }
    QString installError;
    installShippedFile(shippedFolder, dataFolder, QString::fromStdString(dictionaryFileName()), installError);
    installShippedFile(QDir(shippedFolder).filePath("sounds"), dataFolder, kDefaultSoundFile, installError,
                       InstalledCopy::Keep);
    if (!QDir::setCurrent(dataFolder)) {
        error = "cannot change to the folder " + dataFolder;
        return false;
    }
    return true;
}

}  // namespace qlt
