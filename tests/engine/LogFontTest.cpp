#include "store/LogFont.h"

#include <gtest/gtest.h>

#include "core/ProgramVersion.h"
#include "store/InMemoryProfile.h"

namespace qlt {
namespace {

LogFont sampleFont() {
    LogFont font;
    font.height = -16;
    font.width = 7;
    font.escapement = 900;
    font.orientation = -900;
    font.weight = 700;
    font.italic = 1;
    font.underline = 0;
    font.strikeOut = 1;
    font.charSet = kRussianCharSet;
    font.outPrecision = 3;
    font.clipPrecision = 2;
    font.quality = 5;
    font.pitchAndFamily = 0x22;
    font.faceName = "DejaVu Sans";
    return font;
}

TEST(LogFont, FieldsSitAtTheirOffsetsLittleEndian) {
    const PreviewFontBytes bytes = writeLogFont(sampleFont());
    EXPECT_EQ(bytes[0], 0xF0);  // -16
    EXPECT_EQ(bytes[3], 0xFF);
    EXPECT_EQ(bytes[4], 7);
    EXPECT_EQ(bytes[8], 0x84);  // 900 = 0x384
    EXPECT_EQ(bytes[9], 0x03);
    EXPECT_EQ(bytes[16], 0xBC);  // 700 = 0x2BC
    EXPECT_EQ(bytes[17], 0x02);
    EXPECT_EQ(bytes[20], 1);
    EXPECT_EQ(bytes[22], 1);
    EXPECT_EQ(bytes[23], kRussianCharSet);
    EXPECT_EQ(bytes[26], 5);
    EXPECT_EQ(bytes[27], 0x22);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[28])), "DejaVu Sans");
    EXPECT_EQ(bytes[59], 0);
    EXPECT_EQ(readLogFont(bytes), sampleFont());
}

TEST(LogFont, UnterminatedFaceIsCutToItsField) {
    PreviewFontBytes bytes = writeLogFont(sampleFont());
    std::fill(bytes.begin() + 28, bytes.end(), 'x');
    const LogFont font = readLogFont(bytes);
    EXPECT_EQ(font.faceName.size(), 31u);
    EXPECT_EQ(writeLogFont(font)[59], 0) << "written back terminated";
}

TEST(LogFont, EmptyFaceMeansTheTahomaDefault) {
    const LogFont font = previewLogFont(PreviewFontBytes{});
    EXPECT_EQ(font.faceName, "Tahoma");
    EXPECT_EQ(font.height, 15);
    EXPECT_EQ(font.weight, 0);
    EXPECT_EQ(previewLogFont(writeLogFont(sampleFont())), sampleFont());
}

TEST(LogFont, ChosenFontSurvivesSavingAndLoadingTheSettings) {
    Settings saved;
    saved.previewFont = writeLogFont(sampleFont());
    InMemoryProfile profile;
    ASSERT_TRUE(SaveSettings(profile, saved, {}));
    Settings loaded;
    LoadSettings(profile, loaded);
    EXPECT_EQ(readLogFont(loaded.previewFont), sampleFont());
}

TEST(ProgramVersion, BuildTextIsTheCompiledVersionCutTo63) {
    EXPECT_EQ(programBuildText(), QLT_VERSION);
    EXPECT_FALSE(programBuildText().empty());
    EXPECT_EQ(buildText(std::string(80, '9')).size(), kMaxBuildTextLength);
    EXPECT_EQ(buildText("1.72.0"), "1.72.0");
}

}  // namespace
}  // namespace qlt
