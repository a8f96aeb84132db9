#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <string_view>

class QLabel;
class QStackedWidget;
class QWidget;

namespace qlt::ui {

// Text and background of a control, whatever the desktop's colour scheme.
void setTextColours(QWidget& widget, const QColor& text, const QColor& back);

// A label in the pages' small face (Verdana 13), named for finding it again.
QLabel* makePageLabel(const QString& text, const char* name, QWidget* parent);

// Lifts every field of `container` (edit, spin box, combo box, list, label)
// to at least the height its font needs, so that no layout squeezes its text:
// what lies below moves down and the container needs more room.
void fitFieldsToFonts(QWidget& container);

// Fits the fields of every page in `area`, then makes the area as large as
// its largest page needs, and never smaller than `least`.
void fitPageArea(QStackedWidget& area, QSize least);

// Message text as the server sent it: UTF-8 when it is valid UTF-8, else
// one character per byte.
QString messageText(std::string_view bytes);

// Tooltips are kept with Windows line ends; a Linux tooltip wants "\n".
QString tipText(const char* text);

// A tooltip that shows the text as it is, even one that looks like markup
// (a user string such as "<b>").
QString plainTipText(const QString& text);

}  // namespace qlt::ui
