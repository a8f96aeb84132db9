#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <limits>

#include "GuiTestSupport.h"
#include "controls/CTextProgress.h"
#include "controls/ControlStyle.h"

namespace qlt::controls {
namespace {

constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();

struct PercentRow {
    const char* name;
    std::int32_t value;
    std::uint32_t range;
    std::int32_t percent;
};

TEST(ProgressPercent, WholeNumberDivisionOfTheRange) {
    const PercentRow rows[] = {
        {"last step of range 0..9 stays under 100", 9, 10, 90},
        {"first step", 0, 10, 0},
        {"one past the last step", 10, 10, 100},
        {"thirds round down", 1, 3, 33},
        {"no range gives nothing", 5, 0, 0},
        {"negative position counts as zero", -5, 10, 0},
        {"product beyond 32 bits does not wrap", 50000000, 1, kInt32Max},
        {"large position in a large range", 2000000000, 4000000000u, 50},
    };
    for (const PercentRow& row : rows) {
        EXPECT_EQ(progressPercent(row.value, row.range), row.percent) << row.name;
    }
}

struct BarRow {
    const char* name;
    int width;
    std::int32_t percent;
    int barWidth;
};

TEST(ProgressBarWidth, OnePlusTruncatedShareWrappingAt65536) {
    const BarRow rows[] = {
        {"empty bar is one pixel", 200, 0, 1},
        {"full bar is one past the width", 200, 100, 201},
        {"half", 200, 50, 101},
        {"share truncated toward zero", 199, 50, 100},
        {"a third of 300", 300, 33, 100},
        {"zero width", 0, 100, 1},
        {"wraps at 65536", 1000, 6554, 5},
    };
    for (const BarRow& row : rows) {
        EXPECT_EQ(progressBarWidth(row.width, row.percent), row.barWidth) << row.name;
    }
}

TEST(ProgressText, CaptionBlankValueAndPercent) {
    EXPECT_EQ(progressText(QStringLiteral("Scanning"), 9, 90), QStringLiteral("Scanning 9 (90%)"));
    EXPECT_EQ(progressText(QString(), 0, 0), QStringLiteral(" 0 (0%)"));
    EXPECT_EQ(progressText(QStringLiteral("Deleting"), -3, 0), QStringLiteral("Deleting -3 (0%)"));
}

TEST(ProgressFonts, HalfAndFortyEightHundredthsOfTheHeightTruncated) {
    const struct {
        int height, large, small;
    } rows[] = {{18, 9, 8}, {21, 10, 10}, {25, 12, 12}, {31, 15, 14}, {0, 0, 0}};
    for (const auto& row : rows) {
        EXPECT_EQ(progressLargeFontHeight(row.height), row.large) << row.height;
        EXPECT_EQ(progressSmallFontHeight(row.height), row.small) << row.height;
    }
}

ProgressLook scanLook() {
    ProgressLook look;
    look.bar = fromColorRef(0xD4D4D4);
    look.track = fromColorRef(0xFFCC00);
    look.text = fromColorRef(0x202020);
    look.back = fromColorRef(0xF0F0F0);
    return look;
}

class TextProgressTest : public ::testing::Test {
  protected:
    TextProgressTest() { bar.resize(200, 24); }

    void startPhase(const QString& name) {
        bar.Init(QStringLiteral("Init"), scanLook());
        bar.SetText(name);
    }

