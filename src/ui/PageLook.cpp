#include "ui/PageLook.h"

#include <QLabel>
#include <QPalette>
#include <QStringDecoder>
#include <QTextDocument>

#include "controls/ControlStyle.h"

namespace qlt::ui {

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
