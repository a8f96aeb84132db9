#pragma once

#include "ui/MessageBoxes.h"

namespace qlt::ui {

// The desktop's message boxes, on QMessageBox.
class QtMessageBoxes final : public MessageBoxes {
  public:
    BoxAnswer showBox(const std::string& title, const std::string& text, BoxIcon icon, BoxButtons buttons,
                      QWidget* parent) override;
};

}  // namespace qlt::ui
