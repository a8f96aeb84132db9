#include "controls/PaintedButton.h"

#include <QKeyEvent>
#include <QPainter>

#include "controls/KeyboardUse.h"

namespace qlt::controls {

PaintedButton::PaintedButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void PaintedButton::keyPressEvent(QKeyEvent* event) {
    // Space stays with the base: down while held and a click on release, like a mouse press.
    if (event->key() != Qt::Key_Space && isActivationKey(*event)) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void PaintedButton::paintFocusMark(QPainter& painter) const {
    if (showsFocusMark(*this)) drawFocusMark(painter, rect());
}

}  // namespace qlt::controls
