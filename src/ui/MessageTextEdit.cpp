#include "ui/MessageTextEdit.h"

namespace qlt::ui {

MessageTextEdit::MessageTextEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void MessageTextEdit::applySideMargins() {
    setViewportMargins(kSideMargin, 0, kSideMargin, 0);
}

}  // namespace qlt::ui
