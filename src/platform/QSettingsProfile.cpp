#include "platform/QSettingsProfile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qlt {

namespace {

constexpr auto kSection = "1.0";
constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QString key(std::string_view name) {
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

QSettingsProfile::QSettingsProfile()
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, "Tamsworth", "quillgt") {
    m_settings.beginGroup(kSection);
}

QSettingsProfile::QSettingsProfile(const QString& fileName) : m_settings(fileName, QSettings::NativeFormat) {
    m_settings.beginGroup(kSection);
}

QVariant QSettingsProfile::value(std::string_view name) const {
    return m_settings.value(key(name));
}

std::optional<std::int32_t> QSettingsProfile::readInt(std::string_view name) const {
    const QVariant stored = value(name);
    bool ok = false;
    const qlonglong number = stored.toLongLong(&ok);
    if (!stored.isValid() || !ok) return std::nullopt;
    // A 32-bit value as the profile holds it: larger numbers keep their low bits.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
}

std::optional<std::string> QSettingsProfile::readText(std::string_view name) const {
    const QVariant stored = value(name);
    if (!stored.isValid()) return std::nullopt;
    return stored.toString().toStdString();
}

std::optional<Bytes> QSettingsProfile::readBinary(std::string_view name) const {
    const QVariant stored = value(name);
    if (!stored.isValid() || stored.typeId() != QMetaType::QByteArray) return std::nullopt;
    const QByteArray bytes = stored.toByteArray();
    return Bytes(bytes.begin(), bytes.end());
}

bool QSettingsProfile::writeInt(std::string_view name, std::int32_t value) {
    return write(name, value);
}

bool QSettingsProfile::writeText(std::string_view name, std::string_view value) {
    return write(name, QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

bool QSettingsProfile::writeBinary(std::string_view name, std::span<const std::uint8_t> value) {
    return write(
        name, QByteArray(reinterpret_cast<const char*>(value.data()), static_cast<qsizetype>(value.size())));
}

bool QSettingsProfile::write(std::string_view name, const QVariant& value) {
    if (!m_settings.isWritable()) return false;
    m_settings.setValue(key(name), value);
    return true;
}

bool QSettingsProfile::commit() {
    // The atomic save keeps the permissions of the file it replaces, so a file
    // made private before the first write never shows the passwords to others.
    const bool prepared = createPrivateFile();
    m_settings.sync();
    const bool stored = m_settings.status() == QSettings::NoError;
    return prepared && stored && QFile::setPermissions(m_settings.fileName(), kOwnerOnly);
}

bool QSettingsProfile::createPrivateFile() const {
    const QString path = m_settings.fileName();
    if (QFileInfo::exists(path)) return true;
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerOnly)) return false;
    return true;
}

}  // namespace qlt
