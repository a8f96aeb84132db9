// Every field of the pages and dialogs stands as tall as its font needs and
// inside its page or dialog; tests/CMakeLists.txt runs these cases again at
// twice the scale.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTest>
#include <functional>
#include <memory>

#include "WindowRig.h"
#include "base/ProcessState.h"
#include "controls/CFaceButton.h"
#include "support/ScriptedUiPort.h"
#include "support/TempFolder.h"
#include "ui/AboutDialog.h"
#include "ui/AddAccountDialog.h"
#include "ui/AdvancedPreferencesDialog.h"
#include "ui/EnterPasswordDialog.h"
#include "ui/MessageViewModel.h"

namespace qlt::test {
namespace {

bool isField(const QWidget& widget) {
    return qobject_cast<const QLineEdit*>(&widget) || qobject_cast<const QAbstractSpinBox*>(&widget) ||
           qobject_cast<const QComboBox*>(&widget) || qobject_cast<const QAbstractItemView*>(&widget) ||
           qobject_cast<const QLabel*>(&widget);
}

// The parts of a field (a spin box's line edit, a list's header) are the field's business.
bool insideAField(const QWidget& widget, const QWidget& frame) {
    for (const QWidget* up = widget.parentWidget(); up != nullptr && up != &frame; up = up->parentWidget())
        if (isField(*up)) return true;
    return false;
}

// What is wrong with the fields on `frame`, one line each.
std::string misfits(QWidget& frame) {
    QStringList found;
    for (QWidget* field : frame.findChildren<QWidget*>()) {
        if (!isField(*field) || !field->isVisibleTo(&frame) || insideAField(*field, frame)) continue;
        const QString name = QStringLiteral("%1 %2 on %3")
                                 .arg(QLatin1String(field->metaObject()->className()), field->objectName(),
                                      frame.objectName());
        // A wrapping label needs the height of its text at its own width.
        const int needed =
            field->hasHeightForWidth() ? field->heightForWidth(field->width()) : field->sizeHint().height();
        if (field->height() < needed)
            found << QStringLiteral("%1 is %2 tall, needs %3").arg(name).arg(field->height()).arg(needed);
        const QRect at(field->mapTo(&frame, QPoint(0, 0)), field->size());
        if (!frame.rect().contains(at)) found << name + QStringLiteral(" reaches outside");
    }
    return found.join(QLatin1Char('\n')).toStdString();
}

TEST(PagesFit, EveryPageOfTheWindowWithAMessageShown) {
    WindowRig rig;
    ASSERT_TRUE(rig.addDemoAccount());
    ui::MainWindow& window = *rig.window;
    window.show();
    QTest::mouseClick(&rig.part<controls::CFaceButton>("scanButton"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return rig.part<ui::MessageViewModel>("messageModel").rowCount() ==
                   static_cast<int>(rig.demoMessageCount());
        },
        10000));
    auto* area = window.findChild<QStackedWidget*>();
    ASSERT_NE(area, nullptr);
    for (int tab = ui::command::kTabPreview; tab <= ui::command::kTabOptions; ++tab) {
        window.showTab(tab);
        QWidget& page = *area->currentWidget();
        page.setObjectName(QStringLiteral("page %1").arg(tab));
        QApplication::processEvents();
        EXPECT_EQ(misfits(page), "");
        EXPECT_TRUE(area->contentsRect().contains(page.geometry())) << tab;
    }
    resetProcessState();
}

TEST(PagesFit, EveryDialog) {
    ScriptedUiPort ui;
    NoFileChooser files;
    TempFolder folder{"qlt-fit"};
    const std::function<std::unique_ptr<QDialog>()> dialogs[] = {
        [&] { return std::make_unique<ui::AddAccountDialog>(ui); },
        [&] { return std::make_unique<ui::EnterPasswordDialog>(QStringLiteral("jane"), ui); },
        [&] {
            return std::make_unique<ui::AdvancedPreferencesDialog>(Settings{}, ui, files,
                                                                   folder.file("userlst.dat"));
        },
        [&] { return std::make_unique<ui::AboutDialog>(QLT_VERSION); },
    };
    for (const auto& open : dialogs) {
        const std::unique_ptr<QDialog> dialog = open();
        dialog->setObjectName(QLatin1String(dialog->metaObject()->className()));
        dialog->show();
        QApplication::processEvents();
        EXPECT_EQ(misfits(*dialog), "");
    }
}

}  // namespace
}  // namespace qlt::test
