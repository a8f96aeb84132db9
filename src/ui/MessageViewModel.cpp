#include "ui/MessageViewModel.h"

namespace qlt::ui {

QVariant columnAlignment(bool rightAligned) {
    return QVariant::fromValue(rightAligned ? Qt::AlignRight | Qt::AlignVCenter
                                            : Qt::AlignLeft | Qt::AlignVCenter);
}

MessageViewModel::MessageViewModel(const MessageView& view, QObject* parent)
    : QAbstractTableModel(parent), m_view(view) {
    for (int i = 0; i < controls::kEnvelopeImages; ++i)
        m_envelopes[static_cast<std::size_t>(i)] = controls::envelopeIcon(i);
    setIconStyle(0);
    m_shownRows = static_cast<int>(m_view.rowCount());
}

void MessageViewModel::setIconStyle(int style) {
    m_style = style;
    for (int i = 0; i < controls::kRiskStripImages; ++i)
        m_riskIcons[static_cast<std::size_t>(i)] = controls::riskStripIcon(style, i);
    if (m_shownRows > 0) emit dataChanged(index(0, 0), index(m_shownRows - 1, kMessageColumnCount - 1));
}

void MessageViewModel::reload() {
    const int rows = static_cast<int>(m_view.rowCount());
    if (rows != m_shownRows) {
        beginResetModel();
        m_shownRows = rows;
        endResetModel();
        return;
    }
    if (rows > 0) emit dataChanged(index(0, 0), index(rows - 1, kMessageColumnCount - 1));
}

int MessageViewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_shownRows;
}

int MessageViewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kMessageColumnCount;
}

int MessageViewModel::iconIndex(int row, int column) const {
    if (row < 0 || static_cast<std::size_t>(row) >= m_view.rowCount()) return kNoIcon;
    const auto r = static_cast<std::size_t>(row);
    if (column == kColumnState) return static_cast<int>(m_view.state(r));
    return m_view.cellIcon(r, column);
}

QIcon MessageViewModel::icon(int row, int column) const {
    const int image = iconIndex(row, column);
    if (image == kNoIcon) return {};
    if (column == kColumnState)
        return image < controls::kEnvelopeImages ? m_envelopes[static_cast<std::size_t>(image)] : QIcon();
    return image < controls::kRiskStripImages ? m_riskIcons[static_cast<std::size_t>(image)] : QIcon();
}

QVariant MessageViewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_shownRows ||
        static_cast<std::size_t>(index.row()) >= m_view.rowCount())
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(m_view.cellText(row, column));
        case Qt::ToolTipRole: {
            // The info tip: the whole text of a cell the column may cut.
            const std::string& text = m_view.cellText(row, column);
            return text.empty() ? QVariant() : QVariant(QString::fromStdString(text));
        }
        case Qt::DecorationRole: {
            const QIcon shown = icon(index.row(), column);
            return shown.isNull() ? QVariant() : QVariant(shown);
        }
        case Qt::TextAlignmentRole:
            return columnAlignment(kMessageColumns[static_cast<std::size_t>(column)].rightAligned);
        default:
            return {};
    }
}

QVariant MessageViewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kMessageColumnCount) return {};
    const MessageColumnInfo& info = kMessageColumns[static_cast<std::size_t>(section)];
    return columnHeaderData(info, role);
}

}  // namespace qlt::ui
