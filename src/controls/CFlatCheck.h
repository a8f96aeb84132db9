#pragma once

#include "controls/PaintedButton.h"

namespace qlt::controls {

// Picture of the box: grey when disabled whatever the state, else the on or the off box.
int flatCheckBitmap(bool enabled, bool on);

// The on/off toggle of the pages and the main window. A click reaches the owner as an ordinary button
// click; the owner decides and sets the new state, so the control never flips itself.
class CFlatCheck : public PaintedButton {
    Q_OBJECT

  public:
    explicit CFlatCheck(const QString& text = QString(), QWidget* parent = nullptr);

    void setState(int state);
    int state() const { return m_nState; }
    bool isOn() const { return m_nState != 0; }

    // Box at the right edge and the text right-aligned before it, instead of box first.
    void setLeftText(bool leftText);
    bool leftText() const { return m_bLeftText; }

    int boxBitmap() const { return flatCheckBitmap(isEnabled(), isOn()); }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    // The owner sets the state, so a click leaves it as it is.
    void nextCheckState() override {}

  private:
    int m_nState = 0;
    bool m_bLeftText = false;
};

}  // namespace qlt::controls
