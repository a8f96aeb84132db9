#include "tray/TrayIconArt.h"

#include <QPainter>
#include <QPainterPath>
#include <array>

#include "controls/BitmapArt.h"
#include "core/TrayStatus.h"

namespace qlt::tray {

namespace {

constexpr qreal kDesignSize = 16.0;
constexpr int kFirstRiskIcon = 187;
constexpr int kLastRiskIcon = 190;
constexpr std::array<int, 5> kIconSizes = {16, 22, 24, 32, 48};

void paintEnvelope(QPainter& p) {
    const QRectF body(0.75, 2.75, 13.5, 9.5);
    p.setPen(QPen(QColor(44, 68, 100), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(250, 250, 246));
    p.drawRect(body);
    const std::array<QPointF, 3> flap = {body.topLeft(), QPointF(body.center().x(), body.top() + 5.5),
                                         body.topRight()};
    p.drawPolyline(flap.data(), static_cast<int>(flap.size()));
}

// The program's mark: a quill laid across the envelope.
void paintQuill(QPainter& p) {
    QPainterPath feather;
    feather.moveTo(4.0, 14.5);
    feather.cubicTo(7.0, 9.0, 11.0, 3.0, 15.5, 0.5);
    feather.cubicTo(14.5, 5.0, 10.0, 10.5, 4.0, 14.5);
    p.setPen(QPen(QColor(120, 70, 20), 0.8));
    p.setBrush(QColor(214, 140, 40));
    p.drawPath(feather);
}

// The risk lamp of the level, as the window's lamps draw it, over the corner.
void paintRiskBadge(QPainter& p, int level) {
    p.save();
    p.translate(6.0, 4.0);
    p.scale(0.9, 0.9);
    controls::drawBitmap(p, controls::bitmap::kLampLevel0 + level, QPoint(0, 0));
    p.restore();
}

// Two arcs chasing each other: a scan is running.
void paintScanningBadge(QPainter& p) {
    const QRectF ring(7.5, 6.5, 8.0, 8.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 220));
    p.drawEllipse(ring.adjusted(-0.5, -0.5, 0.5, 0.5));
    p.setPen(QPen(QColor(40, 110, 200), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(ring.adjusted(1.0, 1.0, -1.0, -1.0), 30 * 16, 120 * 16);
    p.drawArc(ring.adjusted(1.0, 1.0, -1.0, -1.0), 210 * 16, 120 * 16);
}

void paintTrayIcon(QPainter& p, int iconId) {
    paintEnvelope(p);
    if (iconId >= kFirstRiskIcon && iconId <= kLastRiskIcon)
        paintRiskBadge(p, iconId - kFirstRiskIcon);
    else if (iconId == kTrayIconScanning)
        paintScanningBadge(p);
    else
        paintQuill(p);
}

}  // namespace

QImage renderTrayIcon(int iconId, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kDesignSize, size / kDesignSize);
    paintTrayIcon(p, iconId);
    return image;
}

QIcon trayIcon(int iconId) {
    QIcon icon;
    for (const int size : kIconSizes) icon.addPixmap(QPixmap::fromImage(renderTrayIcon(iconId, size)));
    return icon;
}

}  // namespace qlt::tray
