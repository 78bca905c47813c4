#pragma once
// Starting the program as a process of its own, from a copy in a temporary
// folder (so its settings file is the benchmark's), and timing until the X
// server maps its window. Shared by the start-up benchmarks.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace bench {

// A copy of the program and its backend module in a folder of their own,
// with a settings file that opens `sourceFolder`.
class ProgramCopy
{
public:
    explicit ProgramCopy(const QByteArray &sourceFolder = QByteArray())
    {
        const QString dir = m_dir.path();
        QFile::copy(QStringLiteral(ONDASORT_PROGRAM), dir + QStringLiteral("/Ondasort"));
        QFile::copy(QStringLiteral(ONDASORT_MPV_MODULE), dir + QStringLiteral("/ondasort-mpv.so"));
        // The list of the libraries the module needs, which the program opens one by one.
        QFile::copy(QFileInfo(QStringLiteral(ONDASORT_MPV_MODULE)).path() + QStringLiteral("/ondasort-mpv.libs"),
            dir + QStringLiteral("/ondasort-mpv.libs"));
        QFile::setPermissions(dir + QStringLiteral("/Ondasort"),
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        writeSettings(sourceFolder.isEmpty() ? QByteArray() : "[SET1]\nLIST00=" + sourceFolder + "\n");
    }
    // Replaces the settings file's text.
    void writeSettings(const QByteArray &text)
    {
        QFile ini(m_dir.path() + QStringLiteral("/Ondasort.ini"));
        ini.open(QIODevice::WriteOnly | QIODevice::Truncate);
        ini.write(text);
    }
    QByteArray program() const { return QFile::encodeName(m_dir.path()) + "/Ondasort"; }
    QByteArray folder() const { return QFile::encodeName(m_dir.path()); }

private:
    QTemporaryDir m_dir;
};

// Starts program (with one argument, when given) in workingDirectory on the Qt platform named.
inline pid_t spawn(const QByteArray &program, const QByteArray &workingDirectory, const char *platform,
    const QByteArray &argument = QByteArray())
{
    const QByteArray previous = qgetenv("QT_QPA_PLATFORM");
    qputenv("QT_QPA_PLATFORM", platform);
    const QByteArray cwd = QDir::currentPath().toLocal8Bit();
    ::chdir(workingDirectory.constData());
    pid_t pid = -1;
    char *argv[] = {const_cast<char *>(program.constData()),
        argument.isEmpty() ? nullptr : const_cast<char *>(argument.constData()), nullptr};
    ::posix_spawn(&pid, program.constData(), nullptr, nullptr, argv, environ);
    ::chdir(cwd.constData());
    qputenv("QT_QPA_PLATFORM", previous);
    return pid;
}

inline void end(pid_t pid)
{
    // Killed, not closed: a close would write the settings file.
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
}

// Watches the X server for new top-level windows being mapped.
class MapWatch
{
public:
    MapWatch()
        : m_connection(xcb_connect(nullptr, nullptr))
    {
        // Right after a run of killed programs the server may reset a new
        // connection while it still closes theirs: it is tried again.
        for (int attempt = 0; attempt < 10 && xcb_connection_has_error(m_connection); ++attempt) {
            xcb_disconnect(m_connection);
            ::usleep(100000);
            m_connection = xcb_connect(nullptr, nullptr);
        }
        if (xcb_connection_has_error(m_connection))
            return;
        xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, screen->root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
        m_ok = true;
    }
    ~MapWatch() { xcb_disconnect(m_connection); }
    bool ok() const { return m_ok; }

    // Forgets what happened so far.
    void drain()
    {
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
            std::free(event);
    }
    // Waits for the next map of a window that is not an override-redirect popup.
    bool waitForMap()
    {
        while (xcb_generic_event_t *event = xcb_wait_for_event(m_connection)) {
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY
                && !reinterpret_cast<xcb_map_notify_event_t *>(event)->override_redirect;
            std::free(event);
            if (mapped)
                return true;
        }
        return false;
    }

private:
    xcb_connection_t *m_connection;
    bool m_ok = false;
};

inline double timeToMap(MapWatch &watch, const QByteArray &program, const QByteArray &workingDirectory)
{
    watch.drain();
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = spawn(program, workingDirectory, "xcb");
    watch.waitForMap();
    const double elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    end(pid);
    return elapsed;
}

} // namespace bench
