#include "store/LogFont.h"

#include <algorithm>

#include "store/FixedFields.h"

namespace qlt {

namespace {

template <class Io, class Font>
void visitFontFields(Io& io, Font& f) {
    io.number(f.height);
    io.number(f.width);
    io.number(f.escapement);
    io.number(f.orientation);
    io.number(f.weight);
    io.number(f.italic);
    io.number(f.underline);
    io.number(f.strikeOut);
    io.number(f.charSet);
    io.number(f.outPrecision);
    io.number(f.clipPrecision);
    io.number(f.quality);
    io.number(f.pitchAndFamily);
    io.text(f.faceName);
}

}  // namespace

LogFont readLogFont(const PreviewFontBytes& stored) {
    LogFont font;
    FieldReader reader(stored);
    visitFontFields(reader, font);
    return font;
}

PreviewFontBytes writeLogFont(const LogFont& font) {
    Bytes out;
    out.reserve(kPreviewFontSize);
    FieldWriter writer(out);
    visitFontFields(writer, font);
    PreviewFontBytes stored{};
    std::copy_n(out.begin(), kPreviewFontSize, stored.begin());
    return stored;
}

LogFont defaultPreviewLogFont() {
    LogFont font;
    font.height = 15;
    font.faceName = "Tahoma";
    return font;
}

LogFont previewLogFont(const PreviewFontBytes& stored) {
    LogFont font = readLogFont(stored);
    return font.faceName.empty() ? defaultPreviewLogFont() : font;
}

}  // namespace qlt
