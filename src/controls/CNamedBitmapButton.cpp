#include "controls/CNamedBitmapButton.h"

#include <QPainter>

#include "controls/BitmapArt.h"

namespace qlt::controls {

namespace {

// Keeps `name` as a face when the picture exists; an unknown name leaves no face and counts as a failure.
bool takeFace(QString& face, const QString& name) {
    face = hasBitmap(name) ? name : QString();
    return name.isEmpty() || !face.isEmpty();
}

}  // namespace

QString chooseBitmapFace(const BitmapFaces& faces, bool down, bool focused, bool enabled) {
    if (down && !faces.down.isEmpty()) return faces.down;
    if (focused && !faces.focus.isEmpty()) return faces.focus;
    if (!enabled && !faces.disabled.isEmpty()) return faces.disabled;
    return faces.up;
}

CNamedBitmapButton::CNamedBitmapButton(const QString& text, QWidget* parent) : PaintedButton(parent) {
    setText(text);
}

bool CNamedBitmapButton::loadBitmaps(const QString& up, const QString& down, const QString& focus,
                                     const QString& disabled) {
    bool allFound = takeFace(m_faces.up, up);
    allFound = takeFace(m_faces.down, down) && allFound;
    allFound = takeFace(m_faces.focus, focus) && allFound;
    allFound = takeFace(m_faces.disabled, disabled) && allFound;
    updateGeometry();
    update();
    return allFound && !m_faces.up.isEmpty();
}

bool CNamedBitmapButton::autoLoad() {
    const QString base = text();
    const QString focus = base + QLatin1Char('F');
    const bool loaded = loadBitmaps(base + QLatin1Char('U'), base + QLatin1Char('D'),
                                    hasBitmap(focus) ? focus : QString(), base + QLatin1Char('X'));
    if (loaded) resize(sizeHint());
    return loaded;
}

QSize CNamedBitmapButton::sizeHint() const {
    const QSize up = bitmapSize(m_faces.up);
    return up.isValid() ? up : QSize(20, 20);
}

void CNamedBitmapButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawBitmap(painter, shownFace(), QPoint(0, 0));
    // A focus face of its own already shows where the focus is.
    if (m_faces.focus.isEmpty()) paintFocusMark(painter);
}

}  // namespace qlt::controls
