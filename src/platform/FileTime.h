#pragma once
// A file's modification time as one 64-bit number, for telling whether a
// file has changed since it was last seen.
#include <QtGlobal>

#include <ctime>

namespace filetime {

// Nanoseconds since 1970: exact from 1678 to 2262, and outside that range
// (a file dated 2300, say) taken modulo 2^64 instead of overflowing, so
// that every file still has a stamp that changes whenever its time does.
// Compare stamps for equality only; they are no dates.
inline qint64 stamp(const struct timespec &time)
{
    const quint64 nanoseconds = quint64(qint64(time.tv_sec)) * 1000000000u + quint64(time.tv_nsec);
    return qint64(nanoseconds);
}

} // namespace filetime
