#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <array>

#include "controls/ListIconArt.h"
#include "store/AccountStore.h"

namespace qlt::ui {

// The account view's rows (fillAccountView): accounts 1..N in store order.
class AccountViewModel final : public QAbstractTableModel {
    Q_OBJECT

  public:
    explicit AccountViewModel(const AccountStore& accounts, QObject* parent = nullptr);

    void reload();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The state picture of a row (1 in Scan All, 2 inactive, 3 current), 0
    // for a row that does not exist.
    int stateImage(int row) const;

  private:
    const AccountStore& m_accounts;
    int m_shownRows = 0;
    std::array<QIcon, controls::kAccountStateImages> m_stateIcons;
};

}  // namespace qlt::ui
