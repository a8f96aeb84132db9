#include "controls/CFaceButton.h"

#include <QPainter>

#include "controls/BitmapArt.h"
#include "controls/ControlStyle.h"

namespace qlt::controls {

int faceButtonBitmap(int look, bool enabled, bool down) {
    if (look == bitmap::kFaceActive) return bitmap::kFaceActive;
    if (!enabled) return bitmap::kFaceDisabled;
    return down ? bitmap::kFacePressed : bitmap::kFaceNormal;
}

QString spokenCaption(const QString& caption) {
    QString spoken = caption.toLower();
    bool wordStart = true;
    for (QChar& c : spoken) {
        if (wordStart) c = c.toUpper();
        wordStart = c.isSpace();
    }
    return spoken;
}

CFaceButton::CFaceButton(const QString& text, QWidget* parent)
    : PaintedButton(parent), m_nLook(bitmap::kFaceNormal) {
    setCaption(text);
    setFont(cellHeightFont(QStringLiteral("Tahoma"), 13, QFont::Bold));
}

void CFaceButton::setLook(int look) {
    m_nLook = look;
    update();
}

void CFaceButton::setCaption(const QString& caption) {
    setText(caption);
    setAccessibleName(spokenCaption(caption));
}

QSize CFaceButton::sizeHint() const {
    return bitmapSize(bitmap::kFaceNormal);
}

void CFaceButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect client = rect();
    drawBitmap(painter, faceBitmap(), client.topLeft());
    // The face's lamp takes the left end, so the caption centres right of it: a light copy first, then
    // the grey text one pixel up and two to the left of it.
    constexpr int flags = Qt::AlignCenter | Qt::TextSingleLine;
    painter.setPen(QColor(240, 255, 255));
    painter.drawText(client.adjusted(11, 0, 0, 0), flags, text());
    painter.setPen(QColor(96, 96, 96));
    painter.drawText(client.adjusted(9, 0, 0, -2), flags, text());
    paintFocusMark(painter);
}

}  // namespace qlt::controls
