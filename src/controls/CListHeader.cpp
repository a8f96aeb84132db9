#include "controls/CListHeader.h"

#include <QAbstractItemModel>
#include <QPainter>

#include "controls/ControlStyle.h"

namespace qlt::controls {

int headerTextIndent(int blankWidth) {
    return static_cast<int>(1.2 * (1.5 * blankWidth));
}

QString headerShownText(const QFontMetrics& metrics, const QString& text, int width) {
    if (width <= 0) return {};
    return metrics.elidedText(text, Qt::ElideRight, width, Qt::TextSingleLine);
}

CListHeader::CListHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setFont(verdana13());
}

void CListHeader::setOwnerDrawn(int logicalIndex) {
    m_ownerDrawn.insert(logicalIndex);
    viewport()->update();
}

QString CListHeader::shownText(int logicalIndex) const {
    const QRect section(0, 0, sectionSize(logicalIndex), height());
    return headerShownText(fontMetrics(), sectionTitle(logicalIndex), textRect(section).width());
}

QRect CListHeader::textRect(const QRect& section) const {
    return section.adjusted(headerTextIndent(fontMetrics().horizontalAdvance(QLatin1Char(' '))), 0, 0, 0);
}

QString CListHeader::sectionTitle(int logicalIndex) const {
    if (model() == nullptr) return {};
    return model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
}

Qt::Alignment CListHeader::sectionAlignment(int logicalIndex) const {
    if (model() == nullptr) return Qt::AlignLeft;
    const QVariant align = model()->headerData(logicalIndex, orientation(), Qt::TextAlignmentRole);
    const Qt::Alignment horizontal = Qt::Alignment(align.toInt()) & Qt::AlignHorizontal_Mask;
    return horizontal != Qt::Alignment() ? horizontal : Qt::AlignLeft;
}

void CListHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!isOwnerDrawn(logicalIndex)) {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        return;
    }
    painter->save();
    painter->setClipRect(rect);
    painter->setFont(font());
    painter->fillRect(rect, QColor(255, 224, 0));
    painter->fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), QColor(214, 180, 0));
    const QRect titleRect = textRect(rect);
    const QString shown = headerShownText(fontMetrics(), sectionTitle(logicalIndex), titleRect.width());
    if (!shown.isEmpty()) {
        painter->setPen(Qt::black);
        painter->drawText(
            titleRect,
            static_cast<int>(sectionAlignment(logicalIndex) | Qt::AlignVCenter) | Qt::TextSingleLine, shown);
    }
    painter->restore();
}

}  // namespace qlt::controls
