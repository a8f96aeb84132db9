#include "controls/BitmapArt.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <array>

namespace qlt::controls {

namespace {

enum class FaceState { Normal, Pressed, Disabled, Active };

struct FacePalette {
    QColor fill;
    QColor border;
    QColor accent;
};

FacePalette facePalette(FaceState state) {
    switch (state) {
        case FaceState::Pressed:
            return {QColor(196, 202, 208), QColor(100, 112, 124), QColor(50, 100, 150)};
        case FaceState::Disabled:
            return {QColor(218, 218, 218), QColor(176, 176, 176), QColor(172, 172, 172)};
        case FaceState::Active:
            return {QColor(255, 214, 140), QColor(214, 140, 20), QColor(255, 112, 0)};
        case FaceState::Normal:
            break;
    }
    return {QColor(228, 232, 236), QColor(128, 140, 152), QColor(70, 130, 190)};
}

// Ink of the small pictures on button faces; greyed on a disabled face.
struct GlyphInk {
    QColor stroke;
    QColor fill;
};

GlyphInk glyphInk(FaceState state, QColor fill) {
    if (state == FaceState::Disabled) return {QColor(150, 150, 150), QColor(226, 226, 226)};
    return {QColor(44, 68, 100), fill};
}

// A pressed face moves its picture down and right, as a real key would.
QPointF pressOffset(FaceState state) {
    return state == FaceState::Pressed ? QPointF(1.0, 1.0) : QPointF(0.0, 0.0);
}

void paintFaceBody(QPainter& p, QSizeF size, FaceState state, qreal radius) {
    const FacePalette pal = facePalette(state);
    const QRectF body(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    p.setPen(QPen(pal.border, 1.0));
    p.setBrush(pal.fill);
    p.drawRoundedRect(body, radius, radius);
    const QColor edge = state == FaceState::Pressed ? QColor(0, 0, 0, 40) : QColor(255, 255, 255, 170);
    p.setPen(QPen(edge, 1.0));
    p.drawLine(QPointF(radius + 0.5, 1.5), QPointF(size.width() - radius - 0.5, 1.5));
}

// --- risk lamps ----------------------------------------------------------------------------------------

void paintLamp(QPainter& p, QSizeF, int level, int) {
    static const std::array<QColor, 5> colours = {QColor(52, 168, 72), QColor(236, 196, 32),
                                                  QColor(244, 132, 24), QColor(214, 48, 40),
                                                  QColor(164, 164, 164)};
    const QColor colour = colours.at(static_cast<std::size_t>(level));
    p.setPen(QPen(colour.darker(150), 1.0));
    p.setBrush(colour);
    p.drawEllipse(QRectF(1.5, 3.5, 9.0, 9.0));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(QRectF(3.5, 5.0, 3.5, 2.5));
}

// --- page tabs -----------------------------------------------------------------------------------------

// The tabs hang below the page area: square at the top, rounded at the bottom.
QPainterPath hangingTab(const QRectF& r, qreal radius) {
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.left(), r.bottom() - radius);
    path.quadTo(r.bottomLeft(), QPointF(r.left() + radius, r.bottom()));
    path.lineTo(r.right() - radius, r.bottom());
    path.quadTo(r.bottomRight(), QPointF(r.right(), r.bottom() - radius));
    path.lineTo(r.topRight());
    return path;
}

void paintTab(QPainter& p, QSizeF size, int selected, int) {
    const QRectF body(0.5, 0.0, size.width() - 1.0, size.height() - 0.5);
    const QPainterPath outline = hangingTab(body, 4.0);
    p.setPen(Qt::NoPen);
    p.setBrush(selected != 0 ? QColor(240, 240, 240) : QColor(196, 196, 196));
    p.drawPath(outline);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(selected != 0 ? QColor(140, 140, 140) : QColor(156, 156, 156), 1.0));
    p.drawPath(outline);
    if (selected != 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 160, 0));
        p.drawRoundedRect(QRectF(8.0, size.height() - 5.0, size.width() - 16.0, 2.5), 1.2, 1.2);
    } else {
        p.setPen(QPen(QColor(140, 140, 140), 1.0));
        p.drawLine(QPointF(0.5, 0.5), QPointF(size.width() - 0.5, 0.5));
    }
}

