#include "platform/ProfileFile.h"

#include "platform/FileOperations.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/ProfileText.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

QByteArrayView withoutBlanks(QByteArrayView text)
{
    while (!text.isEmpty() && (text.front() == ' ' || text.front() == '\t'))
        text = text.sliced(1);
    while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\t'))
        text.chop(1);
    return text;
}

// The value as it is handed out: blanks and one pair of quotes removed, capped.
QByteArray cleanValue(QByteArrayView raw)
{
    QByteArrayView value = withoutBlanks(raw);
    if (value.size() >= 2 && value.front() == value.back()
        && (value.front() == '"' || value.front() == '\'')) {
        value = value.sliced(1, value.size() - 2);
    }
    return value.first(std::min(value.size(), ProfileFile::kMaxValueLength)).toByteArray();
}

// Names that would break the file's structure are refused.
bool validName(QByteArrayView name, char forbidden)
{
    if (withoutBlanks(name).isEmpty())
        return false;
    for (char c : name) {
        if (c == '\n' || c == '\r' || c == '\0' || c == forbidden)
            return false;
    }
    return true;
}

// A value ends at its first line break: the format has no way to hold one,
// and writing it would forge further lines.
QByteArrayView singleLine(QByteArrayView value)
{
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == '\n' || value[i] == '\r' || value[i] == '\0')
            return value.first(i);
    }
    return value;
}

} // namespace

ProfileFile::ProfileFile(QByteArray path)
    : ProfileFile(std::move(path), FileSystem::posix())
{
}

ProfileFile::ProfileFile(QByteArray path, FileSystem &fileSystem)
    : m_path(std::move(path))
    , m_fs(fileSystem)
{
}

std::optional<QByteArray> ProfileFile::load(int *error) const
{
    *error = 0;
    const int fd = m_fs.open(m_path.constData(), O_RDONLY, 0);
    if (fd < 0) {
        *error = errno;
        return std::nullopt;
    }
    QByteArray bytes;
    char buffer[16384];
    for (;;) {
        const ssize_t got = m_fs.read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            *error = errno;
            m_fs.close(fd);
            return std::nullopt;
        }
        if (got == 0)
            break;
        bytes.append(buffer, got);
    }
    m_fs.close(fd);
    return bytes;
}

QByteArray ProfileFile::readString(QByteArrayView section, QByteArrayView key,
    const QByteArray &defaultValue) const
{
    int error = 0;
    const std::optional<QByteArray> bytes = load(&error);
    if (!bytes)
        return defaultValue;
    const std::optional<QByteArray> raw = ProfileText(*bytes).rawValue(section, key);
    return raw ? cleanValue(*raw) : defaultValue;
}

std::optional<int> ProfileFile::readInteger(QByteArrayView section, QByteArrayView key) const
{
    int error = 0;
    const std::optional<QByteArray> bytes = load(&error);
    if (!bytes)
        return std::nullopt;
    const std::optional<QByteArray> raw = ProfileText(*bytes).rawValue(section, key);
    if (!raw)
        return std::nullopt;
    return parseInteger(cleanValue(*raw));
}

int ProfileFile::readInteger(QByteArrayView section, QByteArrayView key, int defaultValue) const
{
    return readInteger(section, key).value_or(defaultValue);
}

bool ProfileFile::readBool(QByteArrayView section, QByteArrayView key, bool defaultValue) const
{
    const std::optional<int> value = readInteger(section, key);
    return value ? *value != 0 : defaultValue;
}

QList<QByteArray> ProfileFile::keys(QByteArrayView section) const
{
    int error = 0;
    const std::optional<QByteArray> bytes = load(&error);
    return bytes ? ProfileText(*bytes).keys(section) : QList<QByteArray>();
}

QList<QByteArray> ProfileFile::sections() const
{
    int error = 0;
    const std::optional<QByteArray> bytes = load(&error);
    return bytes ? ProfileText(*bytes).sections() : QList<QByteArray>();
}

std::optional<int> ProfileFile::parseInteger(QByteArrayView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return std::nullopt;

    // Decimal must fit a signed 32-bit value; hexadecimal may use all 32 bits.
    const quint64 limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    quint64 magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return std::nullopt;
    }
    const quint32 bits = quint32(magnitude);
    return negative ? int(quint32(0) - bits) : int(bits);
}

bool ProfileFile::writeString(QByteArrayView section, QByteArrayView key, QByteArrayView value)
{
    return rewrite(section, key, singleLine(value).toByteArray());
}

bool ProfileFile::writeInteger(QByteArrayView section, QByteArrayView key, int value)
{
    return rewrite(section, key, QByteArray::number(value));
}

bool ProfileFile::writeBool(QByteArrayView section, QByteArrayView key, bool value)
{
    return rewrite(section, key, value ? QByteArrayLiteral("1") : QByteArrayLiteral("0"));
}

bool ProfileFile::deleteKey(QByteArrayView section, QByteArrayView key)
{
    return rewrite(section, key, std::nullopt);
}

bool ProfileFile::deleteSection(QByteArrayView section)
{
    return rewrite(section, QByteArrayView(), std::nullopt);
}

int ProfileFile::checkWritable() const
{
    // Writing replaces the file by a rename, which a read-only file would not
    // stop; so it is refused here, for the owner as for anyone else.
    struct stat status {};
    if (m_fs.stat(m_path.constData(), &status) == 0) {
        if (!S_ISREG(status.st_mode))
            return S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
        if (!(status.st_mode & S_IWUSR) || m_fs.access(m_path.constData(), W_OK) != 0)
            return EACCES;
    } else if (errno != ENOENT) {
        return errno;
    }
    // The folder of the file itself, through a link if the path is one.
    QByteArray folder = paths::directoryPart(m_path);
    char resolved[PATH_MAX];
    if (::realpath(m_path.constData(), resolved))
        folder = paths::directoryPart(QByteArray(resolved));
    if (folder.isEmpty())
        folder = ".";
    if (m_fs.access(folder.constData(), W_OK | X_OK) != 0)
        return errno ? errno : EACCES;
    return 0;
}

bool ProfileFile::rewrite(QByteArrayView section, QByteArrayView key,
    const std::optional<QByteArray> &value)
{
    m_error = 0;
    const bool wholeSection = key.isNull() && !value;
    if (!validName(section, ']') || (!wholeSection && !validName(key, '='))) {
        m_error = EINVAL;
        return false;
    }
    if ((m_error = checkWritable()) != 0)
        return false;

    int error = 0;
    std::optional<QByteArray> bytes = load(&error);
    // A file that exists but cannot be read must not be replaced by a new one.
    if (!bytes && error != ENOENT) {
        m_error = error;
        return false;
    }
    ProfileText text(bytes.value_or(QByteArray()));
    if (value)
        text.setValue(section, key, *value);
    else if (wholeSection)
        text.removeSection(section);
    else
        text.removeKey(section, key);
    // Nothing to change (a missing file stays missing when nothing is added).
    if (text.text() == bytes.value_or(QByteArray()))
        return true;

    FileOperations operations(m_fs);
    if (const std::error_code failure = operations.writeWhole(m_path, text.text())) {
        m_error = failure.value();
        return false;
    }
    return true;
}
