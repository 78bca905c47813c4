// Levelling with real libmpv: the meter's readings, and the gain each file
// starts with.
#include "player/mpv/LoudnessLeveller.h"
#include "player/mpv/LoudnessMeter.h"
#include "player/mpv/MpvPlayer.h"

#include "support/MediaFixtures.h"
#include "support/Wait.h"

#include <QFile>
#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>

namespace {

using startposition::Source;

class LoudnessMeterTest : public ::testing::Test
{
protected:
    QByteArray file(const char *name, const QByteArray &content) { return writeFile(dir, name, content); }

    // The gain the meter settles on for `path`, or NaN.
    double measure(const QByteArray &path)
    {
        meter.measureNow(path, Source::File);
        waitUntil([&] { return meter.isIdle(); });
        return meter.gain(path).value_or(qQNaN());
    }

    QTemporaryDir dir;
    LoudnessMeter meter;
};

TEST_F(LoudnessMeterTest, QuietAndLoudFilesGetGainsTheirLevelsApart)
{
    // 0.5 and 0.05 are 20 dB apart.
    const double loud = measure(file("loud.wav", toneWav(30, 0.5)));
    const double quiet = measure(file("quiet.wav", toneWav(30, 0.05)));
    // A tone at -6 dBFS measures about -9 LUFS.
    EXPECT_NEAR(loud, -9, 1.0);
    EXPECT_NEAR(quiet - loud, 20, 0.3);
}

TEST_F(LoudnessMeterTest, AQuietFileWithAClickIsRaisedOnlyUntilTheClickWouldClip)
{
    EXPECT_NEAR(measure(file("click.wav", toneWav({{20, 0.05}}, 8000, 10))), -1, 0.1);
}

TEST_F(LoudnessMeterTest, MeasuresFromWhereThePlayerStartsForThreeMinutes)
{
    // Quiet for 200 s, then loud: from the start the first three minutes
    // are quiet; from the middle (150 s) the loud part decides.
    const QByteArray path = file("set.wav", toneWav({{200, 0.05}, {100, 0.5}}));
    const double fromStart = measure(path);
    meter.setStartPercent(50);
    const double fromMiddle = measure(path);
    EXPECT_NEAR(fromStart - fromMiddle, 20, 0.5);
}

TEST_F(LoudnessMeterTest, WhatCannotBeMeasuredIsLeftAndTheNextOneIsMeasured)
{
    EXPECT_TRUE(std::isnan(measure(file("text.wav", "no sound here"))));
    EXPECT_TRUE(std::isnan(measure("/nonexistent/take.wav")));
    EXPECT_TRUE(std::isnan(measure(file("picture.mpg", fixtureContent("clip.m1v")))));
    EXPECT_FALSE(std::isnan(measure(file("tone.wav", toneWav(5, 0.2)))));
}

TEST_F(LoudnessMeterTest, AFileNeededNowGoesBeforeOnePreparedAndBothAreMeasured)
{
    const QByteArray ahead = file("ahead.wav", toneWav(170, 0.1));
    const QByteArray now = file("now.wav", toneWav(5, 0.3));
    QSignalSpy measured(&meter, &LoudnessMeter::measured);
    meter.prepare(ahead);
    ASSERT_TRUE(waitUntil([&] { return !meter.isIdle(); }));
    meter.measureNow(now, Source::File);
    ASSERT_TRUE(waitUntil([&] { return measured.count() == 2; }));
    EXPECT_EQ(measured.at(0).at(0).toByteArray(), now);
    EXPECT_EQ(measured.at(1).at(0).toByteArray(), ahead);
}

TEST_F(LoudnessMeterTest, AFileAskedForBeforeTheOneBeforeStartedIsStillMeasured)
{
    // The second file replaces the first before the core has begun it, and
    // the core then starts only the second.
    const QByteArray first = file("first.wav", toneWav(5, 0.1));
    const QByteArray second = file("second.wav", toneWav(5, 0.3));
    QSignalSpy measured(&meter, &LoudnessMeter::measured);
    meter.measureNow(first, Source::File);
    meter.measureNow(second, Source::File);
    ASSERT_TRUE(waitUntil([&] { return measured.count() == 1; }));
    EXPECT_EQ(measured.at(0).at(0).toByteArray(), second);
    EXPECT_TRUE(waitUntil([&] { return meter.isIdle(); }));
}

TEST_F(LoudnessMeterTest, MidiSongsAreMeasuredAndPlaylistsAreNotPrepared)
{
    const QByteArray song = file("song.mid", fixtureContent("tone.mid"));
    const QByteArray list = file("list.m3u", "#EXTM3U\n" + song + "\n" + song + "\n");
    meter.prepare(list);
    QCoreApplication::processEvents();
    EXPECT_TRUE(waitUntil([&] { return meter.isIdle(); }));
    QSignalSpy measured(&meter, &LoudnessMeter::measured);
    meter.prepare(song);
    ASSERT_TRUE(waitUntil([&] { return measured.count() == 1; }));
    EXPECT_TRUE(measured.at(0).at(0).toByteArray().startsWith("ondamidi://"));
}

class LevellingPlayerTest : public ::testing::Test
{
protected:
    double fallbackGain()
    {
        double gain = qQNaN();
        mpv_get_property(player.core(), "replaygain-fallback", MPV_FORMAT_DOUBLE, &gain);
        return gain;
    }

