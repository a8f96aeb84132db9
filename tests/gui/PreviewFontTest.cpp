#include <gtest/gtest.h>

#include "gui/ScriptedFontChooser.h"
#include "store/InMemoryProfile.h"
#include "ui/PreviewFont.h"

namespace qlt::ui {
namespace {

using test::ScriptedFontChooser;

LogFont record(std::int32_t height, std::int32_t weight, std::uint8_t flags, std::uint8_t charSet,
               const char* face) {
    LogFont font;
    font.height = height;
    font.weight = weight;
    font.italic = flags & 1 ? 255 : 0;
    font.underline = flags & 2 ? 1 : 0;
    font.strikeOut = flags & 4 ? 1 : 0;
    font.charSet = charSet;
    font.quality = 4;
    font.pitchAndFamily = 0x31;
    font.faceName = face;
    return font;
}

TEST(PreviewFont, StoredBytesSurviveTheTripThroughQFont) {
    const struct {
        const char* name;
        LogFont font;
    } rows[] = {
        {"character height, bold", record(-16, 700, 0, kAnsiCharSet, "DejaVu Sans")},
        {"cell height, any weight", record(15, 0, 0, kDefaultCharSet, "Tahoma")},
        {"italic 255, underline, strike-out", record(-11, 400, 7, kRussianCharSet, "Liberation Serif")},
        {"default size", record(0, 300, 2, kGreekCharSet, "Courier New")},
        {"huge stored height", record(-2000000000, 1000, 0, kShiftJisCharSet, "Noto Sans")},
    };
    for (const auto& row : rows) {
        const PreviewFontBytes bytes = writeLogFont(row.font);
        const LogFont base = readLogFont(bytes);
        EXPECT_EQ(writeLogFont(logFontFromFont(fontFromLogFont(base), base)), bytes) << row.name;
    }
}

TEST(PreviewFont, RecordFieldsBecomeTheFontsLook) {
    const QFont font = fontFromLogFont(record(-16, 700, 7, kAnsiCharSet, "DejaVu Sans"));
    EXPECT_EQ(font.family(), "DejaVu Sans");
    EXPECT_EQ(font.pixelSize(), 16);
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_TRUE(font.italic());
    EXPECT_TRUE(font.underline());
    EXPECT_TRUE(font.strikeOut());
    EXPECT_EQ(font.styleHint(), QFont::TypeWriter);
    EXPECT_EQ(fontFromLogFont(record(-5000, 0, 0, 0, "X")).pixelSize(), 1000) << "stored heights bounded";
}

TEST(PreviewFont, ChangedFontFieldsAreWrittenOthersKept) {
    const LogFont base = record(-16, 400, 0, kRussianCharSet, "DejaVu Sans");
    QFont changed = fontFromLogFont(base);
    changed.setWeight(QFont::Bold);
    changed.setPixelSize(20);
    changed.setItalic(true);
    const LogFont written = logFontFromFont(changed, base);
    EXPECT_EQ(written.weight, 700);
    EXPECT_EQ(written.height, -20);
    EXPECT_EQ(written.italic, 1);
    EXPECT_EQ(written.charSet, kRussianCharSet) << "the face did not change";
    EXPECT_EQ(written.quality, 4);
    EXPECT_EQ(written.faceName, "DejaVu Sans");
}

TEST(PreviewFont, CharacterSetsNameTheirScripts) {
    EXPECT_EQ(writingSystemForCharSet(kRussianCharSet), QFontDatabase::Cyrillic);
    EXPECT_EQ(writingSystemForCharSet(kAnsiCharSet), QFontDatabase::Latin);
    EXPECT_EQ(writingSystemForCharSet(kHangulCharSet), QFontDatabase::Korean);
    EXPECT_EQ(writingSystemForCharSet(kDefaultCharSet), QFontDatabase::Any);
}

TEST(PreviewFont, NoChosenFaceFallsBackToTahoma15) {
    const QFont font = previewFont(PreviewFontBytes{});
    EXPECT_EQ(font.family(), "Tahoma");
    EXPECT_EQ(font, fontFromLogFont(defaultPreviewLogFont()));
}

TEST(PreviewFont, FontButtonStoresTheChoiceWhichSurvivesARestart) {
    Settings settings;
    ScriptedFontChooser chooser;
    const QFont shown = previewFont(settings.previewFont);

    EXPECT_EQ(choosePreviewFont(chooser, shown, settings.previewFont, nullptr), std::nullopt);
    EXPECT_EQ(settings.previewFont, PreviewFontBytes{}) << "Cancel changes nothing";
    ASSERT_EQ(chooser.offered.size(), 1u);
    EXPECT_EQ(chooser.offered[0].family(), "Tahoma") << "starts from the font shown";

    QFont chosen(QStringLiteral("Liberation Mono"));
    chosen.setPixelSize(18);
    chosen.setUnderline(true);
    chooser.answer = chosen;
    const auto applied = choosePreviewFont(chooser, shown, settings.previewFont, nullptr);
    ASSERT_TRUE(applied.has_value());
    EXPECT_EQ(applied->family(), "Liberation Mono");
    EXPECT_EQ(applied->pixelSize(), 18);
    EXPECT_TRUE(applied->underline());

    InMemoryProfile profile;
    ASSERT_TRUE(SaveSettings(profile, settings, {}));
    Settings restarted;
    LoadSettings(profile, restarted);
    EXPECT_EQ(previewFont(restarted.previewFont), *applied);
    EXPECT_EQ(readLogFont(restarted.previewFont).height, -18);
}

}  // namespace
}  // namespace qlt::ui
