#include "support/HeldFileSystem.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <climits>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The file systems of a program that uses this one are mounted where only
// that program and what it starts see them: tests running beside it in
// other processes list the machine's volumes (the tree's Computer node
// probes each), and a mount held here would hold their listing too. Done
// before main, while the process has one thread: a thread keeps the mount
// namespace it was started in. Without the right to do it, mounts are
// shared as before.
const bool g_ownMounts = [] {
    if (::unshare(CLONE_NEWNS) != 0)
        return false;
    // Nothing mounted here travels back to the machine's namespace.
    return ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}();

} // namespace

struct HeldFileSystem::State
{
    QTemporaryDir backingDir;
    QTemporaryDir mountDir;
    QByteArray backing;
    QByteArray mountPoint;
    QString whyNot;
    QProcess server;
    bool mounted = false;

    QByteArray readLine()
    {
        while (!server.canReadLine()) {
            if (!server.waitForReadyRead(5000))
                return QByteArray();
        }
        return server.readLine().trimmed();
    }

    // Sends an order and reads the server's answer.
    QByteArray order(const QByteArray &line)
    {
        if (!mounted)
            return QByteArray();
        server.write(line + '\n');
        server.waitForBytesWritten(5000);
        return readLine();
    }
};

HeldFileSystem::HeldFileSystem()
    : m_state(std::make_unique<State>())
{
    State &s = *m_state;
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        s.whyNot = QStringLiteral("/dev/fuse is missing or not usable here (%1): no FUSE file system can be mounted")
                       .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    if (!s.backingDir.isValid() || !s.mountDir.isValid()) {
        s.whyNot = QStringLiteral("no temporary folders for the FUSE file system");
        return;
    }
    s.backing = QFile::encodeName(s.backingDir.path());
    s.mountPoint = QFile::encodeName(s.mountDir.path());
    s.server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    s.server.start(QStringLiteral(ONDASORT_HELD_FS_SERVER), {s.backingDir.path(), s.mountDir.path()});
    if (!s.server.waitForStarted(5000)) {
        s.whyNot = QStringLiteral("the FUSE server %1 did not start").arg(QStringLiteral(ONDASORT_HELD_FS_SERVER));
        return;
    }
    const QByteArray answer = s.readLine();
    s.mounted = answer == "mounted";
    if (!s.mounted)
        s.whyNot = answer.isEmpty() ? QStringLiteral("the FUSE server gave no answer") : QString::fromUtf8(answer);
}

HeldFileSystem::~HeldFileSystem()
{
    unmount();
}

void HeldFileSystem::unmount()
{
    State &s = *m_state;
    if (s.server.state() == QProcess::NotRunning)
        return;
    // A working directory inside would keep the file system busy.
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd) && QByteArray(cwd).startsWith(s.mountPoint))
        [[maybe_unused]] const int ignored = ::chdir("/");
    s.server.closeWriteChannel();
    if (!s.server.waitForFinished(5000)) {
        s.server.kill();
        s.server.waitForFinished(5000);
    }
    // Whatever happened to the server, the mount goes.
    if (::umount2(s.mountPoint.constData(), MNT_DETACH) != 0 && errno != EINVAL && errno != ENOENT) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::execlp("fusermount3", "fusermount3", "-u", "-z", s.mountPoint.constData(), static_cast<char *>(nullptr));
            ::_exit(127);
        }
        if (pid > 0)
            ::waitpid(pid, nullptr, 0);
    }
    s.mounted = false;
}

bool HeldFileSystem::isMounted() const
{
    return m_state->mounted;
}

QString HeldFileSystem::whyNot() const
{
    return m_state->whyNot;
}

QByteArray HeldFileSystem::mountPoint() const
{
    return m_state->mountPoint;
}

QByteArray HeldFileSystem::backing() const
{
    return m_state->backing;
}

void HeldFileSystem::hold(const QByteArray &folder, unsigned calls, int passing)
{
    m_state->order("hold " + QByteArray::number(calls) + ' ' + QByteArray::number(passing) + ' '
        + (folder.isEmpty() ? QByteArray("/") : folder));
}

void HeldFileSystem::release()
{
    m_state->order("release");
}

int HeldFileSystem::heldCalls() const
{
    return m_state->order("waiting").toInt();
}

bool HeldFileSystem::waitForHeldCall(int timeoutMs) const
{
    QElapsedTimer waited;
    waited.start();
    while (heldCalls() == 0) {
        if (waited.elapsed() > timeoutMs)
            return false;
        QThread::msleep(5);
    }
    return true;
}
