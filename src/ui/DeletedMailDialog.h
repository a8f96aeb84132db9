#pragma once

#include <QDialog>
#include <vector>

#include "core/DeletionLog.h"

class QLineEdit;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

namespace qlt::ui {

// "Deleted Mail": the deletion log as a list (time, account, from, subject,
// why) that sorts by a click on a column's header, newest first at the
// start, and keeps only the rows holding the text of the filter field.
// Parts by object name: "filter", "deletedList".
class DeletedMailDialog : public QDialog {
    Q_OBJECT

  public:
    explicit DeletedMailDialog(const std::vector<DeletionRecord>& records, QWidget* parent = nullptr);

    enum Column { kTime = 0, kAccount, kFrom, kSubject, kWhy, kColumns };

  private:
    QStandardItemModel* m_model = nullptr;
    QSortFilterProxyModel* m_filtered = nullptr;
    QLineEdit* m_filter = nullptr;
    QTableView* m_list = nullptr;
};

}  // namespace qlt::ui
