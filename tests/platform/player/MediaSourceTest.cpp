#include "platform/player/MediaSource.h"

#include "support/MediaFixtures.h"
#include "platform/player/MidiStream.h"

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

TEST_F(MediaSourceTest, SelfReferringPlaylistsExpandBoundedly)
{
    writeFile(dir, "song.wav", fixtureContent("tone.wav"));
    // Each level would multiply the reads by 200 without a budget.
    const QByteArray list = writeFile(dir, "loop.m3u", "song.wav\n" + QByteArray("loop.m3u\n").repeated(200));
    const QByteArrayList entries = MediaSource::mpvEntries(list);
    ASSERT_FALSE(entries.isEmpty());
    EXPECT_LE(entries.size(), 5000);
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
