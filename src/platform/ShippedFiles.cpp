#include "platform/ShippedFiles.h"

#include <QDir>
#include <QFileInfo>

#include "store/BuiltInTexts.h"

namespace qlt {

namespace {

constexpr auto kManualIndex = "index.html";

QString firstHolding(const QString& installed, const QString& sourceTree, const QString& name) {
    for (const QString& folder : {installed, sourceTree}) {
        if (QFileInfo(QDir(folder).filePath(name)).isFile()) return QDir::cleanPath(folder);
    }
    return {};
}

}  // namespace

QString shippedDataFolder(const QString& programFolder) {
    const QString found =
        firstHolding(QDir(programFolder).filePath("../share/quillgate"), QStringLiteral(QLT_SHIPPED_DATA_DIR),
                     QString::fromStdString(dictionaryFileName()));
    return found.isEmpty() ? QStringLiteral(QLT_SHIPPED_DATA_DIR) : found;
}

QString manualIndexFile(const QString& programFolder) {
    const QString found = firstHolding(QDir(programFolder).filePath("../share/doc/quillgate/manual"),
                                       QStringLiteral(QLT_MANUAL_DIR), kManualIndex);
    return found.isEmpty() ? QString() : QDir(found).filePath(kManualIndex);
}

}  // namespace qlt
