#include "controls/CBitmapLamp.h"

#include <QPainter>

#include "controls/BitmapArt.h"

namespace qlt::controls {

int riskLampBitmap(int level) {
    if (level < 0 || level > 3) return bitmap::kLampNoLevel;
    return bitmap::kLampLevel0 + level;
}

CBitmapLamp::CBitmapLamp(int bitmapId, QWidget* parent) : QWidget(parent), m_nBitmap(bitmapId) {}

void CBitmapLamp::setBitmap(int bitmapId) {
    m_nBitmap = bitmapId;
    update();
}

QSize CBitmapLamp::sizeHint() const {
    const QSize size = bitmapSize(m_nBitmap);
    return size.isValid() ? size : bitmapSize(bitmap::kLampNoLevel);
}

void CBitmapLamp::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawBitmap(painter, m_nBitmap, QPoint(0, 0));
}

}  // namespace qlt::controls
