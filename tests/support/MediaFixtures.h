#pragma once
// Paths of the committed media fixtures (made by scripts/make-fixtures.sh)
// as file-system bytes, and a few broken files made on the spot.
#include "player/MpvOptions.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

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
