#include "controls/ControlStyle.h"

#include <QPainter>
#include <algorithm>

namespace qlt::controls {

namespace {

// Verdana's ascent plus descent is about six fifths of its em, so a 13-pixel cell holds an 11-pixel em.
constexpr int kCellToEmNumerator = 5;
constexpr int kCellToEmDenominator = 6;

QFont familyFont(const QString& family, int pixelSize, int weight) {
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, pixelSize));
    font.setWeight(static_cast<QFont::Weight>(weight));
    return font;
}

}  // namespace

QColor fromColorRef(std::uint32_t colorRef) {
    return QColor(static_cast<int>(colorRef & 0xFFu), static_cast<int>((colorRef >> 8) & 0xFFu),
                  static_cast<int>((colorRef >> 16) & 0xFFu));
}

QFont cellHeightFont(const QString& family, int cellHeight, int weight) {
    return familyFont(family, cellHeight * kCellToEmNumerator / kCellToEmDenominator, weight);
}

QFont charHeightFont(const QString& family, int charHeight) {
    return familyFont(family, charHeight, QFont::Normal);
}

void drawFrame3d(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
}

QFont verdana13() {
    return cellHeightFont(QStringLiteral("Verdana"), 13);
}

}  // namespace qlt::controls
