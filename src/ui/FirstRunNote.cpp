#include "ui/FirstRunNote.h"

#include <QAbstractScrollArea>
#include <QLabel>
#include <QVBoxLayout>

#include "controls/ControlStyle.h"

namespace qlt::ui {

namespace {

constexpr int kSideMargin = 40;

}  // namespace

QLabel* addFirstRunNote(QAbstractScrollArea& view) {
    auto* note = new QLabel(QString::fromLatin1(kFirstRunText), view.viewport());
    note->setObjectName(QStringLiteral("firstRunNote"));
    note->setTextFormat(Qt::PlainText);
    note->setFont(controls::verdana13());
    note->setAlignment(Qt::AlignCenter);
    note->setWordWrap(true);
    note->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* layout = new QVBoxLayout(view.viewport());
    layout->setContentsMargins(kSideMargin, 0, kSideMargin, 0);
    // The whole width, so that the text wraps only where the list is narrow.
    layout->addWidget(note);
    return note;
}

}  // namespace qlt::ui
