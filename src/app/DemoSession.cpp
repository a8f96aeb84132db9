#include "app/DemoSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "demo/DemoDataFolder.h"
#include "demo/DemoMessages.h"
#include "demo/DemoProfile.h"
#include "platform/QSettingsProfile.h"
#include "platform/ShippedFiles.h"

namespace qlt::app {

namespace {

// Below $XDG_RUNTIME_DIR when the session has one: private to the user and
// cleared at log-out, so a demo that was killed leaves nothing for long.
QString demoFolderTemplate() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString base = !runtime.isEmpty() && QFileInfo(runtime).isDir() ? runtime : QDir::tempPath();
    return QDir(base).filePath("quillgate-demo-XXXXXX");
}

}  // namespace

DemoSession::DemoSession() : m_folder(demoFolderTemplate()) {}

DemoSession::~DemoSession() {
    if (m_server) m_server->stop();
}

QString DemoSession::dataFolder() const {
    return QDir(m_folder.path()).filePath("data");
}

QString DemoSession::profileFolder() const {
    return QDir(m_folder.path()).filePath("profile");
}

bool DemoSession::fail(const QString& why) {
    m_error = why;
    return false;
}

bool DemoSession::start() {
    if (!m_folder.isValid()) return fail("cannot make a folder for the demo: " + m_folder.errorString());
    const QString shipped = shippedDataFolder(QCoreApplication::applicationDirPath());
    return startServer(shipped) && writeProfile() && prepareDataFolder(shipped);
}

bool DemoSession::startServer(const QString& shipped) {
    const auto messages = demo::loadDemoMessages(demo::demoFolder(shipped.toStdString()));
    if (!messages || messages->empty()) return fail("no demo messages in " + shipped);
    m_server = std::make_unique<demo::DemoPop3Server>(*messages);
    if (!m_server->start()) return fail(QString::fromStdString(m_server->error()));
    return true;
}

bool DemoSession::writeProfile() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, profileFolder());
    QSettingsProfile profile;
    if (!demo::writeDemoProfile(profile, m_server->port()))
        return fail("cannot write the demo profile " + profile.fileName());
    return true;
}

bool DemoSession::prepareDataFolder(const QString& shipped) {
    const QString data = dataFolder();
    if (!QDir().mkpath(data)) return fail("cannot make the folder " + data);
    std::string error;
    if (!demo::prepareDemoDataFolder(shipped.toStdString(), data.toStdString(), error))
        return fail(QString::fromStdString(error));
    if (!QDir::setCurrent(data)) return fail("cannot change to the folder " + data);
    return true;
}

}  // namespace qlt::app
