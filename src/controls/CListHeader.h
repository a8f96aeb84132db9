#pragma once

#include <QFontMetrics>
#include <QHeaderView>
#include <QSet>
#include <QString>

namespace qlt::controls {

// Left indent of a column's text: 1.2 times one and a half blanks.
int headerTextIndent(int blankWidth);

// What fits of `text` in `width` pixels, cut with an ellipsis at the end; empty when there is no room.
QString headerShownText(const QFontMetrics& metrics, const QString& text, int width);

// Column header of the message and account lists: the chosen columns are painted gold with an indented,
// ellipsised title; the others keep the standard look.
class CListHeader : public QHeaderView {
    Q_OBJECT

  public:
    explicit CListHeader(QWidget* parent = nullptr);

    void setOwnerDrawn(int logicalIndex);
    bool isOwnerDrawn(int logicalIndex) const { return m_ownerDrawn.contains(logicalIndex); }

    // The title as painted at the column's current width.
    QString shownText(int logicalIndex) const;

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

  private:
    QRect textRect(const QRect& section) const;
    QString sectionTitle(int logicalIndex) const;
    Qt::Alignment sectionAlignment(int logicalIndex) const;

    QSet<int> m_ownerDrawn;
};

}  // namespace qlt::controls
