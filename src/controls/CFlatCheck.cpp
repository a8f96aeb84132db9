#include "controls/CFlatCheck.h"

#include <QPainter>

#include "controls/BitmapArt.h"
#include "controls/ControlStyle.h"

namespace qlt::controls {

namespace {
constexpr int kBoxSize = 12;
constexpr int kTextGap = 18;  // from the box's outer edge to the text
}  // namespace

int flatCheckBitmap(bool enabled, bool on) {
    if (!enabled) return bitmap::kCheckDisabled;
    return on ? bitmap::kCheckOn : bitmap::kCheckOff;
}

CFlatCheck::CFlatCheck(const QString& text, QWidget* parent) : PaintedButton(parent) {
    setText(text);
    setFont(verdana13());
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Checkable, so that screen readers announce a check box and whether it is on.
    setCheckable(true);
}

void CFlatCheck::setState(int state) {
    m_nState = state;
    setChecked(isOn());
    update();
}

void CFlatCheck::setLeftText(bool leftText) {
    m_bLeftText = leftText;
    update();
}

QSize CFlatCheck::sizeHint() const {
    return {kTextGap + fontMetrics().horizontalAdvance(text()) + 2,
            std::max(kBoxSize, fontMetrics().height())};
}

void CFlatCheck::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect client = rect();
    painter.fillRect(client, QColor(212, 212, 212));

    const int boxTop = (client.height() - kBoxSize) / 2;
    const int boxLeft = m_bLeftText ? client.right() + 1 - kBoxSize : client.left();
    drawBitmap(painter, boxBitmap(), QPoint(boxLeft, boxTop));

    const QRect textRect =
        m_bLeftText ? client.adjusted(0, 0, -kTextGap, 0) : client.adjusted(kTextGap, 0, 0, 0);
    const Qt::Alignment align = (m_bLeftText ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    painter.setPen(QColor(0, 32, 32));
    painter.drawText(textRect, static_cast<int>(align) | Qt::TextSingleLine, text());
    paintFocusMark(painter);
}

}  // namespace qlt::controls
