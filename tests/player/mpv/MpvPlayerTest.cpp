#include "player/mpv/MpvPlayer.h"

#include "support/MediaFixtures.h"
#include "support/Wait.h"
#include "player/mpv/MidiStream.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// Loads `path` and waits until its position has moved past `seconds`.
bool plays(MpvPlayer &player, const QByteArray &path, double seconds = 0.05)
{
    QSignalSpy started(&player, &MpvPlayer::fileStarted);
    player.load(path);
    return waitUntil([&] { return started.count() > 0 && player.position() > seconds; });
}

class EveryFormat : public ::testing::TestWithParam<const char *>
{
protected:
    MpvPlayer player{silentMpvOptions()};
};

TEST_P(EveryFormat, LoadsAndPlays)
{
    EXPECT_TRUE(plays(player, mediaFixture(GetParam()), 0.1));
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
    MpvPlayer player{silentMpvOptions()};
    QTemporaryDir dir;
};

TEST_F(MpvPlayerTest, StartsAtHalfVolumeNotMuted)
{
    MpvPlayer defaults{silentMpvOptions()};
    EXPECT_EQ(defaults.volume(), 50);
    EXPECT_FALSE(defaults.isMuted());
}

// Sets environment variables for one scope, restoring them afterwards.
class ScopedEnvironment
{
public:
    explicit ScopedEnvironment(std::initializer_list<std::pair<const char *, const char *>> values)
    {
        for (auto [name, value] : values) {
            m_saved.append({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
            qputenv(name, value);
        }
    }
    ~ScopedEnvironment()
    {
        for (const Saved &saved : m_saved) {
            if (saved.wasSet)
                qputenv(saved.name, saved.value);
            else
                qunsetenv(saved.name);
        }
    }

private:
    struct Saved
    {
        const char *name;
        QByteArray value;
        bool wasSet;
    };
    QList<Saved> m_saved;
};

TEST(MpvPlayerSound, PlaysSilentlyWithoutASoundDevice)
{
    // Every sound server and device of the default chain is made unreachable.
    const ScopedEnvironment noSound{{"PIPEWIRE_REMOTE", "/nonexistent/pipewire-0"},
                                    {"PULSE_SERVER", "unix:/nonexistent/pulse"},
                                    {"ALSA_CONFIG_PATH", "/nonexistent/alsa.conf"}};
    MpvOptions options;
    options.videoOutput = "null";
    MpvPlayer player(options);
    EXPECT_TRUE(plays(player, mediaFixture("tone.wav"), 0.1));
}

TEST_F(MpvPlayerTest, EmptyPathStopsAndUnloads)
{
    ASSERT_TRUE(plays(player, mediaFixture("tone.mp3")));
    QSignalSpy unloaded(&player, &MpvPlayer::unloaded);
    player.load(QByteArray());
    EXPECT_TRUE(waitUntil([&] { return !player.isLoaded(); }));
    EXPECT_GE(unloaded.count(), 1);
    EXPECT_EQ(player.position(), 0.0);
}

TEST_F(MpvPlayerTest, SamePathAgainRestartsFromTheBeginning)
{
    const QByteArray path = mediaFixture("tone.wav");
    ASSERT_TRUE(plays(player, path, 0.5));
    player.setPaused(true);
    ASSERT_TRUE(waitUntil([&] { return player.isPaused(); }));
    QSignalSpy restarted(&player, &MpvPlayer::playbackRestarted);
    player.load(path);
    ASSERT_TRUE(waitUntil([&] { return restarted.count() > 0; }));
    EXPECT_LT(player.position(), 0.5);
    // Writing a path always plays it, even after a pause.
    EXPECT_TRUE(waitUntil([&] { return !player.isPaused(); }));
}

TEST_F(MpvPlayerTest, APauseJustBeforeANewPathDoesNotHoldTheNewFile)
{
    ASSERT_TRUE(plays(player, mediaFixture("tone.wav")));
    // No event is handled between the two calls, as when a click is
    // followed at once by a sorting key.
    player.setPaused(true);
    EXPECT_TRUE(plays(player, mediaFixture("tone.mp3"), 0.2));
    EXPECT_FALSE(player.isPaused());
}

TEST_F(MpvPlayerTest, AFileThatEndsJustBeforeANewPathDoesNotHoldTheNewFile)
{
    ASSERT_TRUE(plays(player, mediaFixture("tone.wav")));
    // mpv keeps an ended file open and pauses there. Wait for that in mpv
    // itself, handling no event, so the player has not heard of the pause
    // when the next path comes, as when a key is pressed just as a file ends.
    int paused = 0;
    for (QDeadlineTimer deadline(15000); !paused && !deadline.hasExpired(); QThread::msleep(5))
        mpv_get_property(player.core(), "pause", MPV_FORMAT_FLAG, &paused);
    ASSERT_TRUE(paused);
    ASSERT_FALSE(player.isPaused());
    EXPECT_TRUE(plays(player, mediaFixture("tone.mp3"), 0.2));
    EXPECT_FALSE(player.isPaused());
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
        EXPECT_TRUE(plays(player, mediaFixture("tone.mp3"))) << "after " << path.constData();
    }
}

// As text, so that a failure prints readably.
std::string playingPath(MpvPlayer &player)
{
    char *path = mpv_get_property_string(player.core(), "path");
    const std::string text(path ? path : "");
    mpv_free(path);
    return text;
}

// A name that claims an audio type hands the file to libmpv unread, yet what
// plays is what the bytes say, whether the file was prepared beforehand (its
// bytes read while another file played) or not.
TEST_F(MpvPlayerTest, MisleadingNamesPlayAsTheirBytesSay)
{
    const QByteArray wav = mediaFixture("tone.wav");
    const QByteArray mpg = mediaFixture("clip.mpg");
    const QByteArray fifo = QFile::encodeName(dir.path()) + "/pipe.mp3";
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    struct Case
    {
        QByteArray path;
        // What libmpv ends up playing, and how many entries; none: it fails.
        QByteArray plays;
        qint64 entries;
    };
    const QByteArray midi = writeFile(dir, "renamed.mp3", fixtureContent("tone.mid"));
    const Case cases[] = {
        {writeFile(dir, "song.mp3", fixtureContent("tone.mp3")), QByteArray(), 1},
        {midi, MidiStream::address(midi), 1},
        // libmpv would read this list itself, and fail on the MIDI song in it.
        {writeFile(dir, "list.mp3", "#EXTM3U\n" + mediaFixture("tone.mid") + "\n" + mpg + "\n"),
            MidiStream::address(mediaFixture("tone.mid")), 2},
        {writeFile(dir, "metafile.asf", "<asx><entry><ref href=\"" + mpg + "\"/></entry></asx>"), mpg, 1},
        {writeFile(dir, "text.mp3", "this is no sound"), QByteArray(), 0},
        {fifo, QByteArray(), 0},
    };
    for (const bool prepared : {false, true}) {
        for (const Case &c : cases) {
            const std::string label = c.path.toStdString() + (prepared ? " (prepared)" : "");
            if (prepared) {
                player.prepare(c.path);
                ASSERT_TRUE(waitUntil([&] { return player.ahead().kindOf(c.path).has_value(); })) << label;
            }
            QSignalSpy failed(&player, &MpvPlayer::loadFailed);
            if (c.entries == 0) {
                player.load(c.path);
                EXPECT_TRUE(waitUntil([&] { return failed.count() > 0; })) << label;
                QTest::qWait(100);
                EXPECT_EQ(failed.count(), 1) << label;
            } else {
                EXPECT_TRUE(plays(player, c.path)) << label;
                EXPECT_EQ(playingPath(player), (c.plays.isEmpty() ? c.path : c.plays).toStdString()) << label;
                int64_t count = 0;
                mpv_get_property(player.core(), "playlist-count", MPV_FORMAT_INT64, &count);
                EXPECT_EQ(count, c.entries) << label;
                EXPECT_EQ(failed.count(), 0) << label;
            }
            ASSERT_TRUE(plays(player, wav)) << "after " << label;
        }
    }
}

// Bytes read ahead may be out of date when the file comes: a file that has
// turned into a MIDI song since still plays as one.
TEST_F(MpvPlayerTest, AFileChangedSinceItWasPreparedPlaysAsItIsNow)
{
    const QByteArray path = writeFile(dir, "take.mp3", fixtureContent("tone.mp3"));
    player.prepare(path);
    ASSERT_TRUE(waitUntil([&] { return player.ahead().kindOf(path) == MediaSource::Kind::Plain; }));
    writeFile(dir, "take.mp3", fixtureContent("tone.mid"));
    QSignalSpy failed(&player, &MpvPlayer::loadFailed);
    EXPECT_TRUE(plays(player, path));
    EXPECT_EQ(playingPath(player), MidiStream::address(path).toStdString());
    EXPECT_EQ(failed.count(), 0);
}

TEST_F(MpvPlayerTest, SwitchingFilesReportsOnlyTheNewOne)
{
    ASSERT_TRUE(plays(player, mediaFixture("clip.mpg")));
    ASSERT_TRUE(waitUntil([&] { return player.hasVideo(); }));
    QSignalSpy failed(&player, &MpvPlayer::loadFailed);
    // The replaced file's end is no failure, and its picture goes with it.
    EXPECT_TRUE(plays(player, mediaFixture("tone.wav"), 0.3));
    EXPECT_FALSE(player.hasVideo());
    EXPECT_EQ(failed.count(), 0);
    // A video after a video has its picture again.
    EXPECT_TRUE(plays(player, mediaFixture("clip.vob")));
    EXPECT_TRUE(waitUntil([&] { return player.hasVideo(); }));
    EXPECT_TRUE(plays(player, mediaFixture("clip.mpg")));
    EXPECT_TRUE(waitUntil([&] { return player.hasVideo(); }));
}

TEST_F(MpvPlayerTest, TransportControls)
{
    ASSERT_TRUE(plays(player, mediaFixture("tone.mid")));
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

// A list that takes long to read is read off this thread; a file chosen
// meanwhile plays, and the list's late verdict is never reported.
TEST_F(MpvPlayerTest, SlowPlaylistIsSupersededByTheNextFile)
{
    QByteArray text = "#EXTM3U\n";
    const QByteArray self = QFile::encodeName(dir.path()) + "/self.m3u";
    while (text.size() < (1 << 20))
        text += self + "\n";
    writeFile(dir, "self.m3u", text);
    QSignalSpy failed(&player, &MpvPlayer::loadFailed);
    player.load(self);
    EXPECT_TRUE(plays(player, mediaFixture("tone.wav")));
    QCoreApplication::processEvents();
    EXPECT_EQ(failed.count(), 0);
    // On its own it plays nothing and says so.
    player.load(self);
    EXPECT_TRUE(waitUntil([&] { return failed.count() == 1; }));
}

} // namespace

namespace {

TEST_F(MpvPlayerTest, LooksAtNothingBesideThePlayedFile)
{
    // Every way libmpv has of loading files found beside the played one is off.
    for (const char *option : {"autoload-files", "cover-art-auto", "audio-file-auto", "sub-auto"}) {
        char *value = mpv_get_property_string(player.core(), option);
        EXPECT_STREQ(value, "no") << option;
        mpv_free(value);
    }

    // A folder as a sorter meets it: thousands of files, and FIFOs under the
    // names a cover picture, an external audio track or subtitles would have.
    // Opening any of them would stop the load for good.
    const QByteArray folder = QFile::encodeName(dir.path());
    const QByteArray played = folder + "/take.wav";
    ASSERT_TRUE(QFile::copy(QFile::decodeName(mediaFixture("tone.wav")), QFile::decodeName(played)));
    for (const char *name : {"take.jpg", "cover.jpg", "folder.png", "take.srt", "take.mka", "take.ac3"})
        ASSERT_EQ(::mkfifo((folder + "/" + name).constData(), 0600), 0) << name;
    for (int i = 0; i < 10000; ++i)
        writeFile(dir, QByteArray("take-" + QByteArray::number(i) + ".wav").constData(), QByteArray());

    EXPECT_TRUE(plays(player, played, 0.1));
    EXPECT_TRUE(plays(player, played, 0.1));
}

} // namespace