// --- command button faces ------------------------------------------------------------------------------

void paintFace(QPainter& p, QSizeF size, int state, int) {
    const auto faceState = static_cast<FaceState>(state);
    paintFaceBody(p, size, faceState, 3.0);
    p.setPen(Qt::NoPen);
    p.setBrush(facePalette(faceState).accent);
    p.drawRoundedRect(QRectF(6.0, 6.0, 8.0, 8.0).translated(pressOffset(faceState)), 2.0, 2.0);
}

// --- flat check boxes ----------------------------------------------------------------------------------

void paintCheck(QPainter& p, QSizeF, int look, int) {
    const QRectF box(0.5, 0.5, 11.0, 11.0);
    if (look == bitmap::kCheckOn) {
        p.setPen(QPen(QColor(214, 106, 0), 1.0));
        p.setBrush(QColor(255, 150, 0));
        p.drawRoundedRect(box, 2.0, 2.0);
        p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        const std::array<QPointF, 3> tick = {QPointF(3.0, 6.2), QPointF(5.2, 8.4), QPointF(9.0, 3.6)};
        p.drawPolyline(tick.data(), static_cast<int>(tick.size()));
        return;
    }
    const bool disabled = look == bitmap::kCheckDisabled;
    p.setPen(QPen(disabled ? QColor(164, 164, 164) : QColor(40, 110, 200), 1.0));
    p.setBrush(disabled ? QColor(226, 226, 226) : QColor(Qt::white));
    p.drawRoundedRect(box, 2.0, 2.0);
}

// --- countdown strip -----------------------------------------------------------------------------------

constexpr int kCountdownFrames = 10;
constexpr int kCountdownFrameSize = 16;

// Frames 0 to 8 fill a dial clockwise from twelve o'clock, one ninth per frame; frame 9 is the idle dial.
void paintCountdownFrame(QPainter& p, int frame) {
    const QRectF dial(1.5, 1.5, 13.0, 13.0);
    const bool idle = frame >= kCountdownFrames - 1;
    p.setPen(QPen(idle ? QColor(164, 164, 164) : QColor(96, 110, 126), 1.0));
    p.setBrush(idle ? QColor(222, 222, 222) : QColor(Qt::white));
    p.drawEllipse(dial);
    if (idle) return;
    constexpr int kFullCircle = 360 * 16;
    constexpr int kTwelveOClock = 90 * 16;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 110, 200));
    p.drawPie(dial.adjusted(1.5, 1.5, -1.5, -1.5), kTwelveOClock,
              -kFullCircle * (frame + 1) / (kCountdownFrames - 1));
}

void paintCountdownStrip(QPainter& p, QSizeF, int, int) {
    for (int frame = 0; frame < kCountdownFrames; ++frame) {
        p.save();
        p.translate(frame * kCountdownFrameSize, 0);
        paintCountdownFrame(p, frame);
        p.restore();
    }
}

// --- small glyphs for the named buttons ----------------------------------------------------------------

