#include "ui/FirstRunNote.h"

#include <QAbstractScrollArea>
#include <QLabel>
#include <QVBoxLayout>

#include "controls/ControlStyle.h"

namespace qlt::ui {

namespace {

constexpr int kSideMargin = 24;

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
    layout->addWidget(note, 0, Qt::AlignCenter);
    return note;
}

}  // namespace qlt::ui
