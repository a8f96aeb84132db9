#include "ui/PreviewFont.h"

#include <QFontDialog>
#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <array>
#include <cmath>

#include "controls/ControlStyle.h"

namespace qlt::ui {

namespace {

constexpr std::uint8_t kFamilyMask = 0xF0;
constexpr std::int32_t kMaxWeight = 1000;
constexpr std::int32_t kMaxPixelHeight = 1000;
constexpr qreal kPointsPerInch = 72.0;
constexpr qreal kFallbackDpi = 96.0;

struct CharSetScript {
    std::uint8_t charSet;
    QFontDatabase::WritingSystem script;
};

// In preference order for a face that cannot show the character set it had.
constexpr std::array<CharSetScript, 15> kCharSetScripts = {{
    {kAnsiCharSet, QFontDatabase::Latin},
    {kEastEuropeCharSet, QFontDatabase::Latin},
    {kTurkishCharSet, QFontDatabase::Latin},
    {kBalticCharSet, QFontDatabase::Latin},
    {kRussianCharSet, QFontDatabase::Cyrillic},
    {kGreekCharSet, QFontDatabase::Greek},
    {kHebrewCharSet, QFontDatabase::Hebrew},
    {kArabicCharSet, QFontDatabase::Arabic},
    {kThaiCharSet, QFontDatabase::Thai},
    {kVietnameseCharSet, QFontDatabase::Vietnamese},
    {kShiftJisCharSet, QFontDatabase::Japanese},
    {kHangulCharSet, QFontDatabase::Korean},
    {kGb2312CharSet, QFontDatabase::SimplifiedChinese},
    {kBig5CharSet, QFontDatabase::TraditionalChinese},
    {kSymbolCharSet, QFontDatabase::Symbol},
}};

struct FamilyHint {
    std::uint8_t family;
    QFont::StyleHint hint;
};

constexpr std::array<FamilyHint, 6> kFamilyHints = {{
    {0x00, QFont::AnyStyle},
    {0x10, QFont::Serif},
    {0x20, QFont::SansSerif},
    {0x30, QFont::TypeWriter},
    {0x40, QFont::Cursive},
    {0x50, QFont::Decorative},
}};

QFont::StyleHint styleHintFor(std::uint8_t pitchAndFamily) {
    const auto family = static_cast<std::uint8_t>(pitchAndFamily & kFamilyMask);
    const auto found = std::ranges::find(kFamilyHints, family, &FamilyHint::family);
    return found == kFamilyHints.end() ? QFont::AnyStyle : found->hint;
}

std::uint8_t pitchAndFamilyFor(QFont::StyleHint hint, std::uint8_t basePitchAndFamily) {
    const auto found = std::ranges::find(kFamilyHints, hint, &FamilyHint::hint);
    const std::uint8_t family = found == kFamilyHints.end() ? 0 : found->family;
    return static_cast<std::uint8_t>(family | (basePitchAndFamily & ~kFamilyMask));
}

// Stored heights are untrusted; no preview needs more than this many pixels.
int boundedHeight(std::int32_t height) {
    return std::clamp(height, -kMaxPixelHeight, kMaxPixelHeight);
}

QFont::Weight qtWeight(std::int32_t weight) {
    if (weight <= 0) return QFont::Normal;
    return static_cast<QFont::Weight>(std::min(weight, kMaxWeight));
}

int pixelSizeOf(const QFont& font) {
    if (font.pixelSize() > 0) return font.pixelSize();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen != nullptr ? screen->logicalDotsPerInchY() : kFallbackDpi;
    return static_cast<int>(std::lround(font.pointSizeF() * dpi / kPointsPerInch));
}

// A flag byte keeps its stored value (any non-zero is on) while the font agrees with it.
std::uint8_t flagByte(bool on, std::uint8_t base) {
    return (on == (base != 0)) ? base : static_cast<std::uint8_t>(on ? 1 : 0);
}

std::uint8_t charSetForFamily(const QString& family, std::uint8_t previous) {
    const QList<QFontDatabase::WritingSystem> scripts = QFontDatabase::writingSystems(family);
    const auto script = writingSystemForCharSet(previous);
    if (scripts.isEmpty() || script == QFontDatabase::Any || scripts.contains(script)) return previous;
    const auto shown = std::ranges::find_if(
        kCharSetScripts, [&](const CharSetScript& entry) { return scripts.contains(entry.script); });
    return shown == kCharSetScripts.end() ? previous : shown->charSet;
}

}  // namespace

QFont fontFromLogFont(const LogFont& record) {
    const QString face = QString::fromStdString(record.faceName.str());
    const int height = boundedHeight(record.height);
    QFont font =
        height > 0 ? controls::cellHeightFont(face, height) : controls::charHeightFont(face, -height);
    if (height == 0) font.setPointSize(QFont().pointSize());
    font.setWeight(qtWeight(record.weight));
    font.setItalic(record.italic != 0);
    font.setUnderline(record.underline != 0);
    font.setStrikeOut(record.strikeOut != 0);
    font.setStyleHint(styleHintFor(record.pitchAndFamily));
    return font;
}

LogFont logFontFromFont(const QFont& font, const LogFont& base) {
    const QFont shownBase = fontFromLogFont(base);
    LogFont record = base;
    if (font.family() != shownBase.family()) {
        record.faceName = font.family().toStdString();
        record.charSet = charSetForFamily(font.family(), base.charSet);
    }
    if (pixelSizeOf(font) != pixelSizeOf(shownBase)) record.height = -pixelSizeOf(font);
    if (font.weight() != shownBase.weight()) record.weight = font.weight();
    record.italic = flagByte(font.italic(), base.italic);
    record.underline = flagByte(font.underline(), base.underline);
    record.strikeOut = flagByte(font.strikeOut(), base.strikeOut);
    if (font.styleHint() != shownBase.styleHint()) {
        record.pitchAndFamily = pitchAndFamilyFor(font.styleHint(), base.pitchAndFamily);
    }
    return record;
}

QFont previewFont(const PreviewFontBytes& stored) {
    return fontFromLogFont(previewLogFont(stored));
}

QFontDatabase::WritingSystem writingSystemForCharSet(std::uint8_t charSet) {
    const auto found = std::ranges::find(kCharSetScripts, charSet, &CharSetScript::charSet);
    return found == kCharSetScripts.end() ? QFontDatabase::Any : found->script;
}

std::optional<QFont> QtFontChooser::chooseFont(const QFont& initial, QWidget* parent) {
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, initial, parent);
    if (!chosen) return std::nullopt;
    return font;
}

std::optional<QFont> choosePreviewFont(FontChooser& chooser, const QFont& shown, PreviewFontBytes& stored,
                                       QWidget* parent) {
    const LogFont start = logFontFromFont(shown, previewLogFont(stored));
    const auto chosen = chooser.chooseFont(fontFromLogFont(start), parent);
    if (!chosen) return std::nullopt;
    stored = writeLogFont(logFontFromFont(*chosen, start));
    return fontFromLogFont(readLogFont(stored));
}

}  // namespace qlt::ui
