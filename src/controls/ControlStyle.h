#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <cstdint>

class QPainter;

namespace qlt::controls {

// Colours arrive from the rest of the program as 0x00BBGGRR values (the form the stored settings and the
// window's colour tables use); this turns one into a QColor.
QColor fromColorRef(std::uint32_t colorRef);

// Font heights follow the old convention: a positive height is the whole character cell, a negative one
// the character itself. Both map to a pixel size so that text keeps its proportion to the control.
QFont cellHeightFont(const QString& family, int cellHeight, int weight = QFont::Normal);
QFont charHeightFont(const QString& family, int charHeight);

// One-pixel frame just inside `r`: top and left lines in one colour, bottom and right in the other, as
// the raised and sunken edges of the flat look are built.
void drawFrame3d(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight);

// The one face every page control uses: Verdana, cell height 13.
QFont verdana13();

}  // namespace qlt::controls
