#pragma once
// A real file system that stops answering when a test says so: a FUSE
// file system (libfuse3) mounted on a temporary folder, passing every call
// through to a temporary backing folder, whose calls of chosen kinds below
// a chosen folder wait until the test lets them go. The kernel asks it
// about every lookup, attribute, listing, read and write (nothing is
// cached), so a held call holds whoever made it, in the kernel, as a dead
// network share would.
//
// The file system is served by a program of its own (ondasort-held-fs),
// mounted as root on /dev/fuse: a caller held in the kernel can never hold
// up its own server. Whatever happens in the test, the destructor lets
// every held call go and unmounts (lazily, with fusermount3 as a further
// fallback), and a test that dies takes the server with it (its orders end),
// so no mount outlives the test. Where it cannot be mounted,
// isMounted() is false and whyNot() says why: tests skip then.
#include <QByteArray>
#include <QString>

#include <memory>

class HeldFileSystem
{
public:
    // Kinds of calls that can be held.
    enum Calls : unsigned {
        Lookups = 1,  // an entry's attributes (every stat and path walk)
        Listings = 2, // reading a folder
        Reads = 4,
        Writes = 8, // writing, creating, flushing to disk
        Renames = 16,
        Everything = 31,
    };

    HeldFileSystem();
    ~HeldFileSystem();
    HeldFileSystem(const HeldFileSystem &) = delete;
    HeldFileSystem &operator=(const HeldFileSystem &) = delete;

    bool isMounted() const;
    QString whyNot() const;

    // Where it is mounted, and the folder behind it.
    QByteArray mountPoint() const;
    QByteArray backing() const;

    // From now on, calls of the kinds in `calls` on `folder` (a path below
    // the mount point, "/" for the whole file system) or anything below it
    // wait; the first `passing` of them still go through (to hold a copy
    // half-way).
    void hold(const QByteArray &folder, unsigned calls, int passing = 0);
    // Lets every waiting call go, and holds nothing more.
    void release();
    // Calls waiting now; waits up to timeoutMs for at least one.
    int heldCalls() const;
    bool waitForHeldCall(int timeoutMs = 15000) const;

private:
    struct State;
    void unmount();

    std::unique_ptr<State> m_state;
};
