#include "controls/CTabButton.h"

#include <QMouseEvent>
#include <QPainter>

#include "controls/BitmapArt.h"
#include "controls/ControlStyle.h"

namespace qlt::controls {

CTabButton::CTabButton(int commandId, const QString& caption, QWidget* parent)
    : QWidget(parent), m_nCommandId(commandId), m_strCaption(caption) {
    setFont(verdana13());
}

void CTabButton::setSelected(bool selected) {
    m_bSelected = selected;
    update();
}

void CTabButton::setCaption(const QString& caption) {
    m_strCaption = caption;
    update();
}

int CTabButton::faceBitmap() const {
    return m_bSelected ? bitmap::kTabSelected : bitmap::kTabNormal;
}

QSize CTabButton::sizeHint() const {
    return bitmapSize(bitmap::kTabNormal);
}

void CTabButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawBitmap(painter, faceBitmap(), QPoint(0, 0));
    painter.setPen(QColor(32, 32, 32));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, m_strCaption);
}

void CTabButton::mousePressEvent(QMouseEvent* event) {
    // Pressing the tab already shown would only reload the same page, so it is ignored.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && !m_bSelected) {
        emit command(m_nCommandId);
    }
    QWidget::mousePressEvent(event);
}

}  // namespace qlt::controls
