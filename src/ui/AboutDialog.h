#pragma once

#include <QDialog>
#include <string>

class QLabel;

namespace qlt::ui {

// "About Quillgate": name, version and build of the program.
class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    // buildText: the version the program was built as (programBuildText()).
    explicit AboutDialog(const std::string& buildText, QWidget* parent = nullptr);

    QString productLine() const;
    QString buildLine() const;

  private:
    QLabel* m_product;
    QLabel* m_build;
};

}  // namespace qlt::ui
