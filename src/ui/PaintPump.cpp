#include "ui/PaintPump.h"

#include <QCoreApplication>
#include <QEvent>

namespace qlt::ui {

void pumpPaintOnly() {
    // A widget's update() posts an UpdateRequest to its window; sending just
    // those events paints every dirty widget through the backing store.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

}  // namespace qlt::ui
