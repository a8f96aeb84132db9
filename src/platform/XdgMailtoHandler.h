#pragma once

#include <QString>
#include <QStringList>

#include "base/MailtoHandler.h"

namespace qlt {

// The mailto handler the desktop has chosen: "xdg-mime query default
// x-scheme-handler/mailto" names a desktop entry, whose Exec line is read
// from the first applications folder of the XDG data folders that holds it.
class XdgMailtoHandler final : public MailtoHandler {
  public:
    std::string command() const override;

  private:
    static QString queryDesktopId();
    static QStringList applicationFolders();
    static std::string execOf(const QString& desktopId);
};

}  // namespace qlt
