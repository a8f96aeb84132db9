#pragma once

#include <QList>
#include <QSortFilterProxyModel>
#include <QString>
#include <optional>

class QWidget;

namespace qlt::ui {

// One entry of a file chooser's type list. Linux programs carry no name
// ending of their own, so a list of programs is made by the executable bit
// rather than by a pattern.
struct FileFilter {
    QString label;
    QString patterns;  // "*.wav", "*"
    bool executablesOnly = false;
};

struct OpenFileRequest {
    QString title;
    QString startPath;  // empty: the chooser's own start
    QList<FileFilter> filters;
};

// Asks the user for an existing file; tests answer in place of the user.
class FileChooser {
  public:
    virtual ~FileChooser() = default;
    // The chosen file's full path, nothing on Cancel.
    virtual std::optional<QString> chooseOpenFile(const OpenFileRequest& request, QWidget* parent) = 0;
};

// Hides files without the executable bit while active, over a file-system
// model; folders stay, so the user can still walk to the program.
class ExecutableFileFilter final : public QSortFilterProxyModel {
    Q_OBJECT

  public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setActive(bool active);
    bool isActive() const { return m_active; }

  protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

  private:
    bool m_active = false;
};

// The desktop's chooser. The current folder is the same afterwards whatever
// the answer, since data files are opened relative to it.
class QtFileChooser final : public FileChooser {
  public:
    std::optional<QString> chooseOpenFile(const OpenFileRequest& request, QWidget* parent) override;
};

}  // namespace qlt::ui
