#pragma once

#include <QIcon>
#include <QImage>

namespace qlt::controls {

// The small pictures of the two list views, drawn in code at any scale.

// The looks of the risk pictures, by the icon-style setting.
enum class RiskIconStyle { Block = 0, Bar, FillBar, CxBar, GridCxBar };
inline constexpr int kRiskIconStyleCount = 5;

// The message view's small-icon strip: images 0..3 the risk levels, 4 empty,
// 5..7 the sender on no list, on the white list, on the black list. 20 x 16.
inline constexpr int kRiskStripImages = 8;
// The envelope of a row: 1 deliver, 2 delete (0 and 3 empty). 20 x 16.
inline constexpr int kEnvelopeImages = 4;
// The account view's row state: 1 in Scan All, 2 inactive, 3 current. 16 x 16.
inline constexpr int kAccountStateImages = 4;

// A style outside 0..4 draws as Block, an image outside its strip as empty.
QImage riskStripImage(int style, int image, qreal devicePixelRatio);
QImage envelopeImage(int image, qreal devicePixelRatio);
QImage accountStateImage(int image, qreal devicePixelRatio);

// The image at 1x and 2x, so it stays crisp on either screen.
QIcon riskStripIcon(int style, int image);
QIcon envelopeIcon(int image);
QIcon accountStateIcon(int image);

}  // namespace qlt::controls
