#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <array>

#include "controls/ListIconArt.h"
#include "core/MessageView.h"
#include "ui/PageLook.h"

namespace qlt::ui {

// The message view's rows for a table widget: texts, icons, alignment, the
// full text of a cell as its tip and the columns' tooltips. It only reads
// the engine's MessageView; reload() follows a refill or a tag change.
class MessageViewModel final : public QAbstractTableModel {
    Q_OBJECT

  public:
    explicit MessageViewModel(const MessageView& view, QObject* parent = nullptr);

    // Picks the risk pictures of an icon style (0..4).
    void setIconStyle(int style);
    int iconStyle() const { return m_style; }

    // Reads the rows again: a changed row count resets the model, an equal
    // one only repaints, so the widget keeps its selection.
    void reload();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The picture index of a cell as the view draws it (the envelope of
    // column 0 included); kNoIcon for a text cell.
    int iconIndex(int row, int column) const;

  private:
    QIcon icon(int row, int column) const;

    const MessageView& m_view;
    int m_shownRows = 0;
    int m_style = 0;
    std::array<QIcon, controls::kRiskStripImages> m_riskIcons;
    std::array<QIcon, controls::kEnvelopeImages> m_envelopes;
};

// A cell's or header's alignment: right for the number columns.
QVariant columnAlignment(bool rightAligned);

// A column header's title, tip and alignment from its table row.
template <typename ColumnInfo>
QVariant columnHeaderData(const ColumnInfo& info, int role) {
    if (role == Qt::DisplayRole) return QString::fromLatin1(info.header);
    if (role == Qt::ToolTipRole) return tipText(info.tooltip);
    if (role == Qt::TextAlignmentRole) return columnAlignment(info.rightAligned);
    return {};
}

}  // namespace qlt::ui
