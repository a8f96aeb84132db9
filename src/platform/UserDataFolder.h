#pragma once

#include <QString>

namespace qlt {

// The per-user folder of the data files the program opens by bare name:
// "quillgate" under the XDG data home.
QString userDataFolder();

// How an installed copy of a shipped file is treated.
enum class InstalledCopy {
    ReplaceOlder,  // a newer package ships a newer file
    Keep,          // the user's own file under the shipped name stays
};

// Puts the shipped copy of `name` into `dataFolder` when the folder has none
// (or, with ReplaceOlder, an older one). The file is replaced whole or not at
// all. false, with error saying why, on failure.
bool installShippedFile(const QString& shippedFolder, const QString& dataFolder, const QString& name,
                        QString& error, InstalledCopy installed = InstalledCopy::ReplaceOlder);

// Makes the data folder (if need be) and the current folder, and installs the
// keyword dictionary and the new-mail sound there. false, with error, when
// the folder cannot be used; a file that cannot be installed only leaves the
// old one, or none.
bool enterUserDataFolder(const QString& shippedFolder, const QString& dataFolder, QString& error);

}  // namespace qlt
