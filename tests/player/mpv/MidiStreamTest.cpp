#include "player/mpv/MidiStream.h"

#include "support/MediaFixtures.h"
#include "player/mpv/MidiSynth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

QByteArray readAll(MidiStream &stream)
{
    QByteArray all;
    char buffer[10000];
    while (true) {
        const int64_t got = stream.read(buffer, sizeof buffer);
        if (got <= 0)
            break;
        all.append(buffer, qsizetype(got));
    }
    return all;
}

quint32 le32(const QByteArray &bytes, int at)
{
    quint32 value = 0;
    std::memcpy(&value, bytes.constData() + at, 4);
    return value;
}

TEST(MidiStream, IsAWavFileOfTheSongsLengthWithSound)
{
    auto stream = MidiStream::open(mediaFixture("tone.mid"));
    ASSERT_TRUE(stream);
    const QByteArray wav = readAll(*stream);
    ASSERT_EQ(wav.size(), stream->size());
    EXPECT_TRUE(wav.startsWith("RIFF"));
    EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(le32(wav, 4), quint32(wav.size() - 8));
    EXPECT_EQ(le32(wav, 40), quint32(wav.size() - MidiStream::kHeaderSize));
    // Half a second of note plus the tail, within one rendering chunk.
    const double seconds = double(wav.size() - MidiStream::kHeaderSize) / (44100 * 4);
    EXPECT_NEAR(seconds, 1.5, 0.2);
    const QByteArray pcm = wav.mid(MidiStream::kHeaderSize);
    EXPECT_TRUE(std::any_of(pcm.begin(), pcm.end(), [](char c) { return c != 0; }));
}

TEST(MidiStream, SeekingBackReadsTheSameBytes)
{
    auto stream = MidiStream::open(mediaFixture("tone.mid"));
    ASSERT_TRUE(stream);
    const QByteArray first = readAll(*stream);
    for (int64_t offset : {int64_t(0), int64_t(20), int64_t(44), int64_t(first.size() / 2 + 1)}) {
        ASSERT_EQ(stream->seek(offset), offset);
        EXPECT_EQ(readAll(*stream), first.mid(offset)) << offset;
    }
    EXPECT_LT(stream->seek(stream->size() + 1), 0);
    EXPECT_LT(stream->seek(-1), 0);
}

TEST(MidiStream, ForwardSeekSynthesisesUpToTheTarget)
{
    auto linear = MidiStream::open(mediaFixture("tone.mid"));
    auto jumping = MidiStream::open(mediaFixture("tone.mid"));
    ASSERT_TRUE(linear && jumping);
    const QByteArray whole = readAll(*linear);
    const int64_t target = whole.size() - 1000;
    ASSERT_EQ(jumping->seek(target), target);
    EXPECT_EQ(readAll(*jumping), whole.mid(target));
}

TEST(MidiStream, RmiWrapperPlaysTheSameSong)
{
    auto plain = MidiStream::open(mediaFixture("tone.mid"));
    auto wrapped = MidiStream::open(mediaFixture("tone.rmi"));
    ASSERT_TRUE(plain && wrapped);
    EXPECT_EQ(readAll(*wrapped), readAll(*plain));
}

TEST(MidiStream, CancelEndsReading)
{
    auto stream = MidiStream::open(mediaFixture("tone.mid"));
    ASSERT_TRUE(stream);
    stream->cancel();
    char buffer[64];
    EXPECT_LT(stream->read(buffer, sizeof buffer), 0);
}

TEST(MidiStream, UnplayableDataOpensNothing)
{
    QTemporaryDir dir;
    const QByteArray midi = fixtureContent("tone.mid");
    QByteArray lyingRiff = fixtureContent("tone.rmi");
    lyingRiff[16] = char(0xff); // the data chunk claims far more than the file holds
    struct Case
    {
        const char *name;
        QByteArray content;
    } cases[] = {
        {"empty.mid", ""},
        {"header-only.mid", midi.left(14)},
        {"cut-in-track.mid", midi.left(24)},
        {"text.mid", "MThd but then nothing sensible at all"},
        {"riff-without-midi.rmi", "RIFF\x10\0\0\0RMIDjunk\x04\0\0\0abcd"},
        {"wave.mid", fixtureContent("tone.wav")},
    };
    for (const Case &c : cases)
        EXPECT_FALSE(MidiStream::open(writeFile(dir, c.name, c.content))) << c.name;
    EXPECT_FALSE(MidiStream::open("/nonexistent.mid"));
    // A chunk length past the end is clipped to what is there.
    EXPECT_EQ(MidiSynth::unwrap(lyingRiff), midi);
}

TEST(MidiStream, AddressKeepsEveryByteOfThePath)
{
    const QByteArray path("/tmp/a b%20\xE9\x82/\xff.mid");
    const QByteArray address = MidiStream::address(path);
    EXPECT_TRUE(address.startsWith("ondamidi:///tmp/"));
    EXPECT_EQ(QByteArray::fromPercentEncoding(address.mid(11)), path);
}

} // namespace
