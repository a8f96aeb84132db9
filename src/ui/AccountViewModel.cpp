#include "ui/AccountViewModel.h"

#include "core/AccountView.h"
#include "ui/MessageViewModel.h"

namespace qlt::ui {

AccountViewModel::AccountViewModel(const AccountStore& accounts, QObject* parent)
    : QAbstractTableModel(parent), m_accounts(accounts) {
    for (int i = 0; i < controls::kAccountStateImages; ++i)
        m_stateIcons[static_cast<std::size_t>(i)] = controls::accountStateIcon(i);
    m_shownRows = m_accounts.GetAccountCount();
}

void AccountViewModel::reload() {
    beginResetModel();
    m_shownRows = m_accounts.GetAccountCount();
    endResetModel();
}

int AccountViewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_shownRows;
}

int AccountViewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kAccountColumnCount;
}

int AccountViewModel::stateImage(int row) const {
    const auto account = m_accounts.GetAccount(row + 1);
    return account ? static_cast<int>(AccountViewState(*account)) : 0;
}

QVariant AccountViewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const auto account = m_accounts.GetAccount(index.row() + 1);
    if (!account) return {};
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole: {
            const std::string text = AccountCellText(*account, column);
            return text.empty() ? QVariant() : QVariant(QString::fromStdString(text));
        }
        case Qt::DecorationRole:
            if (column != kAccountColumnState) return {};
            return m_stateIcons[static_cast<std::size_t>(AccountViewState(*account))];
        case Qt::TextAlignmentRole:
            return columnAlignment(kAccountColumns[static_cast<std::size_t>(column)].rightAligned);
        default:
            return {};
    }
}

QVariant AccountViewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kAccountColumnCount) return {};
    const AccountColumnInfo& info = kAccountColumns[static_cast<std::size_t>(section)];
    return columnHeaderData(info, role);
}

}  // namespace qlt::ui
