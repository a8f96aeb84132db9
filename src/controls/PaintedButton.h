#pragma once

#include <QAbstractButton>

class QPainter;

namespace qlt::controls {

// What the painted push buttons and toggles share for the keyboard: Tab reaches them, Space, Return and
// Enter click them as the mouse does (same signals), and they draw the focus mark while keyboard focus
// is on them.
class PaintedButton : public QAbstractButton {
    Q_OBJECT

  public:
    explicit PaintedButton(QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Called last in each paint, so the mark lies over the face.
    void paintFocusMark(QPainter& painter) const;
};

}  // namespace qlt::controls
