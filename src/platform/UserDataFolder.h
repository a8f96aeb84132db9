#pragma once

#include <QString>

namespace qlt {

// The per-user folder of the data files the program opens by bare name:
// "quillgate" under the XDG data home.
QString userDataFolder();

// Puts the shipped copy of `name` into `dataFolder` when the folder has none
// or an older one (a newer package ships a newer file). The file is replaced
// whole or not at all. false, with error saying why, on failure.
bool installShippedFile(const QString& shippedFolder, const QString& dataFolder, const QString& name,
                        QString& error);

// Makes the data folder (if need be) and the current folder, and installs the
// keyword dictionary there. false, with error, when the folder cannot be
// used; a dictionary that cannot be installed only leaves the old one.
bool enterUserDataFolder(const QString& shippedFolder, const QString& dataFolder, QString& error);

}  // namespace qlt
