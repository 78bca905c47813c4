#include "settings/ProfileFile.h"

#include "platform/FileOperations.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "settings/ProfileText.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
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

// Names that would break the file's structure, or could not be read back
// (a key line starting with ";" is a comment, with "[" no entry), are refused.
bool validName(QByteArrayView name, char forbidden)
{
    const QByteArrayView trimmed = ProfileText::trimmedName(name);
    if (trimmed.isEmpty() || (forbidden == '=' && (trimmed.front() == ';' || trimmed.front() == '[')))
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

ProfileSnapshot::ProfileSnapshot(QByteArray text, regularfile::Outcome outcome, int error)
    : m_text(std::move(text))
    , m_outcome(outcome)
    , m_error(error)
{
}

QByteArray ProfileSnapshot::readString(QByteArrayView section, QByteArrayView key,
    const QByteArray &defaultValue) const
{
    const std::optional<QByteArray> raw = m_text.rawValue(section, key);
    return raw ? ProfileFile::cleanValue(*raw) : defaultValue;
}

std::optional<int> ProfileSnapshot::readInteger(QByteArrayView section, QByteArrayView key) const
{
    const std::optional<QByteArray> raw = m_text.rawValue(section, key);
    if (!raw)
        return std::nullopt;
    return ProfileFile::parseInteger(ProfileFile::cleanValue(*raw));
}

int ProfileSnapshot::readInteger(QByteArrayView section, QByteArrayView key, int defaultValue) const
{
    return readInteger(section, key).value_or(defaultValue);
}

bool ProfileSnapshot::readBool(QByteArrayView section, QByteArrayView key, bool defaultValue) const
{
    const std::optional<int> value = readInteger(section, key);
    return value ? *value != 0 : defaultValue;
}

QList<QByteArray> ProfileSnapshot::keys(QByteArrayView section) const
{
    return m_text.keys(section);
}

QList<QByteArray> ProfileSnapshot::sections() const
{
    return m_text.sections();
}

ProfileChanges &ProfileChanges::writeString(QByteArrayView section, QByteArrayView key, QByteArrayView value)
{
    m_changes.push_back({Kind::Write, section.toByteArray(), key.toByteArray(),
        singleLine(value).toByteArray(), {}});
    return *this;
}

ProfileChanges &ProfileChanges::writeInteger(QByteArrayView section, QByteArrayView key, int value)
{
    return writeString(section, key, QByteArray::number(value));
}

ProfileChanges &ProfileChanges::writeBool(QByteArrayView section, QByteArrayView key, bool value)
{
    return writeString(section, key, value ? QByteArrayView("1") : QByteArrayView("0"));
}

ProfileChanges &ProfileChanges::deleteKey(QByteArrayView section, QByteArrayView key)
{
    m_changes.push_back({Kind::DeleteKey, section.toByteArray(), key.toByteArray(), {}, {}});
    return *this;
}

ProfileChanges &ProfileChanges::deleteSection(QByteArrayView section)
{
    m_changes.push_back({Kind::DeleteSection, section.toByteArray(), {}, {}, {}});
    return *this;
}

ProfileChanges &ProfileChanges::replaceSection(QByteArrayView section, std::vector<Entry> entries)
{
    for (Entry &entry : entries)
        entry.second = singleLine(entry.second).toByteArray();
    m_changes.push_back({Kind::ReplaceSection, section.toByteArray(), {}, {}, std::move(entries)});
    return *this;
}

bool ProfileChanges::validNames(QByteArrayView section, QByteArrayView key)
{
    return validName(section, ']') && validName(key, '=');
}

bool ProfileChanges::valid() const
{
    for (const Change &change : m_changes) {
        if (!validName(change.section, ']'))
            return false;
        if ((change.kind == Kind::Write || change.kind == Kind::DeleteKey) && !validName(change.key, '='))
            return false;
        for (const Entry &entry : change.entries) {
            if (!validName(entry.first, '='))
                return false;
        }
    }
    return true;
}

void ProfileChanges::applyTo(ProfileText &text) const
{
    for (const Change &change : m_changes) {
        switch (change.kind) {
        case Kind::Write:
            text.setValue(change.section, change.key, change.value);
            break;
        case Kind::DeleteKey:
            text.removeKey(change.section, change.key);
            break;
        case Kind::DeleteSection:
            text.removeSection(change.section);
            break;
        case Kind::ReplaceSection:
            text.replaceSection(change.section, change.entries);
            break;
        }
    }
}

ProfileFile::ProfileFile(QByteArray path)
    : ProfileFile(std::move(path), FileSystem::posix())
{
}

ProfileFile::ProfileFile(QByteArray path, FileSystem &fileSystem)
    : m_path(std::move(path))
    , m_fs(fileSystem)
{
}

ProfileSnapshot ProfileFile::snapshot() const
{
    regularfile::Contents contents = regularfile::read(m_path, kMaxFileSize, m_fs);
    return ProfileSnapshot(std::move(contents.bytes), contents.outcome, contents.error);
}

QByteArray ProfileFile::readString(QByteArrayView section, QByteArrayView key,
    const QByteArray &defaultValue) const
{
    return snapshot().readString(section, key, defaultValue);
}

std::optional<int> ProfileFile::readInteger(QByteArrayView section, QByteArrayView key) const
{
    return snapshot().readInteger(section, key);
}

int ProfileFile::readInteger(QByteArrayView section, QByteArrayView key, int defaultValue) const
{
    return snapshot().readInteger(section, key, defaultValue);
}

bool ProfileFile::readBool(QByteArrayView section, QByteArrayView key, bool defaultValue) const
{
    return snapshot().readBool(section, key, defaultValue);
}

QList<QByteArray> ProfileFile::keys(QByteArrayView section) const
{
    return snapshot().keys(section);
}

QList<QByteArray> ProfileFile::sections() const
{
    return snapshot().sections();
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

QByteArray ProfileFile::cleanValue(QByteArrayView raw)
{
    QByteArrayView value = withoutBlanks(raw);
    if (value.size() >= 2 && value.front() == value.back()
        && (value.front() == '"' || value.front() == '\'')) {
        value = value.sliced(1, value.size() - 2);
    }
    return value.first(std::min(value.size(), kMaxValueLength)).toByteArray();
}

bool ProfileFile::writeString(QByteArrayView section, QByteArrayView key, QByteArrayView value)
{
    return write(ProfileChanges().writeString(section, key, value));
}

bool ProfileFile::writeInteger(QByteArrayView section, QByteArrayView key, int value)
{
    return write(ProfileChanges().writeInteger(section, key, value));
}

bool ProfileFile::writeBool(QByteArrayView section, QByteArrayView key, bool value)
{
    return write(ProfileChanges().writeBool(section, key, value));
}

bool ProfileFile::deleteKey(QByteArrayView section, QByteArrayView key)
{
    return write(ProfileChanges().deleteKey(section, key));
}

bool ProfileFile::deleteSection(QByteArrayView section)
{
    return write(ProfileChanges().deleteSection(section));
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

bool ProfileFile::write(const ProfileChanges &changes)
{
    m_error = 0;
    if (!changes.valid()) {
        m_error = EINVAL;
        return false;
    }
    if ((m_error = checkWritable()) != 0)
        return false;

    const regularfile::Contents contents = regularfile::read(m_path, kMaxFileSize, m_fs);
    // A file that exists but cannot be read must not be replaced by a new one.
    switch (contents.outcome) {
    case regularfile::Outcome::Read:
    case regularfile::Outcome::Missing:
        break;
    case regularfile::Outcome::NotRegular:
        m_error = EINVAL;
        return false;
    case regularfile::Outcome::TooLarge:
        m_error = EFBIG;
        return false;
    case regularfile::Outcome::Unreadable:
        m_error = contents.error ? contents.error : EIO;
        return false;
    }
    ProfileText text(contents.bytes);
    changes.applyTo(text);
    // Nothing to change (a missing file stays missing when nothing is added).
    if (text.text() == contents.bytes)
        return true;

    FileOperations operations(m_fs);
    if (const std::error_code failure = operations.writeWhole(m_path, text.text())) {
        m_error = failure.value();
        return false;
    }
    return true;
}
