#pragma once
// Works out, off the GUI thread, what libmpv should load for a path
// (MediaSource::mpvEntries): reading a playlist, or even opening a file on a
// slow disk, never holds up the window.
//
// One request counts at a time: a newer resolve() or a cancel() supersedes
// a pending one, whose work stops early and whose result is dropped. The
// result arrives as a signal on the thread this object lives on. Destroying
// the object stops the work and waits for it (bounded by MediaSource's
// limits); no result arrives afterwards.
#include <QByteArray>
#include <QByteArrayList>
#include <QObject>
#include <QThreadPool>

#include <atomic>
#include <memory>

class EntryResolver : public QObject
{
    Q_OBJECT

public:
    explicit EntryResolver(QObject *parent = nullptr);
    ~EntryResolver() override;

    void resolve(const QByteArray &path);
    void cancel();
    bool isPending() const { return m_pending; }

signals:
    // The entries for the latest request, in playing order; empty when
    // nothing in it can be played.
    void resolved(const QByteArray &path, const QByteArrayList &entries);

private:
    QThreadPool m_pool;
    // The number of the latest request, shared with the work in flight.
    std::shared_ptr<std::atomic<quint64>> m_latest = std::make_shared<std::atomic<quint64>>(0);
    bool m_pending = false;
};
