#pragma once

#include <QIcon>
#include <QImage>

namespace qlt::tray {

// The tray's pictures: 186 the program's own, 187 to 190 the overall risk 1
// to 4 in the colours of the risk lamps, 191 a scan running. Any other number
// gives 186. Drawn as vector art, so every size the tray host asks for is sharp.
QImage renderTrayIcon(int iconId, int size);

// The icon with the sizes tray hosts commonly ask for.
QIcon trayIcon(int iconId);

}  // namespace qlt::tray
