#include "platform/WavSoundPlayer.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <span>

#include "platform/WavFormat.h"

namespace qlt {

namespace {

constexpr qint64 kHeadBytes = 64 * 1024;
constexpr int kStartTimeoutMs = 3000;
constexpr int kKillTimeoutMs = 3000;

}  // namespace

std::optional<std::uint64_t> wavFileDurationMs(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray head = file.read(kHeadBytes);
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(head.constData()),
                                              static_cast<std::size_t>(head.size()));
    return wavDurationMs(bytes, static_cast<std::uint64_t>(file.size()));
}

WavSoundPlayer::WavSoundPlayer()
    : WavSoundPlayer({{"paplay"}, {"pw-play"}, {"aplay", "--quiet"}}, Limits{}) {}

WavSoundPlayer::WavSoundPlayer(QList<PlayerCommand> players, Limits limits)
    : m_players(std::move(players)), m_limits(limits) {}

std::optional<WavSoundPlayer::PlayerCommand> WavSoundPlayer::findPlayer() const {
    for (const PlayerCommand& player : m_players) {
        if (!player.isEmpty() && !QStandardPaths::findExecutable(player.front()).isEmpty()) return player;
    }
    return std::nullopt;
}

bool WavSoundPlayer::play(const std::string& path) {
    const auto durationMs = wavFileDurationMs(path);
    if (!durationMs) return false;
    auto player = findPlayer();
    if (!player) return false;

    const QString program = player->takeFirst();
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, *player << QString::fromStdString(path));
    if (!process.waitForStarted(kStartTimeoutMs)) return false;

    const auto waitMs = std::min<std::uint64_t>(*durationMs + static_cast<std::uint64_t>(m_limits.marginMs),
                                                static_cast<std::uint64_t>(m_limits.maxWaitMs));
    if (!process.waitForFinished(static_cast<int>(waitMs))) {
        process.kill();
        process.waitForFinished(kKillTimeoutMs);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

}  // namespace qlt
