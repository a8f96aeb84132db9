#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "controls/BitmapArt.h"
#include "controls/CFaceButton.h"
#include "controls/CFlatButton.h"
#include "controls/CFlatCheck.h"
#include "controls/CNamedBitmapButton.h"

namespace qlt::controls {
namespace {

TEST(FlatCheckBitmap, DisabledIsGreyWhateverTheState) {
    const struct {
        const char* name;
        bool enabled, on;
        int bitmapId;
    } rows[] = {
        {"enabled off", true, false, bitmap::kCheckOff},
        {"enabled on", true, true, bitmap::kCheckOn},
        {"disabled off", false, false, bitmap::kCheckDisabled},
        {"disabled on", false, true, bitmap::kCheckDisabled},
    };
    for (const auto& row : rows) EXPECT_EQ(flatCheckBitmap(row.enabled, row.on), row.bitmapId) << row.name;
}

TEST(FlatCheck, ClickReachesTheOwnerWhoSetsTheState) {
    CFlatCheck check(QStringLiteral("Scan All"));
    check.resize(check.sizeHint());
    QSignalSpy clicks(&check, &QAbstractButton::clicked);

    QTest::mouseClick(&check, Qt::LeftButton);
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(check.state(), 0) << "the control never flips itself";

    check.setState(1);
    EXPECT_TRUE(check.isOn());
    EXPECT_EQ(check.boxBitmap(), bitmap::kCheckOn);

    check.setEnabled(false);
    EXPECT_EQ(check.boxBitmap(), bitmap::kCheckDisabled);
    QTest::mouseClick(&check, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1) << "a disabled toggle takes no clicks";
    EXPECT_EQ(check.state(), 1);

    check.setEnabled(true);
    check.setState(0);
    EXPECT_EQ(check.boxBitmap(), bitmap::kCheckOff);
}

TEST(FlatCheck, TextSideIsKept) {
    CFlatCheck check(QStringLiteral("Show All"));
    EXPECT_FALSE(check.leftText());
    check.setLeftText(true);
    EXPECT_TRUE(check.leftText());
}

TEST(FlatButtonCaption, DisabledThenPressedThenNormal) {
    EXPECT_EQ(flatButtonCaption(true, false), FlatCaption::Normal);
    EXPECT_EQ(flatButtonCaption(true, true), FlatCaption::Pressed);
    EXPECT_EQ(flatButtonCaption(false, false), FlatCaption::Disabled);
    EXPECT_EQ(flatButtonCaption(false, true), FlatCaption::Disabled);
}

TEST(FlatButton, LookFollowsPressAndEnable) {
    CFlatButton button(QStringLiteral("Add"));
    button.resize(60, 22);
    QSignalSpy clicks(&button, &QAbstractButton::clicked);

    QTest::mousePress(&button, Qt::LeftButton);
    EXPECT_EQ(button.captionLook(), FlatCaption::Pressed);
    QTest::mouseRelease(&button, Qt::LeftButton);
    EXPECT_EQ(button.captionLook(), FlatCaption::Normal);
    EXPECT_EQ(clicks.count(), 1);

    button.setEnabled(false);
    EXPECT_EQ(button.captionLook(), FlatCaption::Disabled);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
}

TEST(FaceButtonBitmap, ActiveLookWinsOverEveryState) {
    const struct {
        const char* name;
        int look;
        bool enabled, down;
        int bitmapId;
    } rows[] = {
        {"active", bitmap::kFaceActive, true, false, bitmap::kFaceActive},
        {"active though disabled", bitmap::kFaceActive, false, false, bitmap::kFaceActive},
        {"active though pressed", bitmap::kFaceActive, true, true, bitmap::kFaceActive},
        {"normal", bitmap::kFaceNormal, true, false, bitmap::kFaceNormal},
        {"normal pressed", bitmap::kFaceNormal, true, true, bitmap::kFacePressed},
        {"normal disabled", bitmap::kFaceNormal, false, false, bitmap::kFaceDisabled},
        {"any other look behaves normally", bitmap::kFacePressed, true, false, bitmap::kFaceNormal},
        {"look zero", 0, false, false, bitmap::kFaceDisabled},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(faceButtonBitmap(row.look, row.enabled, row.down), row.bitmapId) << row.name;
    }
}

TEST(FaceButton, ScanLooksActiveWhileRunningAndNormalAfter) {
    CFaceButton scan(QStringLiteral("SCAN"));
    scan.resize(scan.sizeHint());
    EXPECT_EQ(scan.sizeHint(), QSize(76, 20));
    EXPECT_EQ(scan.faceBitmap(), bitmap::kFaceNormal);

    scan.setLook(bitmap::kFaceActive);
    scan.setEnabled(false);
    EXPECT_EQ(scan.look(), bitmap::kFaceActive);
    EXPECT_EQ(scan.faceBitmap(), bitmap::kFaceActive);

    scan.setLook(bitmap::kFaceNormal);
    EXPECT_EQ(scan.faceBitmap(), bitmap::kFaceDisabled);
    scan.setEnabled(true);
    QTest::mousePress(&scan, Qt::LeftButton);
    EXPECT_EQ(scan.faceBitmap(), bitmap::kFacePressed);
    QTest::mouseRelease(&scan, Qt::LeftButton);
    EXPECT_EQ(scan.faceBitmap(), bitmap::kFaceNormal);
}

TEST(ChooseBitmapFace, DownThenFocusThenDisabledEachOnlyWhenPresent) {
    const BitmapFaces all{"U", "D", "F", "X"};
    const BitmapFaces upOnly{"U", "", "", ""};
    const struct {
        const char* name;
        const BitmapFaces& faces;
        bool down, focused, enabled;
        const char* shown;
    } rows[] = {
        {"idle", all, false, false, true, "U"},
        {"pressed", all, true, true, true, "D"},
        {"focused", all, false, true, true, "F"},
        {"disabled", all, false, false, false, "X"},
        {"pressed without a down face", upOnly, true, false, true, "U"},
        {"disabled without a disabled face", upOnly, false, false, false, "U"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(chooseBitmapFace(row.faces, row.down, row.focused, row.enabled), QLatin1String(row.shown))
            << row.name;
    }
}

TEST(NamedBitmapButton, AutoLoadTakesFacesFromTheText) {
    for (const char* text : {"FINDS", "MINUT", "TESTS"}) {
        CNamedBitmapButton button{QLatin1String(text)};
        ASSERT_TRUE(button.autoLoad()) << text;
        EXPECT_EQ(button.faces().up, QLatin1String(text) + 'U');
        EXPECT_EQ(button.faces().down, QLatin1String(text) + 'D');
        EXPECT_TRUE(button.faces().focus.isEmpty()) << "there is no focus face";
        EXPECT_EQ(button.faces().disabled, QLatin1String(text) + 'X');
        EXPECT_EQ(button.size(), QSize(20, 20)) << text;
    }
}

TEST(NamedBitmapButton, ShownFaceFollowsPressAndEnable) {
    CNamedBitmapButton toggle;
    ASSERT_TRUE(toggle.loadBitmaps(QStringLiteral("ACTU"), QStringLiteral("ACTD"), QString(),
                                   QStringLiteral("ACTX")));
    toggle.resize(toggle.sizeHint());
    EXPECT_EQ(toggle.size(), QSize(40, 24));
    QSignalSpy clicks(&toggle, &QAbstractButton::clicked);

    EXPECT_EQ(toggle.shownFace(), QStringLiteral("ACTU"));
    QTest::mousePress(&toggle, Qt::LeftButton);
    EXPECT_EQ(toggle.shownFace(), QStringLiteral("ACTD"));
    QTest::mouseRelease(&toggle, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);

    ASSERT_TRUE(toggle.loadBitmaps(QStringLiteral("ACBU"), QStringLiteral("ACTD"), QString(),
                                   QStringLiteral("ACTX")));
    EXPECT_EQ(toggle.shownFace(), QStringLiteral("ACBU"));
    toggle.setEnabled(false);
    EXPECT_EQ(toggle.shownFace(), QStringLiteral("ACTX"));
}

TEST(NamedBitmapButton, UnknownNamesLeaveNoFaceAndFail) {
    CNamedBitmapButton button(QStringLiteral("NOSUCH"));
    EXPECT_FALSE(button.autoLoad());
    EXPECT_TRUE(button.faces().up.isEmpty());
    EXPECT_FALSE(button.loadBitmaps(QStringLiteral("ACTU"), QStringLiteral("ACTQ")));
    EXPECT_EQ(button.faces().up, QStringLiteral("ACTU")) << "the faces that exist are still taken";
    EXPECT_TRUE(button.faces().down.isEmpty());
}

}  // namespace
}  // namespace qlt::controls
