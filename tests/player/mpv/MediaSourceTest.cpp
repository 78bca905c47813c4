#include "player/mpv/MediaSource.h"

#include "support/MediaFixtures.h"
#include "player/mpv/MidiStream.h"

#include <QDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using MediaSource::Kind;

namespace {

class MediaSourceTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
};

TEST_F(MediaSourceTest, ClassifiesByContentBeforeName)
{
    const QByteArray midi = fixtureContent("tone.mid");
    const QByteArray asx = "\xEF\xBB\xBF  <Asx><entry><ref href=\"a.wav\"/></entry></Asx>";
    struct Case
    {
        const char *name;
        QByteArray content;
        Kind expected;
    } cases[] = {
        {"song.mid", midi, Kind::Midi},
        {"misnamed.mp3", midi, Kind::Midi},
        {"wrapped.rmi", fixtureContent("tone.rmi"), Kind::Midi},
        {"list.txt", asx, Kind::Asx},
        {"list.wvx", "<?xml version=\"1.0\"?>\n<!-- a long comment -->", Kind::Asx},
        {"song.wav", fixtureContent("tone.wav"), Kind::Plain},
        {"fake.mid", "not a midi file", Kind::Plain},
        {"list.m3u", "song.mp3\n", Kind::M3u},
        {"list.txt", "#EXTM3U\nsong.mp3\n", Kind::M3u},
        {"binary.m3u", QByteArray("ID3\0\0\0", 6), Kind::Plain},
        {"empty.wav", "", Kind::Plain},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MediaSource::classify(writeFile(dir, c.name, c.content)), c.expected) << c.name;
}

// The name lets a file go to libmpv unread only for audio and video types;
// the bytes still say what the file is, whatever the name claims.
TEST_F(MediaSourceTest, NameDecidesOnlyForAudioAndVideoTypes)
{
    const QByteArray midi = fixtureContent("tone.mid");
    const QByteArray m3u = "#EXTM3U\n" + mediaFixture("tone.wav") + "\n";
    const QByteArray asx = "<asx><entry><ref href=\"" + mediaFixture("tone.wav") + "\"/></entry></asx>";
    struct Case
    {
        const char *name;
        QByteArray content;
        bool byName;
        Kind kind;
    } cases[] = {
        // The name decides, and the bytes agree.
        {"song.mp3", fixtureContent("tone.mp3"), true, Kind::Plain},
        {"SONG.WAV", fixtureContent("tone.wav"), true, Kind::Plain},
        {"clip.mpg", fixtureContent("clip.mpg"), true, Kind::Plain},
        {"clip.vob", fixtureContent("clip.vob"), true, Kind::Plain},
        {"tone.wma", fixtureContent("tone.wma"), true, Kind::Plain},
        {"take.mkv", fixtureContent("clip.avi"), true, Kind::Plain},
        // Lists and MIDI need their bytes, as do names that are no media type.
        {"song.mid", midi, false, Kind::Midi},
        {"song.rmi", fixtureContent("tone.rmi"), false, Kind::Midi},
        {"list.m3u", m3u, false, Kind::M3u},
        {"list.asx", asx, false, Kind::Asx},
        {"list.wvx", asx, false, Kind::Asx},
        {"fake.mid", fixtureContent("tone.wav"), false, Kind::Plain},
        {"noextension", fixtureContent("tone.wav"), false, Kind::Plain},
        {"package.wmd", "PK\3\4", false, Kind::Plain},
        {"song.mp3.part", fixtureContent("tone.mp3"), false, Kind::Plain},
        // Misleading names: an audio type in name only.
        {"renamed.mp3", midi, true, Kind::Midi},
        {"list.mp3", m3u, true, Kind::M3u},
        {"metafile.asf", asx, true, Kind::Asx},
    };
    for (const Case &c : cases) {
        const QByteArray path = writeFile(dir, c.name, c.content);
        EXPECT_EQ(MediaSource::plainByName(path), c.byName) << c.name;
        EXPECT_EQ(MediaSource::classify(path), c.kind) << c.name;
    }
}

TEST_F(MediaSourceTest, ThingsThatAreNoRegularFileYieldNothing)
{
    const QByteArray fifo = QFile::encodeName(dir.path()) + "/pipe.wav";
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    for (const QByteArray &path : {fifo, QFile::encodeName(dir.path()), QByteArray("/nonexistent/a.wav"),
                                   QByteArray("/dev/zero"), QByteArray()}) {
        EXPECT_EQ(MediaSource::classify(path), Kind::Missing) << path.constData();
        EXPECT_TRUE(MediaSource::mpvEntries(path).isEmpty()) << path.constData();
    }
}

TEST_F(MediaSourceTest, PathBytesNeedNotBeUtf8)
{
    const QByteArray path = writeFile(dir, "caf\xE9\x82.mid", fixtureContent("tone.mid"));
    const QByteArrayList entries = MediaSource::mpvEntries(path);
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries.first(), MidiStream::address(path));
    EXPECT_TRUE(MidiStream::open(QByteArray::fromPercentEncoding(
        entries.first().mid(qstrlen(MidiStream::kProtocol) + 3))));
    // QTemporaryDir cannot remove a name that is not UTF-8.
    ::unlink(path.constData());
}

TEST_F(MediaSourceTest, AsxEntriesTakeTheFirstPlayableAlternative)
{
    const QByteArrayList entries = MediaSource::mpvEntries(mediaFixture("list.asx"));
    EXPECT_EQ(entries, (QByteArrayList{mediaFixture("tone.wav"), mediaFixture("clip.mpg")}));
}

