#include "ui/FileChooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QStringList>

namespace qlt::ui {

namespace {

QString nameFilter(const FileFilter& filter) {
    return filter.label + QStringLiteral(" (") + filter.patterns + QLatin1Char(')');
}

class CurrentFolderKeeper {
  public:
    CurrentFolderKeeper() : m_folder(QDir::currentPath()) {}
    ~CurrentFolderKeeper() { QDir::setCurrent(m_folder); }
    CurrentFolderKeeper(const CurrentFolderKeeper&) = delete;
    CurrentFolderKeeper& operator=(const CurrentFolderKeeper&) = delete;

  private:
    QString m_folder;
};

}  // namespace

void ExecutableFileFilter::setActive(bool active) {
    if (active == m_active) return;
    m_active = active;
    invalidateFilter();
}

bool ExecutableFileFilter::filterAcceptsRow(int row, const QModelIndex& parent) const {
    if (!m_active) return true;
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (files == nullptr) return true;
    const QFileInfo info = files->fileInfo(files->index(row, 0, parent));
    return info.isDir() || info.isExecutable();
}

std::optional<QString> QtFileChooser::chooseOpenFile(const OpenFileRequest& request, QWidget* parent) {
    const CurrentFolderKeeper keeper;
    QFileDialog dialog(parent, request.title, request.startPath);
    // The type filter by executable bit needs the dialog's own file view.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    QStringList names;
    for (const auto& filter : request.filters) names << nameFilter(filter);
    dialog.setNameFilters(names);

    auto* executables = new ExecutableFileFilter(&dialog);
    dialog.setProxyModel(executables);
    const auto choose = [&](const QString& name) {
        const auto index = names.indexOf(name);
        executables->setActive(index >= 0 && request.filters[index].executablesOnly);
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, choose);
    if (!names.isEmpty()) choose(names.first());

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

}  // namespace qlt::ui
