#pragma once

#include <QAbstractButton>

namespace qlt::controls {

// Picture of a command button: the active face whenever the look asks for it, else disabled, pressed or
// normal by the button's state.
int faceButtonBitmap(int look, bool enabled, bool down);

// The main window's command buttons (SCAN, DELETE, GET MAIL, CLOSE, ANALYZE, DUMP): a picture face with an
// embossed caption. While a scan runs the owner gives SCAN the active look.
class CFaceButton : public QAbstractButton {
    Q_OBJECT

  public:
    explicit CFaceButton(const QString& text = QString(), QWidget* parent = nullptr);

    // A picture number; only the active face's number changes anything.
    void setLook(int look);
    int look() const { return m_nLook; }

    int faceBitmap() const { return faceButtonBitmap(m_nLook, isEnabled(), isDown()); }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int m_nLook;
};

}  // namespace qlt::controls
