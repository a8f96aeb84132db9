#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "demo/DemoPop3Server.h"

namespace qlt::app {

// `quillgate --demo`: a demo mailbox served on this computer and a profile
// of its own, so that a first look at the program touches neither the
// user's settings nor any real mailbox. Everything lives in a private folder
// that goes when the session ends.
class DemoSession {
  public:
    DemoSession();
    ~DemoSession();
    DemoSession(const DemoSession&) = delete;
    DemoSession& operator=(const DemoSession&) = delete;

    // Starts the demo server, points the settings at a new profile holding
    // one account for it, and makes a data folder with the dictionary and
    // the demo's lists the current folder. Must run before any QSettings
    // object exists. false, with error() saying why, when a step fails.
    bool start();

    QString error() const { return m_error; }
    QString dataFolder() const;
    QString profileFolder() const;

  private:
    bool fail(const QString& why);
    bool startServer(const QString& shipped);
    bool writeProfile();
    bool prepareDataFolder(const QString& shipped);

    QTemporaryDir m_folder;
    std::unique_ptr<demo::DemoPop3Server> m_server;
    QString m_error;
};

}  // namespace qlt::app
