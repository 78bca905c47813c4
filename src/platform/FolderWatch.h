#pragma once
// Tells when one folder stops being there: deleted, moved away or its file
// system unmounted. Only that: what happens inside the folder is not watched.
//
// The folder is named by its bytes (names need not be UTF-8), and watched
// through one inotify instance per object, opened at the first watch; the
// event arrives on the thread that owns the object.
#include "platform/FileDescriptor.h"

#include <QByteArray>
#include <QObject>

class QSocketNotifier;

class FolderWatch : public QObject
{
    Q_OBJECT

public:
    explicit FolderWatch(QObject *parent = nullptr);
    ~FolderWatch() override;

    // Watches `folder` from now on instead of any earlier one; "" stops
    // watching. False when the folder cannot be watched (missing, not a
    // folder, no inotify).
    bool watch(const QByteArray &folder);
    QByteArray folder() const { return m_folder; }

    // The nearest folder at or above `path` that exists ("/" at the latest).
    static QByteArray nearestExisting(const QByteArray &path);

signals:
    // The watched folder is gone; the watch has ended.
    void vanished(const QByteArray &folder);

private:
    void readEvents();
    void stop();

    FileDescriptor m_inotify;
    QSocketNotifier *m_notifier = nullptr;
    int m_watch = -1;
    QByteArray m_folder;
};
