#include "controls/CCountdownLamp.h"

#include <QPainter>
#include <algorithm>

#include "controls/BitmapArt.h"

namespace qlt::controls {

namespace {
constexpr int kFrameSize = 16;
}

int nextCountdownFrame(int frame) {
    return (frame + 1) % kCountdownIdleFrame;
}

CCountdownLamp::CCountdownLamp(QWidget* parent) : QWidget(parent) {}

void CCountdownLamp::setFrame(unsigned frame) {
    m_nFrame = static_cast<std::uint8_t>(std::min(frame, static_cast<unsigned>(kCountdownIdleFrame)));
    // Timer ticks arrive while the window may be busy; the lamp must show the new frame now.
    repaint();
}

int CCountdownLamp::advance() {
    setFrame(static_cast<unsigned>(nextCountdownFrame(m_nFrame)));
    return m_nFrame;
}

void CCountdownLamp::setOff() {
    setFrame(kCountdownIdleFrame);
}

QSize CCountdownLamp::sizeHint() const {
    return {kFrameSize, kFrameSize};
}

void CCountdownLamp::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawBitmapPart(painter, bitmap::kCountdownStrip, QRect(m_nFrame * kFrameSize, 0, kFrameSize, kFrameSize),
                   QPoint(0, 0));
}

}  // namespace qlt::controls
