#include "controls/CTextProgress.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

#include "controls/ControlStyle.h"
#include "controls/KeyboardUse.h"

namespace qlt::controls {

std::int32_t progressPercent(std::int32_t value, std::uint32_t range) {
    if (range == 0 || value <= 0) return 0;
    // 64 bits: the product of a large position and 100 must not wrap into a small percentage.
    const std::uint64_t percent = static_cast<std::uint64_t>(value) * 100u / range;
    return static_cast<std::int32_t>(std::min<std::uint64_t>(
        percent, static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())));
}

int progressBarWidth(int clientWidth, std::int32_t percent) {
    const double filled = std::trunc(static_cast<double>(clientWidth) * percent / 100.0);
    return static_cast<int>((1 + static_cast<std::int64_t>(filled)) % 65536);
}

QString progressText(const QString& caption, std::int32_t value, std::int32_t percent) {
    return caption + QString::asprintf(" %d (%d%%)", value, percent);
}

int progressLargeFontHeight(int clientHeight) {
    return static_cast<int>(clientHeight * 0.5);
}
int progressSmallFontHeight(int clientHeight) {
    return static_cast<int>(clientHeight * 0.48);
}

CTextProgress::CTextProgress(QWidget* parent) : QWidget(parent) {
    // Every pixel is painted each time; skipping the erase keeps the bar from flickering while a scan
    // repaints it many times a second.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Tab reaches the bar so that its details open without a mouse; a click leaves the focus alone.
    setFocusPolicy(Qt::TabFocus);
}

void CTextProgress::Init(const QString& caption, const ProgressLook& look) {
    if (caption.isEmpty()) {
        m_strCaption = QString::fromLatin1(kNotInitializedText);
        return;
    }
    m_strCaption = caption;
    m_look = look;
    m_bInitialised = true;
}

void CTextProgress::SetRange(std::uint32_t n) {
    m_nRange = n + 1u;
    m_strShown = m_strCaption;
    update();
}

void CTextProgress::SetPos(std::int32_t v) {
    if (!m_bInitialised) {
        m_strCaption = QString::fromLatin1(kNotInitializedText);
        return;
    }
    if (m_nRange == 0) {
        m_strCaption = QString::fromLatin1(kNoRangeText);
        return;
    }
    m_nCurVal = v;
    m_nCurPct = progressPercent(v, m_nRange);
    m_strShown = progressText(m_strCaption, m_nCurVal, m_nCurPct);
    // The scan blocks the event loop between positions, so the bar must be drawn now, not later.
    repaint();
}

void CTextProgress::SetText(const QString& text) {
    m_strCaption = text;
    m_strShown = m_strCaption;
    m_nCurVal = 100;
    m_nCurPct = 100;
    repaint();
}

QSize CTextProgress::sizeHint() const {
    return {200, 18};
}

void CTextProgress::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect client = rect();
    painter.fillRect(client, m_look.back);
    if (m_bInitialised) paintBar(painter);
    if (showsFocusMark(*this)) drawFocusMark(painter, client);
}

void CTextProgress::paintBar(QPainter& painter) const {
    const QRect client = rect();
    painter.fillRect(client, m_look.track);
    painter.fillRect(QRect(client.left(), client.top(), barWidth(), client.height()), m_look.bar);
    paintEtchedEdge(painter);

    const int fontHeight = m_look.smallFont ? progressSmallFontHeight(client.height())
                                            : progressLargeFontHeight(client.height());
    painter.setFont(charHeightFont(QStringLiteral("Verdana"), fontHeight));
    painter.setPen(m_look.text);
    painter.drawText(client, Qt::AlignCenter | Qt::TextSingleLine, m_strShown);
}

// A groove: a shadow line outside a light one along the top and left, the reverse along the bottom
// and right.
void CTextProgress::paintEtchedEdge(QPainter& painter) const {
    const QColor shadow(160, 160, 160);
    const QColor light(Qt::white);
    const QRect outer = rect();
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    drawFrame3d(painter, outer, shadow, light);
    drawFrame3d(painter, inner, light, shadow);
}

void CTextProgress::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
    QWidget::mouseReleaseEvent(event);
}

void CTextProgress::keyPressEvent(QKeyEvent* event) {
    if (!isActivationKey(*event)) return QWidget::keyPressEvent(event);
    emit clicked();
}

}  // namespace qlt::controls