    QTemporaryDir dir;
    MpvPlayer player{silentMpvOptions()};
    QByteArray quiet = writeFile(dir, "quiet.wav", toneWav(30, 0.05));
    QByteArray loud = writeFile(dir, "loud.wav", toneWav(30, 0.5));
};

TEST_F(LevellingPlayerTest, AFileMeasuredAheadStartsAtItsGain)
{
    player.setLevelling(true);
    LoudnessMeter *meter = player.leveller()->meter();
    ASSERT_NE(meter, nullptr);
    player.prepare(quiet);
    ASSERT_TRUE(waitUntil([&] { return meter->gain(quiet).has_value(); }));
    // The gain is in place when playback begins, before the first sound.
    QList<double> atRestart;
    QObject::connect(&player, &MpvPlayer::playbackRestarted, [&] { atRestart << fallbackGain(); });
    player.load(quiet);
    ASSERT_TRUE(waitUntil([&] { return !atRestart.isEmpty(); }));
    EXPECT_NEAR(atRestart.first(), *meter->gain(quiet), 0.001);
    EXPECT_NEAR(player.leveller()->gain(), *meter->gain(quiet), 0.001);
    EXPECT_GT(*meter->gain(quiet), 5);
}

TEST_F(LevellingPlayerTest, AnUnmeasuredFileIsBroughtToItsGainGentlyAndOffGoesBackToNone)
{
    player.setLevelling(true);
    LoudnessLeveller *leveller = player.leveller();
    QSignalSpy restarted(&player, &MpvPlayer::playbackRestarted);
    player.load(quiet);
    ASSERT_TRUE(waitUntil([&] { return leveller->meter()->gain(quiet).has_value(); }));
    const double quietGain = *leveller->meter()->gain(quiet);
    EXPECT_TRUE(waitUntil([&] { return std::abs(leveller->gain() - quietGain) < 0.001; }));

    // Not measured yet: it starts at the gain of the files so far and moves
    // to its own in small steps.
    QList<double> gains;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { gains << leveller->gain(); });
    watch.start(5);
    player.load(loud);
    ASSERT_TRUE(waitUntil([&] { return leveller->meter()->gain(loud).has_value(); }));
    const double loudGain = *leveller->meter()->gain(loud);
    ASSERT_TRUE(waitUntil([&] { return std::abs(leveller->gain() - loudGain) < 0.001; }));
    for (qsizetype i = 1; i < gains.size(); ++i)
        EXPECT_LE(std::abs(gains[i] - gains[i - 1]), LoudnessLeveller::kStepDb + 1e-9);
    EXPECT_NEAR(fallbackGain(), loudGain, 0.001);

    player.setLevelling(false);
    EXPECT_TRUE(waitUntil([&] { return leveller->gain() == 0 && fallbackGain() == 0; }));
}

