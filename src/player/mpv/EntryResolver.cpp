#include "player/mpv/EntryResolver.h"

#include "player/mpv/MediaSource.h"

EntryResolver::EntryResolver(QObject *parent)
    : QObject(parent)
{
    // One expansion at a time; a superseded one that has not started is dropped.
    m_pool.setMaxThreadCount(1);
}

EntryResolver::~EntryResolver()
{
    cancel();
    m_pool.waitForDone();
}

void EntryResolver::cancel()
{
    m_latest->fetch_add(1);
    m_pool.clear();
    m_pending = false;
}

void EntryResolver::resolve(const QByteArray &path)
{
    cancel();
    const quint64 request = m_latest->load();
    m_pending = true;
    // The working directory is the caller's now, not whatever it is later.
    const QByteArray file = MediaSource::absolutePath(path);
    std::shared_ptr<std::atomic<quint64>> latest = m_latest;
    m_pool.start([this, file, request, latest] {
        const auto superseded = [&] { return latest->load() != request; };
        if (superseded())
            return;
        const QByteArrayList entries = MediaSource::mpvEntries(file, MediaSource::Limits(), superseded);
        if (superseded())
            return;
        // This object outlives the work (its destructor waits for it), and
        // an event posted to it is dropped if it goes before the event runs.
        QMetaObject::invokeMethod(this, [this, file, request, entries] {
            if (m_latest->load() != request)
                return;
            m_pending = false;
            emit resolved(file, entries);
        }, Qt::QueuedConnection);
    });
}
