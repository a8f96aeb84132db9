#include "controls/CTabButton.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <QStyle>

#include "controls/BitmapArt.h"
#include "controls/ControlStyle.h"
#include "controls/KeyboardUse.h"

namespace qlt::controls {

QString mnemonicCaption(const QString& caption, QChar mnemonic) {
    QString drawn = caption;
    drawn.replace(QLatin1Char('&'), QStringLiteral("&&"));
    if (mnemonic.isNull() || mnemonic == QLatin1Char('&')) return drawn;
    const qsizetype at = drawn.indexOf(mnemonic, 0, Qt::CaseInsensitive);
    if (at >= 0) drawn.insert(at, QLatin1Char('&'));
    return drawn;
}

CTabButton::CTabButton(int commandId, const QString& caption, QWidget* parent)
    : QWidget(parent), m_nCommandId(commandId) {
    setFont(verdana13());
    // Tab reaches the tabs, but a click leaves the focus where it was, as it always did.
    setFocusPolicy(Qt::TabFocus);
    setCaption(caption);
}

void CTabButton::setSelected(bool selected) {
    m_bSelected = selected;
    update();
}

void CTabButton::setCaption(const QString& caption) {
    m_strCaption = caption;
    setAccessibleName(caption);
    update();
}

void CTabButton::setMnemonic(QChar letter) {
    if (m_nShortcutId != 0) releaseShortcut(m_nShortcutId);
    m_nShortcutId = 0;
    m_mnemonic = letter;
    if (!letter.isNull())
        m_nShortcutId =
            grabShortcut(QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(letter.toUpper().unicode()))));
    update();
}

int CTabButton::faceBitmap() const {
    return m_bSelected ? bitmap::kTabSelected : bitmap::kTabNormal;
}

QSize CTabButton::sizeHint() const {
    return bitmapSize(bitmap::kTabNormal);
}

bool CTabButton::event(QEvent* event) {
    if (event->type() == QEvent::Shortcut &&
        static_cast<QShortcutEvent*>(event)->shortcutId() == m_nShortcutId) {
        activate();
        return true;
    }
    return QWidget::event(event);
}

void CTabButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawBitmap(painter, faceBitmap(), QPoint(0, 0));
    painter.setPen(QColor(32, 32, 32));
    const int mnemonicFlag = style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, this)
                                 ? Qt::TextShowMnemonic
                                 : Qt::TextHideMnemonic;
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine | mnemonicFlag,
                     mnemonicCaption(m_strCaption, m_mnemonic));
    if (showsFocusMark(*this)) drawFocusMark(painter, rect());
}

void CTabButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) activate();
    QWidget::mousePressEvent(event);
}

void CTabButton::keyPressEvent(QKeyEvent* event) {
    if (!isActivationKey(*event)) return QWidget::keyPressEvent(event);
    activate();
}

void CTabButton::activate() {
    // Choosing the tab already shown would only reload the same page, so it is ignored.
    if (!m_bSelected) emit command(m_nCommandId);
}

}  // namespace qlt::controls