void paintEnvelope(QPainter& p, const GlyphInk& ink, QPointF topLeft) {
    const QRectF r(topLeft, QSizeF(16.0, 11.0));
    p.setPen(QPen(ink.stroke, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(ink.fill);
    p.drawRect(r);
    const std::array<QPointF, 3> flap = {r.topLeft(), QPointF(r.center().x(), r.top() + r.height() * 0.55),
                                         r.topRight()};
    p.drawPolyline(flap.data(), static_cast<int>(flap.size()));
}

void paintPerson(QPainter& p, const GlyphInk& ink, QPointF head) {
    p.setPen(QPen(ink.stroke, 1.2));
    p.setBrush(ink.fill);
    p.drawChord(QRectF(head.x() - 6.0, head.y() + 4.0, 12.0, 11.0), 0, 180 * 16);
    p.drawEllipse(head, 3.2, 3.2);
}

void paintSwapArrows(QPainter& p, const GlyphInk& ink, QPointF origin) {
    p.setPen(QPen(ink.stroke, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QPointF o = origin;
    p.drawLine(o + QPointF(0, 2), o + QPointF(15, 2));
    const std::array<QPointF, 3> right = {o + QPointF(12, -1), o + QPointF(15, 2), o + QPointF(12, 5)};
    p.drawPolyline(right.data(), static_cast<int>(right.size()));
    p.drawLine(o + QPointF(15, 8), o + QPointF(0, 8));
    const std::array<QPointF, 3> left = {o + QPointF(3, 5), o + QPointF(0, 8), o + QPointF(3, 11)};
    p.drawPolyline(left.data(), static_cast<int>(left.size()));
}

void paintFolder(QPainter& p, const GlyphInk& ink, QPointF o) {
    QPainterPath folder;
    folder.moveTo(o + QPointF(0, 1));
    folder.lineTo(o + QPointF(4, 1));
    folder.lineTo(o + QPointF(5.5, 2.5));
    folder.lineTo(o + QPointF(11, 2.5));
    folder.lineTo(o + QPointF(11, 10));
    folder.lineTo(o + QPointF(0, 10));
    folder.closeSubpath();
    p.setPen(QPen(ink.stroke, 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(ink.fill);
    p.drawPath(folder);
}

void paintClock(QPainter& p, const GlyphInk& ink, QPointF centre) {
    p.setPen(QPen(ink.stroke, 1.1, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(ink.fill);
    p.drawEllipse(centre, 5.5, 5.5);
    p.drawLine(centre, centre + QPointF(0, -3.5));
    p.drawLine(centre, centre + QPointF(2.5, 0));
}

void paintSpeaker(QPainter& p, const GlyphInk& ink, QPointF o) {
    const std::array<QPointF, 6> cone = {o + QPointF(0, 3),  o + QPointF(3, 3), o + QPointF(6, 0),
                                         o + QPointF(6, 10), o + QPointF(3, 7), o + QPointF(0, 7)};
    p.setPen(QPen(ink.stroke, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(ink.stroke);
    p.drawPolygon(cone.data(), static_cast<int>(cone.size()));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(o.x() + 4.0, o.y() + 2.0, 5.0, 6.0), -60 * 16, 120 * 16);
    p.drawArc(QRectF(o.x() + 4.0, o.y() - 0.5, 8.0, 11.0), -60 * 16, 120 * 16);
}

enum class Glyph { Messages, Accounts, Swap, Find, Minutes, Test };

struct GlyphArt {
    void (*paint)(QPainter&, const GlyphInk&, QPointF);
    QColor fill;
    QPointF origin;
};

void paintGlyph(QPainter& p, Glyph glyph, FaceState state) {
    static const std::array<GlyphArt, 6> glyphs = {{
        {paintEnvelope, Qt::white, QPointF(12.0, 6.5)},
        {paintPerson, QColor(255, 200, 80), QPointF(20.0, 8.0)},
        {paintSwapArrows, Qt::white, QPointF(12.5, 7.0)},
        {paintFolder, QColor(255, 200, 80), QPointF(4.5, 4.5)},
        {paintClock, Qt::white, QPointF(10.0, 10.0)},
        {paintSpeaker, Qt::white, QPointF(4.5, 5.0)},
    }};
    const GlyphArt& art = glyphs.at(static_cast<std::size_t>(glyph));
    art.paint(p, glyphInk(state, art.fill), art.origin + pressOffset(state));
}

// The view toggle and the small Setup buttons: a face with a picture on it.
void paintGlyphButton(QPainter& p, QSizeF size, int state, int glyph) {
    const auto faceState = static_cast<FaceState>(state);
    paintFaceBody(p, size, faceState, size.height() > 20.0 ? 4.0 : 3.0);
    paintGlyph(p, static_cast<Glyph>(glyph), faceState);
}

// The header line's pictures: the glyphs of the named buttons, on no face.
void paintHeaderIcon(QPainter& p, QSizeF, int glyph, int) {
    const GlyphInk ink = glyphInk(FaceState::Normal, QColor(255, 236, 170));
    switch (static_cast<Glyph>(glyph)) {
        case Glyph::Accounts:
            p.save();
            p.scale(0.85, 0.85);
            paintPerson(p, ink, QPointF(9.4, 4.5));
            p.restore();
            return;
        case Glyph::Messages:
            p.save();
            p.scale(0.9, 0.9);
            paintEnvelope(p, glyphInk(FaceState::Normal, Qt::white), QPointF(0.8, 3.5));
            p.restore();
            return;
        case Glyph::Minutes:
            paintClock(p, glyphInk(FaceState::Normal, Qt::white), QPointF(8.0, 8.0));
            return;
        default:
            paintSwapArrows(p, ink, QPointF(0.5, 3.0));
            return;
    }
}

// --- the table -----------------------------------------------------------------------------------------

using PaintFn = void (*)(QPainter&, QSizeF, int, int);

struct Art {
    int id;            // 0 for a named picture
    const char* name;  // empty for a numbered picture
    int width;
    int height;
    PaintFn paint;
    int a;
    int b;
};

constexpr int kNormal = static_cast<int>(FaceState::Normal);
constexpr int kPressed = static_cast<int>(FaceState::Pressed);
constexpr int kDisabled = static_cast<int>(FaceState::Disabled);
constexpr int kActive = static_cast<int>(FaceState::Active);
constexpr int kMessages = static_cast<int>(Glyph::Messages);
constexpr int kAccounts = static_cast<int>(Glyph::Accounts);
constexpr int kSwap = static_cast<int>(Glyph::Swap);
constexpr int kFind = static_cast<int>(Glyph::Find);
constexpr int kMinutes = static_cast<int>(Glyph::Minutes);
constexpr int kTest = static_cast<int>(Glyph::Test);

const Art kArt[] = {
    {bitmap::kLampLevel0, "", 12, 16, paintLamp, 0, 0},
    {bitmap::kLampLevel1, "", 12, 16, paintLamp, 1, 0},
    {bitmap::kLampLevel2, "", 12, 16, paintLamp, 2, 0},
    {bitmap::kLampLevel3, "", 12, 16, paintLamp, 3, 0},
    {bitmap::kLampNoLevel, "", 12, 16, paintLamp, 4, 0},
    {bitmap::kTabNormal, "", 80, 22, paintTab, 0, 0},
    {bitmap::kTabSelected, "", 80, 22, paintTab, 1, 0},
    {bitmap::kFaceActive, "", 76, 20, paintFace, kActive, 0},
    {bitmap::kFaceDisabled, "", 76, 20, paintFace, kDisabled, 0},
    {bitmap::kFacePressed, "", 76, 20, paintFace, kPressed, 0},
    {bitmap::kFaceNormal, "", 76, 20, paintFace, kNormal, 0},
    {bitmap::kCheckOff, "", 12, 12, paintCheck, bitmap::kCheckOff, 0},
    {bitmap::kCheckOn, "", 12, 12, paintCheck, bitmap::kCheckOn, 0},
    {bitmap::kCheckDisabled, "", 12, 12, paintCheck, bitmap::kCheckDisabled, 0},
    {bitmap::kCountdownStrip, "", 160, 16, paintCountdownStrip, 0, 0},
    {bitmap::kHeaderStatus, "", 16, 16, paintHeaderIcon, kAccounts, 0},
    {bitmap::kHeaderCount, "", 16, 16, paintHeaderIcon, kMessages, 0},
    {bitmap::kHeaderChecked, "", 16, 16, paintHeaderIcon, kMinutes, 0},
    {bitmap::kHeaderSpeed, "", 16, 16, paintHeaderIcon, kSwap, 0},
    {0, "ACTU", 40, 24, paintGlyphButton, kNormal, kMessages},
    {0, "ACBU", 40, 24, paintGlyphButton, kNormal, kAccounts},
    {0, "ACTD", 40, 24, paintGlyphButton, kPressed, kSwap},
    {0, "ACTX", 40, 24, paintGlyphButton, kDisabled, kMessages},
    {0, "FINDSU", 20, 20, paintGlyphButton, kNormal, kFind},
    {0, "FINDSD", 20, 20, paintGlyphButton, kPressed, kFind},
    {0, "FINDSX", 20, 20, paintGlyphButton, kDisabled, kFind},
    {0, "MINUTU", 20, 20, paintGlyphButton, kNormal, kMinutes},
    {0, "MINUTD", 20, 20, paintGlyphButton, kPressed, kMinutes},
    {0, "MINUTX", 20, 20, paintGlyphButton, kDisabled, kMinutes},
    {0, "TESTSU", 20, 20, paintGlyphButton, kNormal, kTest},
    {0, "TESTSD", 20, 20, paintGlyphButton, kPressed, kTest},
    {0, "TESTSX", 20, 20, paintGlyphButton, kDisabled, kTest},
};

const Art* findArt(int id) {
    if (id == 0) return nullptr;
    for (const Art& art : kArt) {
        if (art.id == id) return &art;
    }
    return nullptr;
}

const Art* findArt(QStringView name) {
    if (name.isEmpty()) return nullptr;
    for (const Art& art : kArt) {
        if (name == QLatin1String(art.name)) return &art;
    }
    return nullptr;
}

QSize artSize(const Art* art) {
    return art != nullptr ? QSize(art->width, art->height) : QSize();
}

bool drawArt(QPainter& painter, const Art* art, QPoint topLeft) {
    if (art == nullptr) return false;
    painter.save();
    painter.translate(topLeft);
    painter.setRenderHint(QPainter::Antialiasing, true);
    art->paint(painter, QSizeF(art->width, art->height), art->a, art->b);
    painter.restore();
    return true;
}

QImage renderArt(const Art* art, qreal devicePixelRatio) {
    if (art == nullptr || devicePixelRatio <= 0.0) return {};
    QImage image(qCeil(art->width * devicePixelRatio), qCeil(art->height * devicePixelRatio),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    drawArt(painter, art, QPoint(0, 0));
    return image;
}

}  // namespace

QSize bitmapSize(int id) {
    return artSize(findArt(id));
}
QSize bitmapSize(QStringView name) {
    return artSize(findArt(name));
}
bool hasBitmap(int id) {
    return findArt(id) != nullptr;
}
bool hasBitmap(QStringView name) {
    return findArt(name) != nullptr;
}

bool drawBitmap(QPainter& painter, int id, QPoint topLeft) {
    return drawArt(painter, findArt(id), topLeft);
}

bool drawBitmap(QPainter& painter, QStringView name, QPoint topLeft) {
    return drawArt(painter, findArt(name), topLeft);
}

bool drawBitmapPart(QPainter& painter, int id, const QRect& source, QPoint topLeft) {
    const Art* art = findArt(id);
    if (art == nullptr) return false;
    painter.save();
    painter.setClipRect(QRect(topLeft, source.size()), Qt::IntersectClip);
    const bool drawn = drawArt(painter, art, topLeft - source.topLeft());
    painter.restore();
    return drawn;
}

QImage renderBitmap(int id, qreal devicePixelRatio) {
    return renderArt(findArt(id), devicePixelRatio);
}

QImage renderBitmap(QStringView name, qreal devicePixelRatio) {
    return renderArt(findArt(name), devicePixelRatio);
}

QList<int> bitmapIds() {
    QList<int> ids;
    for (const Art& art : kArt) {
        if (art.id != 0) ids.append(art.id);
    }
    return ids;
}

QStringList bitmapNames() {
    QStringList names;
    for (const Art& art : kArt) {
        if (art.id == 0) names.append(QLatin1String(art.name));
    }
    return names;
}

}  // namespace qlt::controls
