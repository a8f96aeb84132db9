#include "ui/DeletedMailDialog.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace qlt::ui {

namespace {

constexpr std::array<const char*, DeletedMailDialog::kColumns> kHeaders = {"Time", "Account", "From",
                                                                           "Subject", "Why"};

// The log's UTC time in local time; the text sorts as the time does.
QString localTime(const std::string& utc) {
    const QDateTime time = QDateTime::fromString(QString::fromStdString(utc), Qt::ISODate);
    return time.isValid() ? time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                          : QString::fromStdString(utc);
}

QList<QStandardItem*> rowOf(const DeletionRecord& r) {
    QList<QStandardItem*> row;
    for (const QString& text :
         {localTime(r.time), QString::fromStdString(r.account), QString::fromStdString(r.from),
          QString::fromStdString(r.subject), QString::fromStdString(DeletionReasons(r))}) {
        auto* item = new QStandardItem(text);
        item->setToolTip(text);
        item->setEditable(false);
        row << item;
    }
    return row;
}

}  // namespace

DeletedMailDialog::DeletedMailDialog(const std::vector<DeletionRecord>& records, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Deleted Mail"));
    m_model = new QStandardItemModel(0, kColumns, this);
    for (int c = 0; c < kColumns; ++c)
        m_model->setHeaderData(c, Qt::Horizontal, QString::fromLatin1(kHeaders[static_cast<std::size_t>(c)]));
    for (const DeletionRecord& record : records) m_model->appendRow(rowOf(record));

    m_filtered = new QSortFilterProxyModel(this);
    m_filtered->setSourceModel(m_model);
    m_filtered->setFilterKeyColumn(-1);
    m_filtered->setFilterCaseSensitivity(Qt::CaseInsensitive);

    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("filter"));
    m_filter->setPlaceholderText(QStringLiteral("Filter"));
    m_filter->setClearButtonEnabled(true);
    connect(m_filter, &QLineEdit::textChanged, m_filtered, &QSortFilterProxyModel::setFilterFixedString);

    m_list = new QTableView(this);
    m_list->setObjectName(QStringLiteral("deletedList"));
    m_list->setModel(m_filtered);
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(kTime, Qt::DescendingOrder);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setWordWrap(false);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->horizontalHeader()->setMaximumSectionSize(200);
    m_list->resizeColumnsToContents();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_filter);
    layout->addWidget(m_list, 1);
    auto* note = new QLabel(
        QStringLiteral("Messages deleted on the server in the last %1 days.").arg(kDeletionLogDays), this);
    layout->addWidget(note);
    layout->addWidget(buttons);
    resize(900, 420);
}

}  // namespace qlt::ui
