#pragma once

#include <QWidget>
#include <cstdint>

namespace qlt::controls {

// Frame of the idle lamp (no background check running).
inline constexpr int kCountdownIdleFrame = 9;

// Next frame while counting: 0 to 8 round and round, so counting never lands on the idle frame.
int nextCountdownFrame(int frame);

// The status line's lamp showing how much of the wait until the next background check has passed.
class CCountdownLamp : public QWidget {
    Q_OBJECT

  public:
    explicit CCountdownLamp(QWidget* parent = nullptr);

    // Frames above the idle one show as idle.
    void setFrame(unsigned frame);
    int advance();
    void setOff();
    int frame() const { return m_nFrame; }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::uint8_t m_nFrame = kCountdownIdleFrame;
};

}  // namespace qlt::controls
