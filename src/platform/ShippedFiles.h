#pragma once

#include <QString>

namespace qlt {

// The folder with the files the program ships (keyword dictionary, sounds,
// demo mail): the installed one, ../share/quillgate from the program's own
// folder, else the source tree's when the program runs from its build.
QString shippedDataFolder(const QString& programFolder);

// The manual's first page, found the same way (installed under
// ../share/doc/quillgate/manual); empty when there is none.
QString manualIndexFile(const QString& programFolder);

}  // namespace qlt
