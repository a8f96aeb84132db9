#pragma once

#include <QDialog>

namespace qlt::ui {

// The program's one window.
class MainWindow : public QDialog {
    Q_OBJECT

  public:
    explicit MainWindow(QWidget* parent = nullptr);
};

}  // namespace qlt::ui
