#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "ui/QtMessageBoxes.h"

namespace qlt::test {
namespace {

// The desktop's boxes themselves, so a real modal box answered by a click:
// everywhere else the window's boxes are answered in advance.
TEST(QtMessageBoxes, ShowTheBoxAskedForAndAnswerTheButtonClicked) {
    using Box = QMessageBox;
    const struct {
        BoxIcon icon;
        BoxButtons buttons;
        Box::Icon shownIcon;
        Box::StandardButtons shownButtons;
        Box::StandardButton click;
        BoxAnswer answer;
    } rows[] = {
        {BoxIcon::None, BoxButtons::Ok, Box::NoIcon, Box::Ok, Box::Ok, BoxAnswer::Ok},
        {BoxIcon::Information, BoxButtons::OkCancel, Box::Information, Box::Ok | Box::Cancel, Box::Cancel,
         BoxAnswer::Cancel},
        {BoxIcon::Warning, BoxButtons::YesNo, Box::Warning, Box::Yes | Box::No, Box::No, BoxAnswer::No},
        {BoxIcon::Error, BoxButtons::YesNoCancel, Box::Critical, Box::Yes | Box::No | Box::Cancel, Box::Yes,
         BoxAnswer::Yes},
        {BoxIcon::Question, BoxButtons::Ok, Box::Question, Box::Ok, Box::Ok, BoxAnswer::Ok},
    };
    for (const auto& row : rows) {
        QString shown;
        Box::Icon icon = Box::NoIcon;
        Box::StandardButtons buttons;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<Box*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            shown = box->windowTitle() + '|' + box->text();
            icon = box->icon();
            buttons = box->standardButtons();
            if (QAbstractButton* button = box->button(row.click)) return button->click();
            box->reject();
        });
        answer.start(5);
        const BoxAnswer answered =
            ui::QtMessageBoxes().showBox("QLT Notice", "Some text.\n", row.icon, row.buttons, nullptr);
        EXPECT_EQ(answered, row.answer) << static_cast<int>(row.icon);
        EXPECT_EQ(shown, "QLT Notice|Some text.\n");
        EXPECT_EQ(icon, row.shownIcon);
        EXPECT_EQ(buttons, row.shownButtons);
    }
}

}  // namespace
}  // namespace qlt::test
