#pragma once

#include <string>

#include "base/UiPort.h"

class QWidget;

namespace qlt::ui {

// Shows modal message boxes for the window and its dialogs; tests answer in
// place of the user.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // The button chosen. The box is modal over `parent`, or over the whole
    // program without one.
    virtual BoxAnswer showBox(const std::string& title, const std::string& text, BoxIcon icon,
                              BoxButtons buttons, QWidget* parent) = 0;
};

// What a dialog needs of a UiPort: its boxes, over one parent. Dialogs ask
// for nothing else, so the progress and pump calls have nothing to do here;
// the main window's own port answers those during commands.
class DialogBoxes final : public UiPort {
  public:
    DialogBoxes(MessageBoxes& boxes, QWidget* parent) : m_boxes(boxes), m_parent(parent) {}

    BoxAnswer messageBox(const std::string& title, const std::string& text, BoxIcon icon,
                         BoxButtons buttons) override {
        return m_boxes.showBox(title, text, icon, buttons, m_parent);
    }
    void progress(int, long) override {}
    void pumpPaint() override {}
    void pumpMessages() override {}

  private:
    MessageBoxes& m_boxes;
    QWidget* m_parent;
};

}  // namespace qlt::ui
