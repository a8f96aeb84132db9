#include "controls/CFlatButton.h"

#include <QPainter>

#include "controls/ControlStyle.h"

namespace qlt::controls {

FlatCaption flatButtonCaption(bool enabled, bool down) {
    if (!enabled) return FlatCaption::Disabled;
    return down ? FlatCaption::Pressed : FlatCaption::Normal;
}

CFlatButton::CFlatButton(const QString& text, QWidget* parent) : PaintedButton(parent) {
    setText(text);
    setFont(verdana13());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize CFlatButton::sizeHint() const {
    return {fontMetrics().horizontalAdvance(text()) + 16, fontMetrics().height() + 8};
}

void CFlatButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect client = rect();
    painter.fillRect(client, QColor(212, 212, 212));
    drawFrame3d(painter, client, Qt::white, Qt::black);
    painter.fillRect(QRect(client.left() + 1, client.top() + 1, client.width() - 2, 1),
                     QColor(230, 230, 230));
    painter.fillRect(QRect(client.left() + 1, client.bottom() - 1, client.width() - 2, 1),
                     QColor(196, 196, 196));

    switch (captionLook()) {
        case FlatCaption::Disabled:
            // Engraved: a white copy a pixel down and right under the grey text.
            paintCaption(painter, client.adjusted(0, 0, 2, 2), Qt::white);
            paintCaption(painter, client, QColor(128, 128, 128));
            break;
        case FlatCaption::Pressed:
            paintCaption(painter, client.adjusted(0, 0, 1, 1), QColor(64, 96, 96));
            break;
        case FlatCaption::Normal:
            paintCaption(painter, client, QColor(0, 32, 32));
            break;
    }
    paintFocusMark(painter);
}

void CFlatButton::paintCaption(QPainter& painter, const QRect& textRect, const QColor& colour) const {
    painter.setPen(colour);
    painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, text());
}

}  // namespace qlt::controls
