#include "ui/HeadersPage.h"

#include <QVBoxLayout>

#include "controls/ControlStyle.h"
#include "ui/MessageTextEdit.h"
#include "ui/PageLook.h"

namespace qlt::ui {

namespace {

constexpr int kGrey = 96;

}  // namespace

HeadersPage::HeadersPage(MailChecker& checker, UiPort& /*ui*/, QWidget* parent)
    : QWidget(parent), m_checker(checker), m_text(new MessageTextEdit(this)) {
    m_text->setObjectName(QStringLiteral("headers"));
    m_text->setFont(controls::cellHeightFont(QStringLiteral("Courier New"), 15));
    setTextColours(*m_text, Qt::white, QColor(kGrey, kGrey, kGrey));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
}

void HeadersPage::refreshPage() {
    m_text->setPlainText(messageText(m_checker.currentMessage().headers.view()));
}

QString HeadersPage::shownText() const {
    return m_text->toPlainText();
}

void HeadersPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_text->applySideMargins();
    refreshPage();
}

}  // namespace qlt::ui
