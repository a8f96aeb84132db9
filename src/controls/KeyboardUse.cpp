#include "controls/KeyboardUse.h"

#include <QKeyEvent>
#include <QPainter>
#include <QWidget>

namespace qlt::controls {

bool showsFocusMark(const QWidget& widget) {
    return widget.hasFocus() && widget.window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

void drawFocusMark(QPainter& painter, const QRect& client) {
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(32, 32, 32), 1, Qt::DotLine));
    painter.drawRect(client.adjusted(2, 2, -3, -3));
    painter.restore();
}

bool isActivationKey(const QKeyEvent& event) {
    // With a modifier the key belongs to a shortcut, not to the control.
    if (event.isAutoRepeat() || (event.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    const int key = event.key();
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace qlt::controls
