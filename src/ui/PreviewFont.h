#pragma once

#include <QFont>
#include <QFontDatabase>
#include <cstdint>
#include <optional>

#include "store/LogFont.h"
#include "store/Settings.h"

class QWidget;

namespace qlt::ui {

// The stored font description as a QFont: face, height (a negative one the
// character, a positive one the whole cell), weight, italic, underline,
// strike-out and the family kind of the pitch-and-family byte.
QFont fontFromLogFont(const LogFont& record);

// The QFont as a stored description. What a QFont does not hold (character
// set, width, angles, precisions, quality) comes from `base`, and a field the
// font leaves as `base` shows it keeps base's own stored form, so a record
// read and written back is unchanged. A new face takes a character set it can
// show, keeping base's when it can.
LogFont logFontFromFont(const QFont& font, const LogFont& base);

// The preview's font from the settings: the chosen one, or "Tahoma" 15.
QFont previewFont(const PreviewFontBytes& stored);

// The script a character set stands for; Any for one we do not know.
QFontDatabase::WritingSystem writingSystemForCharSet(std::uint8_t charSet);

// Asks the user for a font; tests answer in place of the user.
class FontChooser {
  public:
    virtual ~FontChooser() = default;
    // The chosen font, nothing on Cancel.
    virtual std::optional<QFont> chooseFont(const QFont& initial, QWidget* parent) = 0;
};

class QtFontChooser final : public FontChooser {
  public:
    std::optional<QFont> chooseFont(const QFont& initial, QWidget* parent) override;
};

// The preview's Font button: the chooser starts from the font shown; a chosen
// font goes into the stored description (saved with the settings) and comes
// back as the font to show. Cancel changes nothing.
std::optional<QFont> choosePreviewFont(FontChooser& chooser, const QFont& shown, PreviewFontBytes& stored,
                                       QWidget* parent);

}  // namespace qlt::ui
