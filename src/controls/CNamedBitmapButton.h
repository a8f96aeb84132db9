#pragma once

#include <QString>

#include "controls/PaintedButton.h"

namespace qlt::controls {

// Picture names of a bitmap button's faces; an empty name means the button has no such face.
struct BitmapFaces {
    QString up;
    QString down;
    QString focus;
    QString disabled;
};

// The face to show: down while pressed, else focus while focused, else disabled while disabled, each only
// when the button has it; the up face otherwise.
QString chooseBitmapFace(const BitmapFaces& faces, bool down, bool focused, bool enabled);

// A push button drawn entirely by named pictures: the view toggle of the main window and the small
// buttons of the Setup page.
class CNamedBitmapButton : public PaintedButton {
    Q_OBJECT

  public:
    explicit CNamedBitmapButton(const QString& text = QString(), QWidget* parent = nullptr);

    // Takes each named face that exists; true only when every non-empty name was found.
    bool loadBitmaps(const QString& up, const QString& down = QString(), const QString& focus = QString(),
                     const QString& disabled = QString());
    // Faces named after the button's text T: T+"U", T+"D", T+"F" (only if there is one) and T+"X". The
    // button then takes the size of its up face.
    bool autoLoad();

    const BitmapFaces& faces() const { return m_faces; }
    QString shownFace() const { return chooseBitmapFace(m_faces, isDown(), hasFocus(), isEnabled()); }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    BitmapFaces m_faces;
};

}  // namespace qlt::controls
