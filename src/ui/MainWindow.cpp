#include "ui/MainWindow.h"

namespace qlt::ui {

MainWindow::MainWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Quillgate 1.72"));
    resize(302, 420);
}

}  // namespace qlt::ui
