#pragma once

#include "controls/PaintedButton.h"

namespace qlt::controls {

// How the caption of a flat button is drawn.
enum class FlatCaption { Normal, Pressed, Disabled };

FlatCaption flatButtonCaption(bool enabled, bool down);

// The plain push button of the pages (Add, Delete, Update, Font): a raised grey frame and a caption.
class CFlatButton : public PaintedButton {
    Q_OBJECT

  public:
    explicit CFlatButton(const QString& text = QString(), QWidget* parent = nullptr);

    FlatCaption captionLook() const { return flatButtonCaption(isEnabled(), isDown()); }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void paintCaption(QPainter& painter, const QRect& textRect, const QColor& colour) const;
};

}  // namespace qlt::controls
