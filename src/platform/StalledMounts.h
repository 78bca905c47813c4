#pragma once
// The mounts that do not answer now: those with a call on them that has
// outlasted its caller's patience and is still under way. A caller that
// would touch such a mount does not wait for an answer before it goes on.
#include <QByteArrayList>

#include <memory>
#include <mutex>

namespace stalledmounts {

// The mount points that hold paths (absolute, or relative to the working
// directory), judged by the mount table and the paths' text.
QByteArrayList mountsOf(const QByteArrayList &paths);

// Whether any of the mount points has a call that does not answer.
bool anyStalled(const QByteArrayList &mounts);

// One call's mark on its mounts, shared by the caller and the worker: the
// caller marks the mounts stalled when it stops waiting, the worker ends
// the mark when the call returns, whichever comes first decides.
class Mark
{
public:
    explicit Mark(QByteArrayList mounts);
    // On the caller's thread, once it has stopped waiting.
    void stall();
    // On the worker's thread, once the call has returned.
    void answered();

private:
    std::mutex m_mutex;
    QByteArrayList m_mounts;
    bool m_stalled = false;
    bool m_answered = false;
};

} // namespace stalledmounts
