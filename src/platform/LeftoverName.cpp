#include "platform/LeftoverName.h"

#include "platform/FileTime.h"

#include <QCryptographicHash>

namespace leftovers {

namespace {

constexpr QByteArrayView kSuffix = ".tmp";
constexpr qsizetype kMaxName = 255;
constexpr qsizetype kDigestLength = 40;

QByteArray hex(quint64 number)
{
    return QByteArray::number(number, 16);
}

QByteArray escaped(const QByteArray &path)
{
    QByteArray out;
    out.reserve(path.size());
    for (const char c : path) {
        if (c == '/')
            out += "%2F";
        else if (c == '%')
            out += "%25";
        else
            out += c;
    }
    return out;
}

// The path escaped() wrote, or nothing for other text.
std::optional<QByteArray> unescaped(QByteArrayView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '/' || c == '\0')
            return std::nullopt;
        if (c != '%') {
            out += c;
            continue;
        }
        const QByteArrayView code = text.sliced(i).first(std::min<qsizetype>(3, text.size() - i));
        if (code == "%2F")
            out += '/';
        else if (code == "%25")
            out += '%';
        else
            return std::nullopt;
        i += 2;
    }
    return out;
}

// Reads a number as hex() writes it, at most maxDigits long, from the
// start of text; advances text past it.
std::optional<quint64> takeNumber(QByteArrayView &text, qsizetype maxDigits)
{
    qsizetype length = 0;
    while (length < text.size() && ((text[length] >= '0' && text[length] <= '9')
                                       || (text[length] >= 'a' && text[length] <= 'f')))
        ++length;
    if (length == 0 || length > maxDigits || (length > 1 && text[0] == '0'))
        return std::nullopt;
    bool ok = false;
    const quint64 number = text.first(length).toULongLong(&ok, 16);
    if (!ok)
        return std::nullopt;
    text = text.sliced(length);
    return number;
}

bool takeChar(QByteArrayView &text, char c)
{
    if (text.isEmpty() || text[0] != c)
        return false;
    text = text.sliced(1);
    return true;
}

bool isDigest(QByteArrayView text)
{
    if (text.size() != kDigestLength)
        return false;
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

std::optional<Leftover> parseCopy(QByteArrayView body)
{
    Leftover copy;
    const auto inode = takeNumber(body, 16);
    if (!inode || !takeChar(body, '-'))
        return std::nullopt;
    const auto stamp = takeNumber(body, 16);
    if (!stamp || !takeChar(body, '-'))
        return std::nullopt;
    const auto salt = takeNumber(body, 8);
    if (!salt)
        return std::nullopt;
    copy.inode = *inode;
    copy.stamp = *stamp;
    copy.salt = quint32(*salt);
    if (takeChar(body, '#')) {
        if (!isDigest(body))
            return std::nullopt;
        copy.digest = body.toByteArray();
        return copy;
    }
    if (!takeChar(body, '~'))
        return std::nullopt;
    const std::optional<QByteArray> path = unescaped(body);
    if (!path || !path->startsWith('/'))
        return std::nullopt;
    copy.path = *path;
    return copy;
}

std::optional<Leftover> parseRewrite(QByteArrayView body)
{
    Leftover rewrite;
    rewrite.kind = Leftover::Kind::Rewrite;
    const auto salt = takeNumber(body, 8);
    if (!salt)
        return std::nullopt;
    rewrite.salt = quint32(*salt);
    if (takeChar(body, '=')) {
        if (!isDigest(body))
            return std::nullopt;
        rewrite.digest = body.toByteArray();
        return rewrite;
    }
    if (!takeChar(body, '+') || body.isEmpty() || body == "." || body == ".." || body.contains('/')
        || body.contains('\0'))
        return std::nullopt;
    rewrite.path = body.toByteArray();
    return rewrite;
}

// The path when the name it makes fits, else its digest alone.
QByteArray nameFitting(Leftover leftover)
{
    const QByteArray name = nameOf(leftover);
    if (name.size() <= kMaxName)
        return name;
    leftover.digest = digestOf(leftover.path);
    leftover.path.clear();
    return nameOf(leftover);
}

} // namespace

QByteArray copyName(const struct stat &source, const QByteArray &sourcePath, quint32 salt)
{
    Leftover copy;
    copy.inode = quint64(source.st_ino);
    copy.stamp = quint64(filetime::stamp(source.st_mtim));
    copy.salt = salt;
    // Only an absolute path can be found again from another folder.
    if (sourcePath.startsWith('/'))
        copy.path = sourcePath;
    else
        copy.digest = digestOf(sourcePath);
    return nameFitting(copy);
}

QByteArray rewriteName(const QByteArray &targetName, quint32 salt)
{
    Leftover rewrite;
    rewrite.kind = Leftover::Kind::Rewrite;
    rewrite.salt = salt;
    rewrite.path = targetName;
    return nameFitting(rewrite);
}

std::optional<Leftover> parse(QByteArrayView name)
{
    if (!name.startsWith(kPrefix) || !name.endsWith(kSuffix))
        return std::nullopt;
    const qsizetype prefixLength = qsizetype(sizeof kPrefix) - 1;
    if (name.size() < prefixLength + kSuffix.size())
        return std::nullopt;
    const QByteArrayView body = name.sliced(prefixLength).chopped(kSuffix.size());
    if (std::optional<Leftover> copy = parseCopy(body))
        return copy;
    return parseRewrite(body);
}

QByteArray nameOf(const Leftover &leftover)
{
    QByteArray name = kPrefix;
    if (leftover.kind == Leftover::Kind::Copy) {
        name += hex(leftover.inode) + '-' + hex(leftover.stamp) + '-' + hex(leftover.salt);
        name += leftover.path.isEmpty() ? '#' + leftover.digest : '~' + escaped(leftover.path);
    } else {
        name += hex(leftover.salt);
        name += leftover.path.isEmpty() ? '=' + leftover.digest : '+' + leftover.path;
    }
    return name + kSuffix.toByteArray();
}

QByteArray digestOf(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

bool sameSource(const Leftover &copy, const struct stat &source)
{
    return copy.kind == Leftover::Kind::Copy && quint64(source.st_ino) == copy.inode
        && quint64(filetime::stamp(source.st_mtim)) == copy.stamp;
}

} // namespace leftovers
