#pragma once
// The names of the temporary files this program writes, and what such a
// name tells when a killed process has left the file behind.
//
// Each is hidden and ends in ".tmp", so that no media mask lists it:
//   .ondasort-<inode>-<stamp>-<salt>~<source path, "%" as %25, "/" as %2F>.tmp
//       a copy of the file at that path (its inode and time stamp then)
//   .ondasort-<inode>-<stamp>-<salt>#<digest of the source path>.tmp
//       the same where the path does not fit in a name
//   .ondasort-<salt>+<name>.tmp
//       a new version of the file <name> beside it, written whole
//   .ondasort-<salt>=<digest of the name>.tmp
//       the same where the name does not fit
// The numbers are lower-case hexadecimal without leading zeros; the stamp
// is filetime::stamp() as an unsigned number; the digest is the SHA-1 of
// the bytes in hexadecimal. Anything else, such as the
// ".ondasort-<salt>.<name>.tmp" of older builds, tells nothing and is no
// leftover of ours to judge.
#include <QByteArray>
#include <QByteArrayView>

#include <sys/stat.h>
#include <optional>

namespace leftovers {

inline constexpr char kPrefix[] = ".ondasort-";

struct Leftover
{
    enum class Kind { Copy, Rewrite };
    Kind kind = Kind::Copy;
    // A copy's source when the copy began.
    quint64 inode = 0;
    quint64 stamp = 0;
    quint32 salt = 0;
    // A copy: the source's path. A rewrite: the name of the file it replaces.
    // Empty when only its digest is known.
    QByteArray path;
    QByteArray digest;
};

// The name of a copy of the file at sourcePath, whose status is source.
QByteArray copyName(const struct stat &source, const QByteArray &sourcePath, quint32 salt);
// The name of a new version of the file named targetName.
QByteArray rewriteName(const QByteArray &targetName, quint32 salt);

// What a name says, or nothing for a name that is not one of the above
// exactly as they are written.
std::optional<Leftover> parse(QByteArrayView name);
// The name that says leftover: parse() of it gives leftover again.
QByteArray nameOf(const Leftover &leftover);

// The digest that stands for bytes that do not fit in a name.
QByteArray digestOf(QByteArrayView bytes);

// Whether a copy's source, examined now, is still the file it was.
bool sameSource(const Leftover &copy, const struct stat &source);

} // namespace leftovers
