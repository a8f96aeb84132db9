#include "ui/PageLook.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QStackedWidget>
#include <QStringDecoder>
#include <QTextDocument>
#include <algorithm>

#include "controls/ControlStyle.h"

namespace qlt::ui {

namespace {

bool isField(const QWidget& widget) {
    return qobject_cast<const QLineEdit*>(&widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(&widget) != nullptr ||
           qobject_cast<const QComboBox*>(&widget) != nullptr ||
           qobject_cast<const QAbstractItemView*>(&widget) != nullptr ||
           qobject_cast<const QLabel*>(&widget) != nullptr;
}

// A spin box's own line edit and a list's header are sized by their field.
bool isPartOfAField(const QWidget& widget, const QWidget& container) {
    for (const QWidget* up = widget.parentWidget(); up != nullptr && up != &container;
         up = up->parentWidget())
        if (isField(*up)) return true;
    return false;
}

}  // namespace

void setTextColours(QWidget& widget, const QColor& text, const QColor& back) {
    QPalette palette = widget.palette();
    for (const auto role : {QPalette::WindowText, QPalette::Text}) palette.setColor(role, text);
    for (const auto role : {QPalette::Window, QPalette::Base}) palette.setColor(role, back);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

QLabel* makePageLabel(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(controls::verdana13());
    return label;
}

void fitFieldsToFonts(QWidget& container) {
    for (QWidget* field : container.findChildren<QWidget*>()) {
        // A wrapping label asks its layout for the height of its width itself.
        if (!isField(*field) || isPartOfAField(*field, container) || field->hasHeightForWidth()) continue;
        const int needed = field->sizeHint().height();
        if (field->minimumHeight() >= needed) continue;
        field->setMaximumHeight(std::max(field->maximumHeight(), needed));
        field->setMinimumHeight(needed);
    }
}

void fitPageArea(QStackedWidget& area, QSize least) {
    const int frame = 2 * area.frameWidth();
    for (int i = 0; i < area.count(); ++i) {
        QWidget& page = *area.widget(i);
        fitFieldsToFonts(page);
        least = least.expandedTo(page.minimumSizeHint() + QSize(frame, frame));
    }
    area.setFixedSize(least);
}

QString messageText(std::string_view bytes) {
    const QByteArrayView raw(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(raw);
    return utf8.hasError() ? QString::fromLatin1(raw) : decoded;
}

QString tipText(const char* text) {
    return QString::fromLatin1(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString plainTipText(const QString& text) {
    return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text) : text;
}

}  // namespace qlt::ui
