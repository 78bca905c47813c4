#include "platform/player/MpvPlayer.h"

#include "support/MediaFixtures.h"
#include "support/Wait.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

MpvOptions silentOptions()
{
    MpvOptions options;
    options.audioOutput = "null";
    options.videoOutput = "null";
    return options;
}

// Plays until the position has moved past `seconds`.
bool playsPast(MpvPlayer &player, double seconds)
{
    return waitUntil([&] { return player.isLoaded() && player.position() > seconds; });
}

class EveryFormat : public ::testing::TestWithParam<const char *>
{
protected:
    MpvPlayer player{silentOptions()};
};

TEST_P(EveryFormat, LoadsAndPlays)
{
    player.load(mediaFixture(GetParam()));
    EXPECT_TRUE(playsPast(player, 0.1));
    EXPECT_GT(player.duration(), 0.4);
    EXPECT_FALSE(player.isPaused());
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, EveryFormat,
    ::testing::Values("tone.wav", "tone.aiff", "tone.aifc", "tone.au", "tone.mp3", "tone.mp2",
                      "tone.wma", "clip.mpg", "clip.m1v", "clip.vob", "clip.avi", "clip.wmv",
                      "clip.ivf", "list.m3u", "list.asx", "tone.mid", "tone.rmi"),
    [](const auto &info) {
        std::string name = info.param;
        std::replace(name.begin(), name.end(), '.', '_');
        return name;
    });

class MpvPlayerTest : public ::testing::Test
{
protected:
    MpvPlayer player{silentOptions()};
    QTemporaryDir dir;
};

TEST_F(MpvPlayerTest, StartsAtHalfVolumeNotMuted)
{
    MpvPlayer defaults{silentOptions()};
    EXPECT_EQ(defaults.volume(), 50);
    EXPECT_FALSE(defaults.isMuted());
}

TEST_F(MpvPlayerTest, EmptyPathStopsAndUnloads)
{
    player.load(mediaFixture("tone.mp3"));
    ASSERT_TRUE(playsPast(player, 0.05));
    QSignalSpy unloaded(&player, &MpvPlayer::unloaded);
    player.load(QByteArray());
    EXPECT_TRUE(waitUntil([&] { return !player.isLoaded(); }));
    EXPECT_GE(unloaded.count(), 1);
    EXPECT_EQ(player.position(), 0.0);
}

TEST_F(MpvPlayerTest, SamePathAgainRestartsFromTheBeginning)
{
    const QByteArray path = mediaFixture("tone.wav");
    player.load(path);
    ASSERT_TRUE(playsPast(player, 0.5));
    player.setPaused(true);
    ASSERT_TRUE(waitUntil([&] { return player.isPaused(); }));
    QSignalSpy restarted(&player, &MpvPlayer::playbackRestarted);
    player.load(path);
    ASSERT_TRUE(waitUntil([&] { return restarted.count() > 0; }));
    EXPECT_LT(player.position(), 0.5);
    // Writing a path always plays it, even after a pause.
    EXPECT_TRUE(waitUntil([&] { return !player.isPaused(); }));
}

TEST_F(MpvPlayerTest, BrokenFilesLeaveThePlayerUsable)
{
    QByteArray truncated = fixtureContent("clip.mpg").left(300);
    QByteArray noise(4096, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919) ^ (i >> 3));
    const QByteArray fifo = QFile::encodeName(dir.path()) + "/pipe.mp3";
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    const QByteArrayList broken{
        writeFile(dir, "empty.wav", ""),
        writeFile(dir, "cut.mpg", truncated),
        writeFile(dir, "noise.avi", noise),
        writeFile(dir, "text.mp3", "this is no sound"),
        writeFile(dir, "bad.mid", "MThd\0\0\0\6\0\0\0\1"),
        writeFile(dir, "bad.asx", "<asx><entry><ref href=\"nothing-here.wav\"/></entry></asx>"),
        fifo,
        "/nonexistent/x.wav",
    };
    for (const QByteArray &path : broken) {
        QSignalSpy failed(&player, &MpvPlayer::loadFailed);
        QSignalSpy started(&player, &MpvPlayer::fileStarted);
        player.load(path);
        EXPECT_TRUE(waitUntil([&] { return failed.count() > 0 || started.count() > 0; }))
            << path.constData();
        player.load(mediaFixture("tone.mp3"));
        EXPECT_TRUE(playsPast(player, 0.05)) << "after " << path.constData();
    }
}

TEST_F(MpvPlayerTest, SwitchingFilesReportsOnlyTheNewOne)
{
    player.load(mediaFixture("clip.mpg"));
    ASSERT_TRUE(playsPast(player, 0.05));
    ASSERT_TRUE(waitUntil([&] { return player.hasVideo(); }));
    QSignalSpy failed(&player, &MpvPlayer::loadFailed);
    player.load(mediaFixture("tone.wav"));
    // The replaced file's end is no failure, and the picture goes with it.
    EXPECT_TRUE(waitUntil([&] { return !player.hasVideo(); }));
    EXPECT_TRUE(playsPast(player, 0.05));
    EXPECT_EQ(failed.count(), 0);
}

TEST_F(MpvPlayerTest, TransportControls)
{
    player.load(mediaFixture("tone.mid"));
    ASSERT_TRUE(playsPast(player, 0.05));
    player.setPaused(true);
    ASSERT_TRUE(waitUntil([&] { return player.isPaused(); }));
    player.seek(1.0);
    EXPECT_TRUE(waitUntil([&] { return player.position() > 0.9; }));
    player.setVolume(80);
    player.setMuted(true);
    EXPECT_TRUE(waitUntil([&] { return player.volume() == 80 && player.isMuted(); }));
    player.stop();
    EXPECT_TRUE(waitUntil([&] { return !player.isLoaded(); }));
}

} // namespace
