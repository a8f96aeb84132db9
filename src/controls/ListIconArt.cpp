#include "controls/ListIconArt.h"

#include <QPainter>
#include <QPainterPath>
#include <array>
#include <functional>

namespace qlt::controls {

namespace {

constexpr QSize kListIconSize(20, 16);
constexpr QSize kAccountIconSize(16, 16);

const std::array<QColor, 4> kLevelColours = {QColor(52, 168, 72), QColor(236, 196, 32), QColor(244, 132, 24),
                                             QColor(214, 48, 40)};
const QColor kTrack(206, 206, 206);
const QColor kOutline(96, 96, 96);

using Painter = std::function<void(QPainter&)>;

QImage paintImage(QSize size, qreal dpr, const Painter& paint) {
    QImage image(size * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    return image;
}

QIcon twoScales(const std::function<QImage(qreal)>& render) {
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(render(1.0)));
    icon.addPixmap(QPixmap::fromImage(render(2.0)));
    return icon;
}

// --- risk levels -------------------------------------------------------------------------------

void paintBlock(QPainter& p, int level) {
    p.setPen(QPen(kLevelColours[level].darker(140), 1.0));
    p.setBrush(kLevelColours[level]);
    p.drawRoundedRect(QRectF(5.5, 3.5, 9.0, 9.0), 2.0, 2.0);
}

// A bar that grows with the level; Fill Bar keeps the whole track visible.
void paintBar(QPainter& p, int level, bool withTrack) {
    const QRectF track(2.5, 5.5, 15.0, 5.0);
    if (withTrack) {
        p.setPen(Qt::NoPen);
        p.setBrush(kTrack);
        p.drawRect(track);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kLevelColours[level]);
    p.drawRect(QRectF(track.left(), track.top(), track.width() * (level + 1) / 4.0, track.height()));
    p.setPen(QPen(kOutline, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(track);
}

// Rising columns like a signal meter, one lit per level.
void paintColumns(QPainter& p, int level, bool grid) {
    if (grid) {
        p.setPen(QPen(QColor(220, 220, 220), 1.0));
        for (int y = 2; y <= 14; y += 3) p.drawLine(QPointF(2.5, y + 0.5), QPointF(17.5, y + 0.5));
    }
    for (int i = 0; i < 4; ++i) {
        const qreal height = 3.0 + 3.0 * i;
        const QRectF column(2.5 + 4.0 * i, 14.5 - height, 3.0, height);
        p.setPen(QPen(i <= level ? kLevelColours[level].darker(140) : QColor(170, 170, 170), 1.0));
        p.setBrush(i <= level ? kLevelColours[level] : QColor(232, 232, 232));
        p.drawRect(column);
    }
}

void paintRiskLevel(QPainter& p, RiskIconStyle style, int level) {
    switch (style) {
        case RiskIconStyle::Bar:
            return paintBar(p, level, false);
        case RiskIconStyle::FillBar:
            return paintBar(p, level, true);
        case RiskIconStyle::CxBar:
            return paintColumns(p, level, false);
        case RiskIconStyle::GridCxBar:
            return paintColumns(p, level, true);
        case RiskIconStyle::Block:
            break;
    }
    paintBlock(p, level);
}

// --- senders -----------------------------------------------------------------------------------

void paintSender(QPainter& p, int status) {
    static const std::array<QColor, 3> fills = {QColor(236, 236, 236), QColor(112, 196, 112),
                                                QColor(228, 84, 72)};
    const QColor fill = fills[static_cast<std::size_t>(status)];
    p.setPen(QPen(fill.darker(status == 0 ? 170 : 150), 1.0));
    p.setBrush(fill);
    p.drawChord(QRectF(4.0, 8.0, 12.0, 11.0), 0, 180 * 16);
    p.drawEllipse(QPointF(10.0, 5.5), 3.2, 3.2);
}

// --- envelopes ---------------------------------------------------------------------------------

void paintEnvelope(QPainter& p, bool marked) {
    const QRectF body(2.5, 3.5, 15.0, 10.0);
    p.setPen(QPen(QColor(70, 84, 100), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(marked ? QColor(255, 226, 222) : QColor(255, 255, 255));
    p.drawRect(body);
    const std::array<QPointF, 3> flap = {body.topLeft(), QPointF(body.center().x(), body.top() + 5.5),
                                         body.topRight()};
    p.drawPolyline(flap.data(), static_cast<int>(flap.size()));
    if (!marked) return;
    p.setPen(QPen(QColor(206, 32, 32), 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11.0, 7.0), QPointF(18.0, 14.0));
    p.drawLine(QPointF(18.0, 7.0), QPointF(11.0, 14.0));
}

// --- account state -----------------------------------------------------------------------------

void paintAccountState(QPainter& p, int image) {
    static const std::array<QColor, 3> fills = {QColor(56, 112, 214), QColor(176, 176, 176),
                                                QColor(214, 48, 40)};
    const QColor fill = fills[static_cast<std::size_t>(image - 1)];
    p.setPen(QPen(fill.darker(150), 1.0));
    p.setBrush(fill);
    p.drawEllipse(QRectF(3.5, 3.5, 9.0, 9.0));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 140));
    p.drawEllipse(QRectF(5.5, 5.0, 3.5, 2.5));
}

}  // namespace

QImage riskStripImage(int style, int image, qreal devicePixelRatio) {
    const auto look =
        style >= 0 && style < kRiskIconStyleCount ? static_cast<RiskIconStyle>(style) : RiskIconStyle::Block;
    return paintImage(kListIconSize, devicePixelRatio, [&](QPainter& p) {
        if (image >= 0 && image <= 3) paintRiskLevel(p, look, image);
        if (image >= 5 && image < kRiskStripImages) paintSender(p, image - 5);
    });
}

QImage envelopeImage(int image, qreal devicePixelRatio) {
    return paintImage(kListIconSize, devicePixelRatio, [&](QPainter& p) {
        if (image == 1 || image == 2) paintEnvelope(p, image == 2);
    });
}

QImage accountStateImage(int image, qreal devicePixelRatio) {
    return paintImage(kAccountIconSize, devicePixelRatio, [&](QPainter& p) {
        if (image >= 1 && image < kAccountStateImages) paintAccountState(p, image);
    });
}

QIcon riskStripIcon(int style, int image) {
    return twoScales([=](qreal dpr) { return riskStripImage(style, image, dpr); });
}

QIcon envelopeIcon(int image) {
    return twoScales([=](qreal dpr) { return envelopeImage(image, dpr); });
}

QIcon accountStateIcon(int image) {
    return twoScales([=](qreal dpr) { return accountStateImage(image, dpr); });
}

}  // namespace qlt::controls
