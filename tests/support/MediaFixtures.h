#pragma once
// Paths of the committed media fixtures (made by scripts/make-fixtures.sh)
// as file-system bytes, and a few broken files made on the spot.
#include "player/MpvOptions.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>

// libmpv set up for tests: no sound, and no picture unless `video` says so.
inline MpvOptions silentMpvOptions(const QByteArray &video = "null")
{
    MpvOptions options;
    options.audioOutput = "null";
    options.videoOutput = video;
    return options;
}

inline QByteArray mediaFixture(const char *name)
{
    return QByteArray(ONDASORT_FIXTURE_DIR) + "/media/" + name;
}

// Writes `content` to `name` inside `dir` and returns its path.
inline QByteArray writeFile(const QTemporaryDir &dir, const char *name, const QByteArray &content)
{
    // Names are bytes and need not be UTF-8, so no QString on the way.
    const QByteArray path = QFile::encodeName(dir.path()) + '/' + name;
    if (std::FILE *file = std::fopen(path.constData(), "wb")) {
        std::fwrite(content.constData(), 1, size_t(content.size()), file);
        std::fclose(file);
    }
    return path;
}

inline QByteArray fixtureContent(const char *name)
{
    QFile file(QFile::decodeName(mediaFixture(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A mono 16-bit WAV file of a 440 Hz tone, one part after another, each
// `seconds` long at its `amplitude` (1 is full scale), made on the spot:
// long files need not be committed. `clickAt`, when not negative, puts one
// full-scale sample at that second.
inline QByteArray bytesOf(std::initializer_list<char> bytes)
{
    return QByteArray(bytes.begin(), qsizetype(bytes.size()));
}

struct TonePart
{
    double seconds;
    double amplitude;
};

inline QByteArray toneWav(const QList<TonePart> &parts, int rate = 8000, double clickAt = -1)
{
    QByteArray data;
    double total = 0;
    for (const TonePart &part : parts)
        total += part.seconds;
    data.reserve(qsizetype(total * rate) * 2);
    qint64 i = 0;
    for (const TonePart &part : parts) {
        for (const qint64 end = i + qint64(part.seconds * rate); i < end; ++i) {
            double value = part.amplitude * std::sin(2 * M_PI * 440 * double(i) / rate);
            if (clickAt >= 0 && i == qint64(clickAt * rate))
                value = 1;
            const qint16 sample = qint16(std::lround(std::clamp(value, -1.0, 1.0) * 32767));
            data += char(sample & 0xff);
            data += char((sample >> 8) & 0xff);
        }
    }
    const auto le32 = [](quint32 v) {
        return bytesOf({char(v & 0xff), char((v >> 8) & 0xff), char((v >> 16) & 0xff), char(v >> 24)});
    };
    const auto le16 = [](quint16 v) { return bytesOf({char(v & 0xff), char(v >> 8)}); };
    return "RIFF" + le32(quint32(36 + data.size())) + "WAVEfmt " + le32(16) + le16(1) + le16(1)
        + le32(quint32(rate)) + le32(quint32(rate * 2)) + le16(2) + le16(16) + "data" + le32(quint32(data.size()))
        + data;
}

inline QByteArray toneWav(double seconds, double amplitude, int rate = 8000)
{
    return toneWav({{seconds, amplitude}}, rate);
}

// A MIDI song of one note held for `seconds` (at most about 130).
inline QByteArray longMidiNote(int seconds)
{
    // 120 beats a minute at 480 ticks a beat: 960 ticks a second, as a
    // variable-length number of three bytes.
    const quint32 ticks = quint32(seconds) * 960;
    const QByteArray delta = bytesOf({char(0x80 | (ticks >> 14)), char(0x80 | ((ticks >> 7) & 0x7f)), char(ticks & 0x7f)});
    const QByteArray track = QByteArray("\x00\x90\x45\x64", 4) + delta + QByteArray("\x80\x45\x40\x00\xff\x2f\x00", 7);
    return QByteArray("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xe0", 14) + "MTrk"
        + bytesOf({0, 0, 0, char(track.size())}) + track;
}
