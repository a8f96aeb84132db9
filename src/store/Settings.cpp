#include "store/Settings.h"

#include <algorithm>

namespace qlt {

namespace {

// The values in the order they are read and written; the accounts value sits
// between the flags and the font.
template <class Visitor>
void visitSettingsTable(Visitor& v) {
    v.text("SoundFile", &Settings::soundFile);
    v.text("EmailApp", &Settings::emailApp);
    v.integer("DelTag", &Settings::delTag);
    v.integer("RescanDel", &Settings::rescanDel);
    v.integer("ScanBuf", &Settings::scanBuf);
    v.integer("ScanOnStartup", &Settings::scanOnStartup);
    v.integer("RescanRecurring", &Settings::rescanRecurring);
    v.integer("ScanIfConnected", &Settings::scanIfConnected);
    v.integer("NewMsgNotify", &Settings::newMsgNotify);
    v.integer("Minutes2Scan", &Settings::minutes2Scan);
    v.integer("DefaultTag", &Settings::defaultTag);
    v.integer("NoDeleteWarning", &Settings::noDeleteWarning);
    v.integer("NoShowDeleteConfirmed", &Settings::noShowDeleteConfirmed);
    v.integer("NoReceiveWarning", &Settings::noReceiveWarning);
    v.accounts(kAccountsValueName);
    v.font("PreviewFont", &Settings::previewFont);
    v.integer("PosX", &Settings::posX);
    v.integer("PosY", &Settings::posY);
    v.integer("PosW", &Settings::posW);
    v.integer("RedactNotices", &Settings::redactNotices);
    v.integer("UndoTime", &Settings::undoTime);
}

class Loader {
  public:
    Loader(const Profile& profile, Settings& settings) : m_profile(profile), m_settings(settings) {}

    void text(const char* name, std::string Settings::*field) {
        m_settings.*field = m_profile.readText(name).value_or(std::string());
    }

    template <class T>
    void integer(const char* name, T Settings::*field) {
        const auto stored = m_profile.readInt(name);
        m_settings.*field = stored ? static_cast<T>(*stored) : kDefaults.*field;
    }

    void accounts(const char* name) { accountsValue = m_profile.readBinary(name); }

    void font(const char* name, PreviewFontBytes Settings::*field) {
        const auto stored = m_profile.readBinary(name);
        if (!stored || stored->size() < kPreviewFontSize) return;
        std::copy_n(stored->begin(), kPreviewFontSize, (m_settings.*field).begin());
    }

    std::optional<Bytes> accountsValue;

  private:
    static inline const Settings kDefaults{};
    const Profile& m_profile;
    Settings& m_settings;
};

class Saver {
  public:
    Saver(Profile& profile, const Settings& settings, const std::optional<Bytes>& accountsValue)
        : m_profile(profile), m_settings(settings), m_accountsValue(accountsValue) {}

    void text(const char* name, std::string Settings::*field) {
        note(m_profile.writeText(name, m_settings.*field));
    }

    template <class T>
    void integer(const char* name, T Settings::*field) {
        note(m_profile.writeInt(name, static_cast<std::int32_t>(m_settings.*field)));
    }

    void accounts(const char* name) {
        if (m_accountsValue) note(m_profile.writeBinary(name, *m_accountsValue));
    }

    void font(const char* name, PreviewFontBytes Settings::*field) {
        note(m_profile.writeBinary(name, m_settings.*field));
    }

    bool allWritten = true;

  private:
    void note(bool written) { allWritten = allWritten && written; }

    Profile& m_profile;
    const Settings& m_settings;
    const std::optional<Bytes>& m_accountsValue;
};

}  // namespace

std::optional<Bytes> LoadSettings(const Profile& profile, Settings& settings) {
    Loader loader(profile, settings);
    visitSettingsTable(loader);
    return std::move(loader.accountsValue);
}

bool SaveSettings(Profile& profile, const Settings& settings, const std::optional<Bytes>& accountsValue) {
    Saver saver(profile, settings, accountsValue);
    visitSettingsTable(saver);
    const bool committed = profile.commit();
    return saver.allWritten && committed;
}

}  // namespace qlt
