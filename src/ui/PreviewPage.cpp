#include "ui/PreviewPage.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "controls/CFlatButton.h"
#include "controls/ControlStyle.h"
#include "ui/MessageTextEdit.h"
#include "ui/PageLook.h"

namespace qlt::ui {

namespace {

constexpr char kFontTip[] = "Change default preview font. Can change\r\nscript to read another language too.";

}  // namespace

PreviewPage::PreviewPage(MailChecker& checker, UiPort& /*ui*/, QWidget* parent)
    : QWidget(parent),
      m_checker(checker),
      m_systemChooser(std::make_unique<QtFontChooser>()),
      m_chooser(m_systemChooser.get()),
      m_text(new MessageTextEdit(this)),
      m_fontButton(new controls::CFlatButton(QStringLiteral("Font"), this)) {
    m_text->setObjectName(QStringLiteral("preview"));
    m_text->setFont(previewFont(m_checker.settings().previewFont));
    setTextColours(*m_text, Qt::black, Qt::white);
    m_fontButton->setObjectName(QStringLiteral("font"));
    m_fontButton->setFont(controls::verdana13());
    m_fontButton->setToolTip(tipText(kFontTip));
    connect(m_fontButton, &controls::CFlatButton::clicked, this, &PreviewPage::chooseFont);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_fontButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
    layout->addLayout(buttonRow);
}

PreviewPage::~PreviewPage() = default;

void PreviewPage::refreshPage() {
    m_text->setPlainText(messageText(m_checker.currentMessage().preview.view()));
}

void PreviewPage::chooseFont() {
    const auto chosen = choosePreviewFont(*m_chooser, m_text->font(), m_checker.settings().previewFont, this);
    if (chosen) m_text->setFont(*chosen);
}

QString PreviewPage::shownText() const {
    return m_text->toPlainText();
}

QFont PreviewPage::shownFont() const {
    return m_text->font();
}

void PreviewPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_text->applySideMargins();
    refreshPage();
}

}  // namespace qlt::ui
