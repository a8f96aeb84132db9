#pragma once

#include <QSettings>
#include <QString>

#include "store/Profile.h"

namespace qlt {

// The profile in the user's settings file: organisation "Tamsworth",
// application "quillgt", every value in the group "1.0". The file holds the
// account store, passwords included, so it is kept readable by its owner only.
class QSettingsProfile final : public Profile {
  public:
    QSettingsProfile();
    // A profile in the given file (same native format), for tests and tools.
    explicit QSettingsProfile(const QString& fileName);

    std::optional<std::int32_t> readInt(std::string_view name) const override;
    std::optional<std::string> readText(std::string_view name) const override;
    std::optional<Bytes> readBinary(std::string_view name) const override;
    bool contains(std::string_view name) const override;

    bool writeInt(std::string_view name, std::int32_t value) override;
    bool writeText(std::string_view name, std::string_view value) override;
    bool writeBinary(std::string_view name, std::span<const std::uint8_t> value) override;
    // Both hold the other processes' saves off (ProfileSaveLock).
    bool commit() override;
    bool update(const std::function<bool(Profile&)>& edit) override;
    // A copy named after the file and the local time,
    // "quillgt.conf.bak-YYYYMMDD-HHMMSS", beside it.
    bool backUp() override;
    std::string location() const override { return fileName().toStdString(); }

    QString fileName() const { return m_settings.fileName(); }

  private:
    QVariant value(std::string_view name) const;
    bool write(std::string_view name, const QVariant& value);
    bool createPrivateFile() const;
    bool store();

    QSettings m_settings;
};

}  // namespace qlt