TEST_F(MediaSourceTest, NestedPlaylistsExpandAndLoopsEnd)
{
    writeFile(dir, "song.mid", fixtureContent("tone.mid"));
    writeFile(dir, "inner.asx", "<asx><entry><ref href=\"song.mid\"/></entry></asx>");
    const QByteArray outer = writeFile(dir, "outer.asx",
        "<asx><entryref href=\"inner.asx\"/><entryref href=\"outer.asx\"/></asx>");
    const QByteArrayList entries = MediaSource::mpvEntries(outer);
    ASSERT_FALSE(entries.isEmpty());
    // The loop stops at the nesting limit instead of recursing forever.
    EXPECT_LT(entries.size(), 20);
    for (const QByteArray &entry : entries)
        EXPECT_TRUE(entry.startsWith(MidiStream::kProtocol)) << entry.constData();
}

TEST_F(MediaSourceTest, M3uEntriesTakeTheSameRoadAsFiles)
{
    const QByteArray midi = writeFile(dir, "song.mid", fixtureContent("tone.mid"));
    const QByteArray wav = writeFile(dir, "song.wav", fixtureContent("tone.wav"));
    const QByteArray fifo = QFile::encodeName(dir.path()) + "/pipe.mp3";
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    writeFile(dir, "inner.asx", "<asx><entry><ref href=\"song.wav\"/></entry></asx>");
    const QByteArray list = writeFile(dir, "list.m3u",
        "#EXTM3U\nsong.mid\npipe.mp3\nmissing.wav\ninner.asx\nfd://0\nlist.m3u\n");
    // A FIFO would block the reader forever; the list naming itself is a loop.
    const QByteArrayList entries = MediaSource::mpvEntries(list);
    ASSERT_GE(entries.size(), 2);
    EXPECT_EQ(entries.at(0), MidiStream::address(midi));
    EXPECT_EQ(entries.at(1), wav);
    EXPECT_FALSE(entries.contains(fifo));
    EXPECT_FALSE(entries.contains("fd://0"));
    EXPECT_LT(entries.size(), 40);
}

// A list of 1 MB naming itself on every line (or in every entry) once cost
// millions of file opens; now each reference to a list already being read is
// skipped, and the real files in it come out once each, in order.
TEST_F(MediaSourceTest, SelfReferringPlaylistsGiveTheirFilesOnce)
{
    const QByteArray wav = writeFile(dir, "song.wav", fixtureContent("tone.wav"));
    const QByteArray mp3 = writeFile(dir, "other.mp3", fixtureContent("tone.mp3"));
    const auto fill = [](QByteArray head, const QByteArray &line, const QByteArray &tail) {
        while (head.size() + line.size() + tail.size() < (1 << 20) - 64)
            head += line;
        return head + tail;
    };
    const QByteArray m3u = writeFile(dir, "loop.m3u",
        fill("song.wav\n", "loop.m3u\n", "other.mp3\n"));
    const QByteArray asx = writeFile(dir, "loop.asx",
        fill("<asx><entry><ref href=\"song.wav\"/></entry>\n", "<entryref href=\"loop.asx\"/>\n",
            "<entry><ref href=\"other.mp3\"/></entry></asx>\n"));
    EXPECT_EQ(MediaSource::mpvEntries(m3u), (QByteArrayList {wav}));
    EXPECT_EQ(MediaSource::mpvEntries(asx), (QByteArrayList {wav}));
    // Two lists naming each other: each file once.
    writeFile(dir, "a.m3u", "song.wav\nb.m3u\na.m3u\n");
    writeFile(dir, "b.m3u", "a.m3u\nother.mp3\nb.m3u\n");
    EXPECT_EQ(MediaSource::mpvEntries(QFile::encodeName(dir.path()) + "/a.m3u"), (QByteArrayList {wav, mp3}));
}

struct LimitCase
{
    const char *what;
    MediaSource::Limits limits;
    qsizetype entries;
};

// Every dimension of the work is capped on its own: a list of ten files
// behind a list in a list.
TEST_F(MediaSourceTest, EachLimitCapsTheWork)
{
    writeFile(dir, "song.wav", fixtureContent("tone.wav"));
    writeFile(dir, "inner.m3u", QByteArray("song.wav\n").repeated(10));
    const QByteArray outer = writeFile(dir, "outer.m3u", "missing.wav\ninner.m3u\n");
    const auto limits = [](auto change) {
        MediaSource::Limits limits;
        change(limits);
        return limits;
    };
    const LimitCase cases[] = {
        {"none", {}, 10},
        {"references", limits([](auto &l) { l.maxReferences = 5; }), 3},
        {"entries", limits([](auto &l) { l.maxEntries = 4; }), 4},
        {"nesting", limits([](auto &l) { l.maxNesting = 1; }), 0},
        {"playlists", limits([](auto &l) { l.maxPlaylists = 1; }), 0},
        {"bytes", limits([](auto &l) { l.maxBytes = 40; }), 0},
    };
    for (const LimitCase &c : cases)
        EXPECT_EQ(MediaSource::mpvEntries(outer, c.limits).size(), c.entries) << c.what;

    // Work asked to stop gives up at once.
    EXPECT_TRUE(MediaSource::mpvEntries(outer, {}, [] { return true; }).isEmpty());
}

TEST_F(MediaSourceTest, RelativePathsBecomeAbsolute)
{
    writeFile(dir, "a.wav", fixtureContent("tone.wav"));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const QByteArrayList entries = MediaSource::mpvEntries("a.wav");
    QDir::setCurrent(previous);
    EXPECT_EQ(entries, QByteArrayList{QFile::encodeName(dir.path()) + "/a.wav"});
}

} // namespace
