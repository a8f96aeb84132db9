#pragma once

#include <QString>

#include "controls/PaintedButton.h"

namespace qlt::controls {

// Picture of a command button: the active face whenever the look asks for it, else disabled, pressed or
// normal by the button's state.
int faceButtonBitmap(int look, bool enabled, bool down);

// What a screen reader says for a capitalised caption: "GET MAIL" is read as "Get Mail", not spelt out.
QString spokenCaption(const QString& caption);

// The main window's command buttons (SCAN, DELETE, GET MAIL, CLOSE, ANALYZE, DUMP): a picture face with an
// embossed caption. While a scan runs the owner gives SCAN the active look.
class CFaceButton : public PaintedButton {
    Q_OBJECT

  public:
    explicit CFaceButton(const QString& text = QString(), QWidget* parent = nullptr);

    // A picture number; only the active face's number changes anything.
    void setLook(int look);
    int look() const { return m_nLook; }

    // The caption and, with it, the name screen readers announce.
    void setCaption(const QString& caption);

    int faceBitmap() const { return faceButtonBitmap(m_nLook, isEnabled(), isDown()); }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int m_nLook;
};

}  // namespace qlt::controls
