#pragma once

#include <QWidget>

namespace qlt::controls {

// Picture of a risk lamp for a level 0 to 3; any other level (no data) shows the grey lamp.
int riskLampBitmap(int level);

// A plain picture in a window: the risk lamps and the status icons. The owner swaps the picture.
class CBitmapLamp : public QWidget {
    Q_OBJECT

  public:
    explicit CBitmapLamp(int bitmapId = 0, QWidget* parent = nullptr);

    void setBitmap(int bitmapId);
    int bitmapId() const { return m_nBitmap; }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int m_nBitmap;
};

}  // namespace qlt::controls
