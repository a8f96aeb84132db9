#pragma once

#include <QRect>

class QKeyEvent;
class QPainter;
class QWidget;

namespace qlt::controls {

// True when `widget` should draw its focus mark: it has the focus and the user has moved the focus with
// the keyboard in its window. Someone who only uses the mouse never sees a mark, so the flat look stays
// as it was for them.
bool showsFocusMark(const QWidget& widget);

// The focus mark: a dotted rectangle two pixels inside `client`.
void drawFocusMark(QPainter& painter, const QRect& client);

// Space, Return and Enter: the keys that act on a focused control as a click does.
bool isActivationKey(const QKeyEvent& event);

}  // namespace qlt::controls
