#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <vector>

#include "PlatformTestFiles.h"
#include "platform/WavFormat.h"
#include "platform/WavSoundPlayer.h"
#include "support/TestPaths.h"

namespace qlt {
namespace {

using Bytes = std::vector<std::uint8_t>;

void put32(Bytes& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putTag(Bytes& bytes, const char* tag) {
    bytes.insert(bytes.end(), tag, tag + 4);
}

Bytes chunk(const char* tag, const Bytes& body) {
    Bytes out;
    putTag(out, tag);
    put32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2 != 0) out.push_back(0);
    return out;
}

// 16-bit mono PCM at the given rate.
Bytes format(std::uint32_t rate) {
    Bytes body = {1, 0, 1, 0};
    put32(body, rate);
    put32(body, rate * 2);
    body.insert(body.end(), {2, 0, 16, 0});
    return body;
}

Bytes wave(const std::vector<Bytes>& chunks) {
    Bytes out;
    putTag(out, "RIFF");
    put32(out, 0);
    putTag(out, "WAVE");
    for (const Bytes& c : chunks) out.insert(out.end(), c.begin(), c.end());
    return out;
}

// The file's head up to a data chunk that claims the given size.
Bytes withDataChunk(const Bytes& head, std::uint32_t claimedSize) {
    Bytes out = head;
    putTag(out, "data");
    put32(out, claimedSize);
    return out;
}

std::optional<std::uint64_t> duration(const Bytes& bytes) {
    return wavDurationMs(bytes, bytes.size());
}

TEST(WavFormat, DurationOfTheShippedChime) {
    const auto ms = wavFileDurationMs(test::resPath("sounds/default.wav"));
    ASSERT_TRUE(ms.has_value());
    EXPECT_GT(*ms, 100U);
    EXPECT_LT(*ms, 1000U);
}

TEST(WavFormat, Durations) {
    const Bytes oneSecond(16000, 0);
    const Bytes odd(3, 0);
    EXPECT_EQ(duration(wave({chunk("fmt ", format(8000)), chunk("data", oneSecond)})), 1000U);
    EXPECT_EQ(duration(wave({chunk("fmt ", format(8000)), chunk("LIST", odd), chunk("data", oneSecond)})),
              1000U)
        << "an odd chunk is padded";
    // A header written before the length was known, or a file cut short.
    const Bytes streamed = withDataChunk(wave({chunk("fmt ", format(8000))}), 0xFFFFFFFF);
    EXPECT_EQ(wavDurationMs(streamed, streamed.size() + 8000), 500U);
}

TEST(WavFormat, RefusesWhatIsNoWave) {
    const Bytes data(1600, 0);
    Bytes shortFormat = {1, 0, 1, 0};
    const Bytes formatOnly = wave({chunk("fmt ", format(8000))});
    Bytes badTag = wave({chunk("fmt ", format(8000)), chunk("data", data)});
    badTag[8] = 'X';
    struct Row {
        const char* name;
        Bytes bytes;
    };
    const std::vector<Row> rows = {
        {"empty", {}},
        {"riff header cut", Bytes{'R', 'I', 'F', 'F', 0, 0}},
        {"not WAVE", badTag},
        {"no format", wave({chunk("data", data)})},
        {"format too short", wave({chunk("fmt ", shortFormat), chunk("data", data)})},
        {"zero byte rate", wave({chunk("fmt ", format(0)), chunk("data", data)})},
        {"no data chunk", formatOnly},
        {"chunk size past the end",
         wave({chunk("fmt ", format(8000)), Bytes{'J', 'U', 'N', 'K', 0xFF, 0xFF, 0xFF, 0x7F}})},
        {"format chunk cut", Bytes(formatOnly.begin(), formatOnly.begin() + 24)},
    };
    for (const auto& row : rows) EXPECT_FALSE(duration(row.bytes).has_value()) << row.name;

    Bytes manyChunks = formatOnly;
    for (int i = 0; i < 100; ++i) {
        const Bytes junk = chunk("JUNK", {});
        manyChunks.insert(manyChunks.end(), junk.begin(), junk.end());
    }
    const Bytes dataChunk = chunk("data", data);
    manyChunks.insert(manyChunks.end(), dataChunk.begin(), dataChunk.end());
    EXPECT_FALSE(duration(manyChunks).has_value()) << "the chunk walk is bounded";
}

// A player program of our own that records its call and does as told.
class FakePlayer : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    WavSoundPlayer playerRunning(const QByteArray& body) {
        const QString program = path("player");
        const QByteArray script =
            "#!/bin/sh\nprintf '%s' \"$*\" > '" + path("called").toUtf8() + "'\n" + body;
        EXPECT_TRUE(test::writeFile(program, script, true));
        return WavSoundPlayer({{"quillgate-no-such-player"}, {program, "--quiet"}}, {500, 10000});
    }

    QTemporaryDir m_dir;
};

TEST_F(FakePlayer, PlaysAWaveToTheEnd) {
    WavSoundPlayer player = playerRunning("exit 0\n");
    const std::string chime = test::resPath("sounds/default.wav");
    EXPECT_TRUE(player.play(chime));
    QFile called(path("called"));
    ASSERT_TRUE(called.open(QIODevice::ReadOnly));
    EXPECT_EQ(called.readAll().toStdString(), "--quiet " + chime);
}

TEST_F(FakePlayer, PlaysNothingForMissingOrBrokenFiles) {
    WavSoundPlayer player = playerRunning("exit 0\n");
    ASSERT_TRUE(test::writeFile(path("broken.wav"), QByteArray("RIFF\x10\0\0\0WAVEdata", 16)));
    ASSERT_TRUE(test::writeFile(path("empty.wav"), "", false));
    for (const QString& file : {path("missing.wav"), path("broken.wav"), path("empty.wav"), m_dir.path()}) {
        EXPECT_FALSE(player.play(file.toStdString())) << file.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(path("called"))) << "no player was started";
}

TEST_F(FakePlayer, StopsAPlayerThatNeverEnds) {
    WavSoundPlayer player = playerRunning("exec sleep 30\n");
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(player.play(test::resPath("sounds/default.wav")));
    // The chime's length plus the 500 ms margin, and some slack for a busy machine.
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_GE(timer.elapsed(), 500);
}

TEST_F(FakePlayer, ReportsAFailedPlayer) {
    WavSoundPlayer player = playerRunning("exit 1\n");
    EXPECT_FALSE(player.play(test::resPath("sounds/default.wav")));
}

TEST(WavSoundPlayer, NoPlayerPlaysNothing) {
    WavSoundPlayer player({{"quillgate-no-such-player"}}, {});
    EXPECT_FALSE(player.play(test::resPath("sounds/default.wav")));
}

}  // namespace
}  // namespace qlt
