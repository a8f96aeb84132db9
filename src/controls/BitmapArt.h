#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QStringView>

class QPainter;

namespace qlt::controls {

// Numbered pictures of the painted controls.
namespace bitmap {
inline constexpr int kLampLevel0 = 136;  // green
inline constexpr int kLampLevel1 = 137;  // amber
inline constexpr int kLampLevel2 = 138;  // orange
inline constexpr int kLampLevel3 = 139;  // red
inline constexpr int kLampNoLevel = 140;
inline constexpr int kTabNormal = 158;
inline constexpr int kTabSelected = 159;
inline constexpr int kFaceActive = 161;
inline constexpr int kFaceDisabled = 162;
inline constexpr int kFacePressed = 163;
inline constexpr int kFaceNormal = 164;
inline constexpr int kCheckOff = 168;
inline constexpr int kCheckOn = 169;
inline constexpr int kCheckDisabled = 170;
inline constexpr int kCountdownStrip = 183;
// The header line's small pictures: account status, message count, last
// check, link speed.
inline constexpr int kHeaderStatus = 1084;
inline constexpr int kHeaderCount = 1085;
inline constexpr int kHeaderChecked = 1086;
inline constexpr int kHeaderSpeed = 1087;
}  // namespace bitmap

// The pictures are drawn as vector art in logical pixels, so they stay sharp at any device pixel ratio;
// each keeps the fixed size the layout was made for. Numbered and named pictures are separate sets, as
// the controls ask for them one way or the other.
QSize bitmapSize(int id);
QSize bitmapSize(QStringView name);
bool hasBitmap(int id);
bool hasBitmap(QStringView name);

// Draw a whole picture with its top left corner at topLeft; false (nothing drawn) for an unknown one.
bool drawBitmap(QPainter& painter, int id, QPoint topLeft);
bool drawBitmap(QPainter& painter, QStringView name, QPoint topLeft);
// Draw only the part `source` of a picture, placed at topLeft (frame strips).
bool drawBitmapPart(QPainter& painter, int id, const QRect& source, QPoint topLeft);

// A picture on its own, transparent around it, at the given device pixel ratio.
QImage renderBitmap(int id, qreal devicePixelRatio);
QImage renderBitmap(QStringView name, qreal devicePixelRatio);

QList<int> bitmapIds();
QStringList bitmapNames();

}  // namespace qlt::controls
