#pragma once

#include <QList>
#include <QStringList>

#include "store/Formatting.h"

namespace qlt {

// Plays WAV files synchronously through the desktop's command-line player
// (PulseAudio or PipeWire, else ALSA). The wait is bounded by the file's own
// length plus a margin, and by a ceiling, because a player with no sound
// server or device to talk to may never return.
class WavSoundPlayer final : public SoundPlayer {
  public:
    // A player command: the program and its leading arguments; the file's
    // path is appended.
    using PlayerCommand = QStringList;

    struct Limits {
        int marginMs = 1500;
        // A notice sound holds up the window; a long recording is cut here.
        int maxWaitMs = 10000;
    };

    WavSoundPlayer();
    WavSoundPlayer(QList<PlayerCommand> players, Limits limits);

    // False when nothing was played to the end: no such or no WAV file, no
    // player, or a player that failed or overran its time.
    bool play(const std::string& path) override;

  private:
    std::optional<PlayerCommand> findPlayer() const;

    QList<PlayerCommand> m_players;
    Limits m_limits;
};

// The play time of a WAV file on disk; nullopt when it cannot be read as one.
std::optional<std::uint64_t> wavFileDurationMs(const std::string& path);

}  // namespace qlt
