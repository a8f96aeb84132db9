#include <gtest/gtest.h>

#include <QPainter>
#include <QStandardItemModel>
#include <functional>
#include <memory>

#include "GuiTestSupport.h"
#include "controls/BitmapArt.h"
#include "controls/CBitmapLamp.h"
#include "controls/CCountdownLamp.h"
#include "controls/CFaceButton.h"
#include "controls/CFlatButton.h"
#include "controls/CFlatCheck.h"
#include "controls/CListHeader.h"
#include "controls/CNamedBitmapButton.h"
#include "controls/CTabButton.h"
#include "controls/CTextProgress.h"

namespace qlt::controls {
namespace {

struct SizedPicture {
    const char* name;
    int id;
    QSize size;
};

// Every picture the controls use, with the size the layout was made for.
const SizedPicture kNumbered[] = {
    {"lamp green", 136, {12, 16}},     {"lamp amber", 137, {12, 16}},     {"lamp orange", 138, {12, 16}},
    {"lamp red", 139, {12, 16}},       {"lamp grey", 140, {12, 16}},      {"tab", 158, {80, 22}},
    {"tab selected", 159, {80, 22}},   {"face active", 161, {76, 20}},    {"face disabled", 162, {76, 20}},
    {"face pressed", 163, {76, 20}},   {"face normal", 164, {76, 20}},    {"check off", 168, {12, 12}},
    {"check on", 169, {12, 12}},       {"check disabled", 170, {12, 12}}, {"countdown", 183, {160, 16}},
    {"header status", 1084, {16, 16}}, {"header count", 1085, {16, 16}},  {"header checked", 1086, {16, 16}},
    {"header speed", 1087, {16, 16}},
};

const SizedPicture kNamed[] = {
    {"ACTU", 0, {40, 24}},   {"ACBU", 0, {40, 24}},   {"ACTD", 0, {40, 24}},   {"ACTX", 0, {40, 24}},
    {"FINDSU", 0, {20, 20}}, {"FINDSD", 0, {20, 20}}, {"FINDSX", 0, {20, 20}}, {"MINUTU", 0, {20, 20}},
    {"MINUTD", 0, {20, 20}}, {"MINUTX", 0, {20, 20}}, {"TESTSU", 0, {20, 20}}, {"TESTSD", 0, {20, 20}},
    {"TESTSX", 0, {20, 20}},
};

TEST(BitmapArt, NumberedPicturesHaveTheirSizeAndInkAtOneAndTwoTimes) {
    EXPECT_EQ(bitmapIds().size(), static_cast<qsizetype>(std::size(kNumbered)));
    for (const SizedPicture& picture : kNumbered) {
        EXPECT_EQ(bitmapSize(picture.id), picture.size) << picture.name;
        for (const qreal ratio : {1.0, 2.0}) {
            const QImage image = renderBitmap(picture.id, ratio);
            EXPECT_EQ(image.size(), picture.size * ratio) << picture.name << " at " << ratio;
            EXPECT_TRUE(test::hasInk(image)) << picture.name << " at " << ratio;
        }
    }
}

TEST(BitmapArt, NamedPicturesHaveTheirSizeAndInkAtOneAndTwoTimes) {
    EXPECT_EQ(bitmapNames().size(), static_cast<qsizetype>(std::size(kNamed)));
    for (const SizedPicture& picture : kNamed) {
        const QString name = QLatin1String(picture.name);
        EXPECT_EQ(bitmapSize(name), picture.size) << picture.name;
        for (const qreal ratio : {1.0, 2.0}) {
            const QImage image = renderBitmap(name, ratio);
            EXPECT_EQ(image.size(), picture.size * ratio) << picture.name << " at " << ratio;
            EXPECT_TRUE(test::hasInk(image)) << picture.name << " at " << ratio;
        }
    }
}

TEST(BitmapArt, UnknownPicturesDrawNothing) {
    QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    EXPECT_FALSE(drawBitmap(painter, 0, QPoint()));
    EXPECT_FALSE(drawBitmap(painter, 9999, QPoint()));
    EXPECT_FALSE(drawBitmap(painter, QStringView(u"ACTQ"), QPoint()));
    EXPECT_FALSE(drawBitmap(painter, QStringView(), QPoint()));
    EXPECT_FALSE(drawBitmapPart(painter, 9999, QRect(0, 0, 4, 4), QPoint()));
    painter.end();
    EXPECT_FALSE(test::hasInk(image));
    EXPECT_TRUE(renderBitmap(9999, 1.0).isNull());
    EXPECT_FALSE(bitmapSize(QStringView(u"ACTQ")).isValid());
}

TEST(BitmapArt, CountdownFramesDiffer) {
    QImage previous;
    for (unsigned frame = 0; frame <= 9; ++frame) {
        CCountdownLamp lamp;
        lamp.resize(16, 16);
        lamp.setFrame(frame);
        const QImage image = test::renderWidget(lamp, 1.0);
        EXPECT_NE(image, previous) << "frame " << frame;
        previous = image;
    }
}

using WidgetFactory = std::function<std::unique_ptr<QWidget>()>;

struct ControlRow {
    const char* name;
    WidgetFactory make;
};

std::unique_ptr<QWidget> makeProgress() {
    auto bar = std::make_unique<CTextProgress>();
    bar->resize(220, 20);
    bar->Init(QStringLiteral("Mbox Scan"));
    bar->SetText(QStringLiteral("Scanning"));
    bar->SetRange(9);
    bar->SetPos(4);
    return bar;
}

std::unique_ptr<QWidget> makeDisabledCheck() {
    auto check = std::make_unique<CFlatCheck>(QStringLiteral("Rescan"));
    check->setState(1);
    check->setEnabled(false);
    check->setLeftText(true);
    return check;
}

std::unique_ptr<QWidget> makeActiveScan() {
    auto scan = std::make_unique<CFaceButton>(QStringLiteral("STOP"));
    scan->setLook(bitmap::kFaceActive);
    return scan;
}

std::unique_ptr<QWidget> makeFinds() {
    auto button = std::make_unique<CNamedBitmapButton>(QStringLiteral("FINDS"));
    button->autoLoad();
    return button;
}

std::unique_ptr<QWidget> makeSelectedTab() {
    auto tab = std::make_unique<CTabButton>(1073, QStringLiteral("Preview"));
    tab->setSelected(true);
    return tab;
}

std::unique_ptr<QWidget> makeCountdown() {
    auto lamp = std::make_unique<CCountdownLamp>();
    lamp->setFrame(4);
    return lamp;
}

// The header owns no model; the model is parented to it so both go together.
std::unique_ptr<QWidget> makeHeader() {
    auto header = std::make_unique<CListHeader>();
    auto* model = new QStandardItemModel(0, 2, header.get());
    model->setHorizontalHeaderLabels({QStringLiteral("Account"), QStringLiteral("Status")});
    header->setModel(model);
    header->setOwnerDrawn(0);
    header->resize(200, 20);
    return header;
}

const ControlRow kControls[] = {
    {"progress bar", makeProgress},
    {"flat check",
     [] { return std::unique_ptr<QWidget>(std::make_unique<CFlatCheck>(QStringLiteral("Scan All"))); }},
    {"disabled flat check with text left", makeDisabledCheck},
    {"flat button",
     [] { return std::unique_ptr<QWidget>(std::make_unique<CFlatButton>(QStringLiteral("Update"))); }},
    {"face button",
     [] { return std::unique_ptr<QWidget>(std::make_unique<CFaceButton>(QStringLiteral("SCAN"))); }},
    {"active face button", makeActiveScan},
    {"named bitmap button", makeFinds},
    {"tab",
     [] { return std::unique_ptr<QWidget>(std::make_unique<CTabButton>(1074, QStringLiteral("Headers"))); }},
    {"selected tab", makeSelectedTab},
    {"countdown lamp", makeCountdown},
    {"risk lamp",
     [] { return std::unique_ptr<QWidget>(std::make_unique<CBitmapLamp>(bitmap::kLampLevel2)); }},
    {"list header", makeHeader},
};

TEST(ControlPainting, EveryControlPaintsAtOneAndTwoTimes) {
    for (const ControlRow& row : kControls) {
        std::unique_ptr<QWidget> widget = row.make();
        if (widget->size() == QSize(640, 480) || widget->size().isEmpty()) widget->resize(widget->sizeHint());
        const QSize logical = widget->size();

        const QImage grabbed = widget->grab().toImage();
        EXPECT_EQ(grabbed.size(), logical) << row.name;
        EXPECT_TRUE(test::hasInk(grabbed)) << row.name;

        const QImage sharp = test::renderWidget(*widget, 2.0);
        EXPECT_EQ(sharp.size(), logical * 2) << row.name;
        EXPECT_TRUE(test::hasInk(sharp)) << row.name;
    }
}

}  // namespace
}  // namespace qlt::controls
