// Where libmpv starts each file: the share of its length chosen, and the
// beginning for short files, playlists and MIDI songs.
#include "player/mpv/MpvPlayer.h"

#include "support/MediaFixtures.h"
#include "support/Wait.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class MpvPlayerStartTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        longFile = writeFile(dir, "long.wav", toneWav(120, 0.3));
        writeFile(dir, "short.wav", toneWav(10, 0.3));
        writeFile(dir, "list.m3u", "#EXTM3U\nlong.wav\n");
        writeFile(dir, "song.mid", longMidiNote(60));
    }

    QByteArray path(const char *name) const { return QFile::encodeName(dir.path()) + '/' + name; }

    // Where `path` is when it has just begun to play.
    double startOf(const QByteArray &path)
    {
        QSignalSpy started(&player, &MpvPlayer::fileStarted);
        QSignalSpy restarted(&player, &MpvPlayer::playbackRestarted);
        player.load(path);
        if (!waitUntil([&] { return started.count() > 0 && restarted.count() > 0 && player.position() > 0.01; }))
            return -1;
        return player.position();
    }

    MpvPlayer player{silentMpvOptions()};
    QTemporaryDir dir;
    QByteArray longFile;
};

TEST_F(MpvPlayerStartTest, EachFileStartsWhereTheSettingAndItsKindSay)
{
    const struct
    {
        int percent;
        const char *name;
        double start;
    } cases[] = {
        {25, "long.wav", 30},
        {50, "long.wav", 60},
        {10, "long.wav", 12},
        {0, "long.wav", 0},
        {25, "short.wav", 0},
        {50, "list.m3u", 0},
        {50, "song.mid", 0},
        // A share the menu does not offer starts at the beginning.
        {33, "long.wav", 0},
    };
    for (const auto &c : cases) {
        player.setStartPercent(c.percent);
        const double start = startOf(path(c.name));
        EXPECT_GE(start, c.start) << c.percent << "% " << c.name;
        EXPECT_LT(start, c.start + 1.0) << c.percent << "% " << c.name;
    }
}

TEST_F(MpvPlayerStartTest, ASeekAfterTheStartGoesWhereItIsSent)
{
    player.setStartPercent(50);
    ASSERT_GE(startOf(longFile), 60);
    // The start share belongs to the file's opening, not to later seeks.
    player.seek(5);
    EXPECT_TRUE(waitUntil([&] { return player.position() > 5 && player.position() < 6; })) << player.position();
}

} // namespace