TEST_F(LevellingPlayerTest, TheMeterWaitsUntilTheFileOnItsWayPlays)
{
    player.setLevelling(true);
    LoudnessMeter *meter = player.leveller()->meter();
    bool restarted = false;
    bool busyBefore = false;
    QObject::connect(&player, &MpvPlayer::playbackRestarted, [&] { restarted = true; });
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { busyBefore = busyBefore || (!restarted && !meter->isIdle()); });
    watch.start(0);
    // Neither the file about to play (not measured yet) nor the one that
    // may come next is measured while the listener waits for the first.
    player.load(loud);
    player.prepare(quiet);
    ASSERT_TRUE(waitUntil([&] { return restarted; }));
    EXPECT_FALSE(busyBefore);
    // Then both are.
    EXPECT_TRUE(waitUntil([&] { return meter->gain(loud).has_value() && meter->gain(quiet).has_value(); }));
}

TEST_F(LevellingPlayerTest, SwitchedOnDuringAFileLevelsThatFile)
{
    QSignalSpy restarted(&player, &MpvPlayer::playbackRestarted);
    player.load(loud);
    ASSERT_TRUE(waitUntil([&] { return restarted.count() > 0; }));
    player.setLevelling(true);
    ASSERT_TRUE(waitUntil([&] { return player.leveller()->meter()->gain(loud).has_value(); }));
    const double gain = *player.leveller()->meter()->gain(loud);
    EXPECT_LT(gain, -5);
    EXPECT_TRUE(waitUntil([&] { return std::abs(fallbackGain() - gain) < 0.001; }));
}

} // namespace

namespace {

// Root mean square of the 16-bit samples of `bytes` in [from, to).
double rms(const QByteArray &bytes, qsizetype from, qsizetype to)
{
    const auto *samples = reinterpret_cast<const qint16 *>(bytes.constData());
    to = std::min(to, bytes.size() / 2);
    double sum = 0;
    for (qsizetype i = from; i < to; ++i)
        sum += double(samples[i]) * samples[i];
    return to > from ? std::sqrt(sum / double(to - from)) : 0;
}

// What libmpv really sends out, written to a file: a quiet file and a loud
// one come out equally loud with levelling, and 20 dB apart without.
TEST(LevelledOutput, QuietAndLoudFilesSoundAlike)
{
    QTemporaryDir dir;
    const QByteArray quiet = writeFile(dir, "quiet.wav", toneWav(5, 0.05));
    const QByteArray loud = writeFile(dir, "loud.wav", toneWav(5, 0.5));
    const QByteArray output = QFile::encodeName(dir.path()) + "/out.pcm";
    MpvOptions options = silentMpvOptions();
    options.audioOutput = "pcm";
    options.volume = 100;
    for (const bool levelling : {false, true}) {
        {
            MpvPlayer player(options);
            mpv_set_property_string(player.core(), "ao-pcm-file", output.constData());
            mpv_set_property_string(player.core(), "ao-pcm-waveheader", "no");
            player.setLevelling(levelling);
            for (const QByteArray &path : {quiet, loud}) {
                if (levelling) {
                    player.prepare(path);
                    ASSERT_TRUE(waitUntil([&] { return player.leveller()->meter()->gain(path).has_value(); }));
                }
                QSignalSpy restarted(&player, &MpvPlayer::playbackRestarted);
                player.load(path);
                ASSERT_TRUE(waitUntil([&] { return restarted.count() > 0 && player.position() > 4.9; }, 30000))
                    << path.constData() << " at " << player.position() << " s, started " << restarted.count()
                    << (player.isPaused() ? ", paused" : "") << (levelling ? ", levelled" : "");
            }
        }
        // Both files in one stream, 40,000 samples each (8 kHz mono, as recorded).
        QFile file(QFile::decodeName(output));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        ASSERT_EQ(bytes.size(), 160000);
        const double apartDb = 20 * std::log10(rms(bytes, 50000, 70000) / rms(bytes, 10000, 30000));
        EXPECT_NEAR(apartDb, levelling ? 0 : 20, 0.5) << (levelling ? "levelled" : "as recorded");
        // The first sound of each file already has its gain: no ramp at the start.
        EXPECT_NEAR(rms(bytes, 0, 800), rms(bytes, 10000, 30000), rms(bytes, 10000, 30000) * 0.05);
        EXPECT_NEAR(rms(bytes, 40000, 40800), rms(bytes, 50000, 70000), rms(bytes, 50000, 70000) * 0.05);
    }
}

} // namespace
