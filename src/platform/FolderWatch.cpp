#include "platform/FolderWatch.h"

#include "platform/Paths.h"

#include <QSocketNotifier>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

FolderWatch::FolderWatch(QObject *parent)
    : QObject(parent)
{
}

FolderWatch::~FolderWatch() = default;

void FolderWatch::stop()
{
    if (m_watch >= 0)
        ::inotify_rm_watch(m_inotify.get(), m_watch);
    m_watch = -1;
    m_folder.clear();
}

bool FolderWatch::watch(const QByteArray &folder)
{
    stop();
    if (folder.isEmpty())
        return false;
    if (!m_inotify.isOpen()) {
        m_inotify = FileDescriptor(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
        if (!m_inotify.isOpen())
            return false;
        m_notifier = new QSocketNotifier(m_inotify.get(), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &FolderWatch::readEvents);
    }
    m_watch = ::inotify_add_watch(m_inotify.get(), folder.constData(), IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR);
    if (m_watch < 0)
        return false;
    m_folder = folder;
    return true;
}

void FolderWatch::readEvents()
{
    // Events of watches ended earlier (their IN_IGNORED) do not count.
    alignas(struct inotify_event) char buffer[4096];
    bool gone = false;
    for (;;) {
        const ssize_t length = ::read(m_inotify.get(), buffer, sizeof buffer);
        if (length <= 0)
            break;
        for (ssize_t at = 0; at < length;) {
            const auto *event = reinterpret_cast<const struct inotify_event *>(buffer + at);
            if (event->wd == m_watch && (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED)))
                gone = true;
            at += ssize_t(sizeof(struct inotify_event) + event->len);
        }
    }
    if (!gone)
        return;
    const QByteArray folder = m_folder;
    stop();
    emit vanished(folder);
}

QByteArray FolderWatch::nearestExisting(const QByteArray &path)
{
    QByteArray candidate = path;
    while (!candidate.isEmpty() && candidate != "/") {
        struct stat entry;
        if (::stat(candidate.constData(), &entry) == 0 && S_ISDIR(entry.st_mode))
            return candidate;
        candidate = paths::directoryPart(candidate);
    }
    return QByteArrayLiteral("/");
}
