#include "platform/KeyringSecrets.h"

#include <qt6keychain/keychain.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QEventLoop>
#include <QTimer>
#include <optional>

namespace qlt {

namespace {

SecretStore::Outcome outcomeOf(QKeychain::Error error) {
    switch (error) {
        case QKeychain::NoError:
            return SecretStore::Outcome::Done;
        case QKeychain::EntryNotFound:
            return SecretStore::Outcome::NotFound;
        case QKeychain::NoBackendAvailable:
        case QKeychain::NotImplemented:
            return SecretStore::Outcome::NoKeyring;
        default:
            return SecretStore::Outcome::Refused;
    }
}

bool keyringReachable() {
    // A job on a process without an event loop, or on a connection that never
    // reached a bus, would only end by the time-out.
    return QCoreApplication::instance() != nullptr && QDBusConnection::sessionBus().isConnected();
}

// Starts the job and waits for it. The job deletes itself once it ended, so
// what it found is taken as it ends; a job still running at the time-out is
// left to end on its own.
SecretStore::Found runJob(QKeychain::Job* job, int timeoutMs) {
    QEventLoop loop;
    std::optional<SecretStore::Found> found;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [&](QKeychain::Job* ended) {
        found = SecretStore::Found{outcomeOf(ended->error()), {}};
        if (const auto* reader = qobject_cast<QKeychain::ReadPasswordJob*>(ended))
            found->secret = reader->textData().toStdString();
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    job->start();
    if (!found) loop.exec(QEventLoop::ExcludeUserInputEvents);
    return found.value_or(SecretStore::Found{SecretStore::Outcome::NoKeyring, {}});
}

}  // namespace

KeyringSecrets::KeyringSecrets(QString service, int timeoutMs)
    : m_service(std::move(service)), m_timeoutMs(timeoutMs) {}

SecretStore::Found KeyringSecrets::read(const std::string& key) {
    if (!keyringReachable()) return {Outcome::NoKeyring, {}};
    auto* job = new QKeychain::ReadPasswordJob(m_service);
    job->setKey(QString::fromStdString(key));
    return runJob(job, m_timeoutMs);
}

SecretStore::Outcome KeyringSecrets::write(const std::string& key, const std::string& secret) {
    if (!keyringReachable()) return Outcome::NoKeyring;
    auto* job = new QKeychain::WritePasswordJob(m_service);
    job->setKey(QString::fromStdString(key));
    job->setTextData(QString::fromStdString(secret));
    return runJob(job, m_timeoutMs).outcome;
}

SecretStore::Outcome KeyringSecrets::remove(const std::string& key) {
    if (!keyringReachable()) return Outcome::NoKeyring;
    auto* job = new QKeychain::DeletePasswordJob(m_service);
    job->setKey(QString::fromStdString(key));
    return runJob(job, m_timeoutMs).outcome;
}

}  // namespace qlt
