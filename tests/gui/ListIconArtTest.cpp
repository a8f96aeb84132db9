#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "controls/ListIconArt.h"

namespace qlt::controls {
namespace {

// Every picture a list shows has ink at both scales; the unused slots stay
// empty, so a wrong index shows as a blank cell rather than a wrong picture.
TEST(ListIconArt, StripsHaveTheirSizeAndInkWhereUsed) {
    for (int style = 0; style < kRiskIconStyleCount; ++style) {
        for (int image = 0; image < kRiskStripImages; ++image) {
            for (const qreal ratio : {1.0, 2.0}) {
                const QImage picture = riskStripImage(style, image, ratio);
                EXPECT_EQ(picture.size(), QSize(20, 16) * ratio);
                EXPECT_EQ(test::hasInk(picture), image != 4) << "style " << style << " image " << image;
            }
        }
    }
    for (int image = 0; image < kEnvelopeImages; ++image)
        EXPECT_EQ(test::hasInk(envelopeImage(image, 1.0)), image == 1 || image == 2) << image;
    for (int image = 0; image < kAccountStateImages; ++image) {
        EXPECT_EQ(accountStateImage(image, 2.0).size(), QSize(32, 32));
        EXPECT_EQ(test::hasInk(accountStateImage(image, 1.0)), image != 0) << image;
    }
}

TEST(ListIconArt, LevelsAndStylesLookDifferent) {
    EXPECT_NE(riskStripImage(0, 0, 1.0), riskStripImage(0, 3, 1.0));
    EXPECT_NE(riskStripImage(0, 2, 1.0), riskStripImage(3, 2, 1.0));
    EXPECT_NE(envelopeImage(1, 1.0), envelopeImage(2, 1.0));
    // A style the settings cannot hold draws as the first.
    EXPECT_EQ(riskStripImage(9, 1, 1.0), riskStripImage(0, 1, 1.0));
}

}  // namespace
}  // namespace qlt::controls
