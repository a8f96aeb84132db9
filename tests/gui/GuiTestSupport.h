#pragma once

#include <QImage>
#include <QWidget>

namespace qlt::test {

// The widget painted into an image at the given device pixel ratio, on a background of `ground`.
QImage renderWidget(QWidget& widget, qreal devicePixelRatio, const QColor& ground = Qt::magenta);

// True when the image holds more than one colour, i.e. something was painted on it.
bool hasInk(const QImage& image);

}  // namespace qlt::test
