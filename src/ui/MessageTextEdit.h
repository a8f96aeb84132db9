#pragma once

#include <QPlainTextEdit>

namespace qlt::ui {

// The read-only, scrolling text of the Headers and Preview pages, with room
// left and right of the text.
class MessageTextEdit : public QPlainTextEdit {
    Q_OBJECT

  public:
    static constexpr int kSideMargin = 20;

    explicit MessageTextEdit(QWidget* parent = nullptr);

    // Sets the left and right margins (again), as each showing of a page does.
    void applySideMargins();
    int sideMargin() const { return viewportMargins().left(); }
};

}  // namespace qlt::ui