    CTextProgress bar;
};

TEST_F(TextProgressTest, StartsUninitialisedWithDefaultColours) {
    EXPECT_FALSE(bar.isInitialised());
    EXPECT_TRUE(bar.shownText().isEmpty());
    EXPECT_EQ(bar.range(), 0u);
    EXPECT_EQ(bar.look().bar, QColor(224, 224, 224));
    EXPECT_EQ(bar.look().track, QColor(Qt::white));
    EXPECT_EQ(bar.look().back, QColor(Qt::white));
    EXPECT_FALSE(bar.look().smallFont);
}

TEST_F(TextProgressTest, InitWithEmptyCaptionOnlyReplacesTheCaption) {
    bar.Init(QString(), scanLook());
    EXPECT_FALSE(bar.isInitialised());
    EXPECT_EQ(bar.caption(), QStringLiteral("Not Initialized !!!"));
    EXPECT_EQ(bar.look().track, QColor(Qt::white)) << "colours must not be taken";

    bar.Init(QStringLiteral("Mbox Scan"), scanLook());
    ASSERT_TRUE(bar.isInitialised());
    EXPECT_EQ(bar.caption(), QStringLiteral("Mbox Scan"));
    EXPECT_EQ(bar.look().track, QColor(0x00, 0xCC, 0xFF));
    EXPECT_TRUE(bar.shownText().isEmpty()) << "Init shows nothing by itself";

    ProgressLook other = scanLook();
    other.track = Qt::red;
    bar.Init(QString(), other);
    EXPECT_TRUE(bar.isInitialised()) << "a control stays initialised";
    EXPECT_EQ(bar.caption(), QStringLiteral("Not Initialized !!!"));
    EXPECT_EQ(bar.look().track, QColor(0x00, 0xCC, 0xFF));
}

TEST_F(TextProgressTest, PositionBeforeInitReplacesCaptionAndLeavesTheRest) {
    bar.SetPos(5);
    EXPECT_EQ(bar.caption(), QStringLiteral("Not Initialized !!!"));
    EXPECT_TRUE(bar.shownText().isEmpty());
    EXPECT_EQ(bar.currentValue(), 0);

    bar.SetRange(4);
    EXPECT_EQ(bar.shownText(), QStringLiteral("Not Initialized !!!")) << "the next range shows the complaint";
    EXPECT_FALSE(bar.isInitialised());
}

TEST_F(TextProgressTest, PositionWithoutRangeComplainsOnTheNextRange) {
    startPhase(QStringLiteral("Requesting Data"));
    bar.SetPos(3);
    EXPECT_EQ(bar.caption(), QStringLiteral("No Max-Range defined"));
    EXPECT_EQ(bar.shownText(), QStringLiteral("Requesting Data")) << "shown text unchanged";
    EXPECT_EQ(bar.currentValue(), 100);

    bar.SetRange(4);
    EXPECT_EQ(bar.shownText(), QStringLiteral("No Max-Range defined"));
    bar.SetPos(2);
    EXPECT_EQ(bar.shownText(), QStringLiteral("No Max-Range defined 2 (40%)"));
}

TEST_F(TextProgressTest, RangeOfNineLastStepShowsNinety) {
    startPhase(QStringLiteral("Scanning"));
    bar.SetRange(9);
    EXPECT_EQ(bar.range(), 10u);
    EXPECT_EQ(bar.shownText(), QStringLiteral("Scanning"));
    bar.SetPos(9);
    EXPECT_EQ(bar.currentValue(), 9);
    EXPECT_EQ(bar.currentPercent(), 90);
    EXPECT_EQ(bar.shownText(), QStringLiteral("Scanning 9 (90%)"));
    EXPECT_EQ(bar.barWidth(), 181);
}

TEST_F(TextProgressTest, PositionZeroDrawsOnePixel) {
    startPhase(QStringLiteral("Deleting"));
    bar.SetRange(3);
    bar.SetPos(0);
    EXPECT_EQ(bar.barWidth(), 1);
    EXPECT_EQ(bar.shownText(), QStringLiteral("Deleting 0 (0%)"));
}

TEST_F(TextProgressTest, TextAfterProgressFillsTheBarWithoutNumbers) {
    startPhase(QStringLiteral("Scanning"));
    bar.SetRange(9);
    bar.SetPos(4);
    bar.SetText(QStringLiteral("No New Messages"));
    EXPECT_EQ(bar.shownText(), QStringLiteral("No New Messages"));
    EXPECT_EQ(bar.caption(), QStringLiteral("No New Messages"));
    EXPECT_EQ(bar.currentValue(), 100);
    EXPECT_EQ(bar.currentPercent(), 100);
    EXPECT_EQ(bar.barWidth(), bar.width() + 1);
}

TEST_F(TextProgressTest, LargestRangeWrapsToNoRange) {
    startPhase(QStringLiteral("Scanning"));
    bar.SetRange(std::numeric_limits<std::uint32_t>::max());
    EXPECT_EQ(bar.range(), 0u);
    bar.SetPos(1);
    EXPECT_EQ(bar.caption(), QStringLiteral("No Max-Range defined"));
}

TEST_F(TextProgressTest, ClickIsReported) {
    QSignalSpy clicks(&bar, &CTextProgress::clicked);
    QTest::mouseClick(&bar, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(&bar, Qt::RightButton);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(TextProgressTest, UninitialisedPaintsOnlyTheBackColour) {
    const QImage image = bar.grab().toImage();
    EXPECT_EQ(image.size(), QSize(200, 24));
    EXPECT_FALSE(test::hasInk(image));
    EXPECT_EQ(QColor(image.pixel(100, 12)), QColor(Qt::white));
}

TEST_F(TextProgressTest, PaintsBarTrackEdgeAndTextAtOneAndTwoTimes) {
    startPhase(QStringLiteral("Scanning"));
    bar.SetRange(1);
    bar.SetPos(1);  // 50 %: bar up to x = 101
    for (const qreal ratio : {1.0, 2.0}) {
        const QImage image = test::renderWidget(bar, ratio);
        ASSERT_EQ(image.size(), QSize(200, 24) * ratio) << ratio;
        const auto at = [&](int x, int y) {
            return QColor(image.pixel(qRound(x * ratio), qRound(y * ratio)));
        };
        EXPECT_EQ(at(20, 3), scanLook().bar) << ratio;
        EXPECT_EQ(at(180, 3), scanLook().track) << ratio;
        EXPECT_NE(at(0, 12), scanLook().bar) << "etched edge along the left, " << ratio;
        const QRect rightOfBar(QPoint(110, 6) * ratio, QSize(30, 12) * ratio);
        EXPECT_TRUE(test::hasInk(image.copy(rightOfBar))) << "caption over the track, " << ratio;
    }
}

}  // namespace
}  // namespace qlt::controls
