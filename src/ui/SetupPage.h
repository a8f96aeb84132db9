#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

#include "base/UiPort.h"
#include "core/MailChecker.h"
#include "store/Formatting.h"

class QLineEdit;

namespace qlt::controls {
class CFlatCheck;
class CNamedBitmapButton;
}  // namespace qlt::controls

namespace qlt::ui {

// The "Options" page: starting and repeating scans, the connection condition
// and how new mail is announced. Every click takes effect at once on the
// checker's settings; the timer is started and stopped through the checker.
class SetupPage : public QWidget {
    Q_OBJECT

  public:
    enum Toggle { kStartup, kRescanDel, kRecurring, kDialUp, kNotify, kSound, kWindow, kToggleCount };

    // The test sound plays through the desktop's WAV player.
    SetupPage(MailChecker& checker, UiPort& ui, QWidget* parent = nullptr);
    SetupPage(MailChecker& checker, UiPort& ui, SoundPlayer& sound, QWidget* parent = nullptr);
    ~SetupPage() override;

    // Toggles from the settings, the interval checked (with its message when
    // out of range). Runs whenever the page is shown.
    void refreshPage();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void build();
    QWidget* addToggle(Toggle toggle);
    bool settingOf(Toggle toggle) const;
    void storeSetting(Toggle toggle, bool on);
    void onToggle(Toggle toggle);
    void applyEnabling();
    bool readControls();
    void writeControls();
    void checkMinutes();
    void setInterval();
    void chooseSound();
    void testSound();

    MailChecker& m_checker;
    UiPort& m_ui;
    std::unique_ptr<SoundPlayer> m_ownSound;
    SoundPlayer& m_sound;

    std::uint32_t m_nMinutes = 15;
    QString m_strSound;

    std::array<controls::CFlatCheck*, kToggleCount> m_toggles{};
    QLineEdit* m_minutes = nullptr;
    QLineEdit* m_soundName = nullptr;
    controls::CNamedBitmapButton* m_setMinutes = nullptr;
    controls::CNamedBitmapButton* m_findSound = nullptr;
    controls::CNamedBitmapButton* m_testSound = nullptr;
};

}  // namespace qlt::ui
