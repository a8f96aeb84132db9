#pragma once

#include <QString>
#include <QWidget>
#include <cstdio>

namespace qlt::test {

// Writes the widget as it is drawn now to `path`; false, after saying so, when it cannot.
inline bool savePicture(QWidget& widget, const char* path) {
    const bool saved = widget.grab().save(QString::fromLocal8Bit(path));
    if (!saved) std::fprintf(stderr, "cannot write %s\n", path);
    return saved;
}

}  // namespace qlt::test
