#include "ui/DetailsPage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

#include "controls/CBitmapLamp.h"
#include "controls/ControlStyle.h"
#include "ui/PageLook.h"

namespace qlt::ui {

namespace {

constexpr int kValueGrey = 32;
constexpr std::array<const char*, kDetailRiskRows> kRiskRowNames = {"Virus", "Spam", "X-Rated", "Language"};

QLabel* makeValue(const char* name, int lines, QWidget* parent) {
    auto* value = makePageLabel(QString(), name, parent);
    setTextColours(*value, QColor(kValueGrey, kValueGrey, kValueGrey), Qt::white);
    // Addresses such as "Jane <jane@example.org>" are text, never markup.
    value->setTextFormat(Qt::PlainText);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    value->setWordWrap(lines > 1);
    value->setFixedHeight(value->fontMetrics().lineSpacing() * lines + 2);
    value->setMinimumWidth(1);
    return value;
}

}  // namespace

DetailsPage::DetailsPage(MailChecker& checker, UiPort& /*ui*/, QWidget* parent)
    : QWidget(parent), m_checker(checker), m_fields(new QGridLayout) {
    m_from = addValueRow(QStringLiteral("From"), "from", 1);
    m_size = makeValue("size", 1, this);
    m_fields->addWidget(m_size, 0, 2);
    m_to = addValueRow(QStringLiteral("To"), "to", 1);
    m_subject = addValueRow(QStringLiteral("Subject"), "subject", 2);
    m_date = addValueRow(QStringLiteral("Date"), "date", 1);
    m_uidl = addValueRow(QStringLiteral("ULID"), "uidl", 1);
    m_attachments = addValueRow(QStringLiteral("Attachments"), "attachments", 1);
    m_contentType = addValueRow(QStringLiteral("Content-Type"), "contentType", 2);
    m_fields->setColumnStretch(1, 1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(m_fields, 1);
    layout->addWidget(buildRiskBox(), 0, Qt::AlignTop);
    refreshPage();
}

QLabel* DetailsPage::addValueRow(const QString& label, const char* name, int lines) {
    const int row = m_fields->rowCount();
    auto* caption = makePageLabel(label, "", this);
    // Captions are drawn greyed, as disabled statics.
    caption->setEnabled(false);
    QLabel* value = makeValue(name, lines, this);
    m_fields->addWidget(caption, row, 0, Qt::AlignTop);
    m_fields->addWidget(value, row, 1, 1, row == 0 ? 1 : 2);
    return value;
}

QGroupBox* DetailsPage::buildRiskBox() {
    auto* box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("risks"));
    auto* rows = new QGridLayout(box);
    for (int row = 0; row < kDetailRiskRows; ++row) {
        const auto i = static_cast<std::size_t>(row);
        m_lamps[i] = new controls::CBitmapLamp(controls::riskLampBitmap(kNoLampLevel), box);
        m_lamps[i]->setObjectName(QStringLiteral("lamp%1").arg(row));
        m_lamps[i]->setAccessibleName(QLatin1String(kRiskRowNames[i]) + QStringLiteral(" risk"));
        m_reasons[i] = makePageLabel(QString(), "", box);
        m_reasons[i]->setObjectName(QStringLiteral("reason%1").arg(row));
        rows->addWidget(m_lamps[i], row, 0);
        rows->addWidget(makePageLabel(QLatin1String(kRiskRowNames[i]), "", box), row, 1);
        rows->addWidget(m_reasons[i], row, 2);
    }
    return box;
}

void DetailsPage::refreshPage() {
    m_shown = DescribeMessage(m_checker.currentMessage());
    showDetails();
}

void DetailsPage::showDetails() {
    m_from->setText(messageText(m_shown.from));
    m_size->setText(QString::fromStdString(m_shown.sizeText));
    m_to->setText(messageText(m_shown.to));
    m_subject->setText(messageText(m_shown.subject));
    m_date->setText(messageText(m_shown.date));
    m_uidl->setText(messageText(m_shown.uidl));
    m_attachments->setText(QString::fromStdString(m_shown.attachments));
    m_contentType->setText(messageText(m_shown.contentType));
    for (std::size_t i = 0; i < m_lamps.size(); ++i) {
        m_reasons[i]->setText(QString::fromStdString(m_shown.reasons[i]));
        const QString why = plainTipText(messageText(m_shown.reasonWords[i]));
        m_reasons[i]->setToolTip(why);
        m_lamps[i]->setToolTip(why);
        m_lamps[i]->setBitmap(controls::riskLampBitmap(m_shown.lampLevels[i]));
    }
}

void DetailsPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refreshPage();
}

}  // namespace qlt::ui
