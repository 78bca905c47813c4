#pragma once
// What the benchmarks that drive the main window share: its real player
// control over libmpv with sound to null, folders of playable files, and
// waiting for the window's signals in its event loop.
#include "app/MainForm1.h"
#include "controls/FileListBox.h"
#include "player/PlayerBackend.h"
#include "player/mpv/MpvPlayer.h"
#include "EventLoopWait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <memory>
#include <unistd.h>

namespace bench {

inline void waitUntilSettled(TFileListBox *list)
{
    while (list->isUpdatePending())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
}

// A folder of `count` playable files "take00000.wav" and on: hard links to
// copies of one fixture (a copy per 10,000 names, below the file system's
// link limit).
inline void fillFolder(const QByteArray &folder, int count)
{
    const QByteArray fixture = QByteArray(ONDASORT_FIXTURE_DIR) + "/media/tone.wav";
    QByteArray original;
    for (int i = 0; i < count; ++i) {
        const QByteArray name = folder + "/take" + QByteArray::number(i).rightJustified(5, '0') + ".wav";
        if (i % 10000 == 0) {
            original = name;
            QFile::copy(QFile::decodeName(fixture), QFile::decodeName(name));
        } else {
            ::link(original.constData(), name.constData());
        }
    }
}

inline MpvOptions silent()
{
    MpvOptions options;
    options.audioOutput = "null";
    return options;
}

// The main window playing through libmpv, its settings in settingsFolder.
inline TMainForm1::Surroundings realPlayer(const QByteArray &settingsFolder)
{
    TMainForm1::Surroundings surroundings;
    surroundings.executableDirectory = settingsFolder;
    surroundings.playerBackend = [] { return std::make_unique<MpvPlayer>(silent()); };
    return surroundings;
}

// The longest gap between the ticks of a 1 ms timer on the GUI thread.
class StallMeter
{
public:
    StallMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const std::chrono::steady_clock::time_point now = std::chrono::steady_clock::now();
            m_worst = std::max(m_worst, std::chrono::duration<double, std::milli>(now - m_last).count());
            m_last = now;
        });
    }
    void start()
    {
        m_worst = 0;
        m_last = std::chrono::steady_clock::now();
        m_timer.start();
    }
    double stop()
    {
        m_timer.stop();
        return std::max(m_worst, millisecondsSince(m_last));
    }

private:
    QTimer m_timer;
    std::chrono::steady_clock::time_point m_last;
    double m_worst = 0;
};

} // namespace bench
