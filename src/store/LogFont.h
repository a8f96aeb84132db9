#pragma once

#include <cstdint>

#include "base/BoundedText.h"
#include "store/Settings.h"

namespace qlt {

// Character sets a font description can name (the stored values are fixed).
enum FontCharSet : std::uint8_t {
    kAnsiCharSet = 0,
    kDefaultCharSet = 1,
    kSymbolCharSet = 2,
    kShiftJisCharSet = 128,
    kHangulCharSet = 129,
    kGb2312CharSet = 134,
    kBig5CharSet = 136,
    kGreekCharSet = 161,
    kTurkishCharSet = 162,
    kVietnameseCharSet = 163,
    kHebrewCharSet = 177,
    kArabicCharSet = 178,
    kBalticCharSet = 186,
    kRussianCharSet = 204,
    kThaiCharSet = 222,
    kEastEuropeCharSet = 238,
};

inline constexpr std::int32_t kNormalWeight = 400;

// The preview font as the settings keep it: a 60-byte font description with
// the fields below in this order. A negative height is the character height
// in pixels, a positive one the cell height, 0 the default size.
struct LogFont {
    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;  // 0 any, 400 normal, 700 bold, up to 1000
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = kAnsiCharSet;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    BoundedText<32> faceName;  // empty: no font was chosen

    friend bool operator==(const LogFont&, const LogFont&) = default;
};

// The stored bytes read field by field; a face name without its zero byte is
// cut to the 31 characters the field can hold.
LogFont readLogFont(const PreviewFontBytes& stored);

PreviewFontBytes writeLogFont(const LogFont& font);

// What the preview shows when no font was chosen: "Tahoma", height 15.
LogFont defaultPreviewLogFont();

// The stored font when it names a face, else the default.
LogFont previewLogFont(const PreviewFontBytes& stored);

}  // namespace qlt
