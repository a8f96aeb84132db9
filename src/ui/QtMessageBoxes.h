#pragma once

#include "base/UiPort.h"

class QWidget;

namespace qlt::ui {

// Message boxes for the dialogs, on QMessageBox. Dialogs ask only for boxes,
// so the progress and pump calls have nothing to do here; the main window's
// own port answers those during commands.
class QtMessageBoxes final : public UiPort {
  public:
    explicit QtMessageBoxes(QWidget* parent = nullptr) : m_parent(parent) {}

    BoxAnswer messageBox(const std::string& title, const std::string& text, BoxIcon icon,
                         BoxButtons buttons) override;
    void progress(int, long) override {}
    void pumpPaint() override {}
    void pumpMessages() override {}

  private:
    QWidget* m_parent;
};

}  // namespace qlt::ui
