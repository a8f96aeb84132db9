#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>

#include "controls/BitmapArt.h"
#include "controls/CBitmapLamp.h"
#include "controls/CCountdownLamp.h"
#include "controls/CListHeader.h"
#include "controls/CTabButton.h"

namespace qlt::controls {
namespace {

TEST(TabButton, PressOnAnUnselectedTabAsksForItsPage) {
    CTabButton tab(1074, QStringLiteral("Headers"));
    tab.resize(tab.sizeHint());
    EXPECT_EQ(tab.size(), QSize(80, 22));
    QSignalSpy commands(&tab, &CTabButton::command);

    QTest::mouseClick(&tab, Qt::LeftButton);
    ASSERT_EQ(commands.count(), 1);
    EXPECT_EQ(commands.at(0).at(0).toInt(), 1074);
    EXPECT_FALSE(tab.isSelected()) << "the owner selects the tab, not the press";

    QTest::mouseClick(&tab, Qt::RightButton);
    EXPECT_EQ(commands.count(), 1) << "only the left button";
}

TEST(TabButton, SelectedTabIgnoresPresses) {
    CTabButton tab(1073);
    tab.resize(tab.sizeHint());
    tab.setCaption(QStringLiteral("Preview"));
    EXPECT_EQ(tab.faceBitmap(), bitmap::kTabNormal);
    tab.setSelected(true);
    EXPECT_EQ(tab.faceBitmap(), bitmap::kTabSelected);
    EXPECT_EQ(tab.caption(), QStringLiteral("Preview"));

    QSignalSpy commands(&tab, &CTabButton::command);
    QTest::mouseClick(&tab, Qt::LeftButton);
    EXPECT_EQ(commands.count(), 0);
}

TEST(CountdownFrames, AdvancingWrapsBeforeTheIdleFrame) {
    const struct { int from, to; } rows[] = {{0, 1}, {7, 8}, {8, 0}, {9, 1}};
    for (const auto& row : rows) EXPECT_EQ(nextCountdownFrame(row.from), row.to) << row.from;
}

TEST(CountdownLamp, SetAdvanceAndOff) {
    CCountdownLamp lamp;
    EXPECT_EQ(lamp.frame(), kCountdownIdleFrame) << "idle until a timer starts";
    lamp.setFrame(12);
    EXPECT_EQ(lamp.frame(), 9);
    lamp.setFrame(1);
    EXPECT_EQ(lamp.advance(), 2);
    lamp.setFrame(8);
    EXPECT_EQ(lamp.advance(), 0) << "advancing never reaches the idle frame";
    EXPECT_EQ(lamp.frame(), 0);
    lamp.setOff();
    EXPECT_EQ(lamp.frame(), 9);
}

TEST(RiskLampBitmap, LevelsZeroToThreeElseGrey) {
    const struct {
        int level, bitmapId;
    } rows[] = {{0, 136}, {1, 137}, {2, 138}, {3, 139}, {-1, 140}, {4, 140}, {255, 140}};
    for (const auto& row : rows) EXPECT_EQ(riskLampBitmap(row.level), row.bitmapId) << row.level;
}

TEST(BitmapLamp, OwnerSwapsThePicture) {
    CBitmapLamp lamp(bitmap::kLampNoLevel);
    EXPECT_EQ(lamp.sizeHint(), QSize(12, 16));
    lamp.setBitmap(riskLampBitmap(3));
    EXPECT_EQ(lamp.bitmapId(), bitmap::kLampLevel3);
}

TEST(HeaderTextIndent, OnePointTwoTimesOneAndAHalfBlanks) {
    const struct { int blank, indent; } rows[] = {{0, 0}, {3, 5}, {4, 7}, {5, 9}, {10, 18}};
    for (const auto& row : rows) EXPECT_EQ(headerTextIndent(row.blank), row.indent) << row.blank;
}

TEST(HeaderShownText, FitsWithEllipsisOrNothing) {
    const QFontMetrics metrics(QFont(QStringLiteral("Verdana"), 10));
    const QString title = QStringLiteral("Last Checked");
    EXPECT_EQ(headerShownText(metrics, title, 1000), title);
    EXPECT_TRUE(headerShownText(metrics, title, 0).isEmpty());
    EXPECT_TRUE(headerShownText(metrics, title, -4).isEmpty());
    const QString cut = headerShownText(metrics, title, metrics.horizontalAdvance(title) / 2);
    EXPECT_LT(cut.size(), title.size());
    EXPECT_TRUE(cut.endsWith(QChar(0x2026))) << cut.toStdString();
}

TEST(ListHeader, OwnerDrawnColumnsShowTheirTitleAtTheirWidth) {
    QStandardItemModel model(0, 3);
    model.setHorizontalHeaderLabels(
        {QStringLiteral(" "), QStringLiteral("Account"), QStringLiteral("Msg  ")});
    model.setHeaderData(2, Qt::Horizontal, int(Qt::AlignRight), Qt::TextAlignmentRole);
    CListHeader header;
    header.setModel(&model);
    header.resize(400, 20);
    header.setOwnerDrawn(1);
    header.setOwnerDrawn(2);
    EXPECT_FALSE(header.isOwnerDrawn(0));
    EXPECT_TRUE(header.isOwnerDrawn(1));

    header.resizeSection(1, 200);
    EXPECT_EQ(header.shownText(1), QStringLiteral("Account"));
    header.setMinimumSectionSize(1);
    header.resizeSection(1, 30);
    EXPECT_TRUE(header.shownText(1).endsWith(QChar(0x2026))) << header.shownText(1).toStdString();
    header.resizeSection(1, 2);
    EXPECT_TRUE(header.shownText(1).isEmpty()) << "the indent leaves no room";
}

}  // namespace
}  // namespace qlt::controls
