#pragma once
// A settings file in the profile text format: "[Section]" lines opening
// sections and "key=value" entry lines.
//
// Reading: section and key names match without regard to letter case; a
// value loses its surrounding blanks and one pair of enclosing quotes
// (single or double) and is at most kMaxValueLength bytes; a missing file,
// section or key gives the caller's default. Only a regular file of at most
// kMaxFileSize bytes is read, opened without waiting, so a FIFO or a device
// in its place never holds the program up; anything else reads as empty
// and is never overwritten.
//
// Writing: an existing key is updated in place, a missing key is added
// after the last entry of its section, a missing section at the end of the
// file; every other line keeps its bytes. Each write rewrites the whole file
// through a temporary file and a rename, so the file is complete on disk
// when the call returns and a crash never leaves it cut short. A read-only
// file, or one in a folder that cannot be written, is refused and left
// untouched. Several changes go in one rewrite with write(ProfileChanges).
//
// ProfileFile's own reads read the file afresh, so several objects (the
// main window, a history combo box) can share one file; snapshot() reads it
// once for many reads. Bytes are kept as they are: names and values are not
// re-encoded.
#include "settings/ProfileText.h"
#include "platform/RegularFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>
#include <vector>

class FileSystem;

// The entries of a settings file as read at one moment.
class ProfileSnapshot
{
public:
    explicit ProfileSnapshot(QByteArray text = QByteArray(),
        regularfile::Outcome outcome = regularfile::Outcome::Missing, int error = 0);

    // Whether the file was read, missing, or refused (and why).
    regularfile::Outcome outcome() const { return m_outcome; }
    int error() const { return m_error; }

    QByteArray readString(QByteArrayView section, QByteArrayView key,
        const QByteArray &defaultValue = QByteArray()) const;
    // nullopt when the key is missing or its value is not an integer.
    std::optional<int> readInteger(QByteArrayView section, QByteArrayView key) const;
    int readInteger(QByteArrayView section, QByteArrayView key, int defaultValue) const;
    // An integer; any non-zero value is true.
    bool readBool(QByteArrayView section, QByteArrayView key, bool defaultValue) const;

    // The keys of a section in file order (first spelling of each), and the
    // names of all sections.
    QList<QByteArray> keys(QByteArrayView section) const;
    QList<QByteArray> sections() const;

private:
    ProfileText m_text;
    regularfile::Outcome m_outcome;
    int m_error;
};

// Changes for one rewrite of a settings file, applied in their order. The
// file ends up exactly as the same writes made one by one would leave it.
class ProfileChanges
{
public:
    using Entry = ProfileText::Entry;

    // A value is written up to its first line break, which the format
    // cannot hold. Integers as signed decimal, booleans as "1" or "0".
    ProfileChanges &writeString(QByteArrayView section, QByteArrayView key, QByteArrayView value);
    ProfileChanges &writeInteger(QByteArrayView section, QByteArrayView key, int value);
    ProfileChanges &writeBool(QByteArrayView section, QByteArrayView key, bool value);
    ProfileChanges &deleteKey(QByteArrayView section, QByteArrayView key);
    ProfileChanges &deleteSection(QByteArrayView section);
    // The section afterwards holds exactly these entries in this order (see
    // ProfileText::replaceSection); an empty list deletes it.
    ProfileChanges &replaceSection(QByteArrayView section, std::vector<Entry> entries);

    bool isEmpty() const { return m_changes.empty(); }

    // Whether an entry can be written under these names and read back: no
    // line breaks or NULs, no "]" in a section, no "=" in a key, neither
    // blank, and no key starting with ";" (a comment) or "[".
    static bool validNames(QByteArrayView section, QByteArrayView key);

private:
    friend class ProfileFile;
    enum class Kind { Write, DeleteKey, DeleteSection, ReplaceSection };
    struct Change
    {
        Kind kind;
        QByteArray section;
        QByteArray key;
        QByteArray value;
        std::vector<Entry> entries;
    };
    // Whether every name can be written without breaking the format.
    bool valid() const;
    void applyTo(ProfileText &text) const;

    std::vector<Change> m_changes;
};

class ProfileFile
{
public:
    static constexpr qsizetype kMaxValueLength = 2047;
    // Far beyond any real settings file; a bigger one is not read.
    static constexpr qint64 kMaxFileSize = qint64(16) << 20;

    explicit ProfileFile(QByteArray path);
    ProfileFile(QByteArray path, FileSystem &fileSystem);

    const QByteArray &path() const { return m_path; }

    // The whole file, read once.
    ProfileSnapshot snapshot() const;

    QByteArray readString(QByteArrayView section, QByteArrayView key,
        const QByteArray &defaultValue = QByteArray()) const;
    std::optional<int> readInteger(QByteArrayView section, QByteArrayView key) const;
    int readInteger(QByteArrayView section, QByteArrayView key, int defaultValue) const;
    bool readBool(QByteArrayView section, QByteArrayView key, bool defaultValue) const;
    QList<QByteArray> keys(QByteArrayView section) const;
    QList<QByteArray> sections() const;

    // Each returns false when the file could not be written; error() then
    // tells why (an errno value) and the file is as it was: no change of a
    // batch is written unless all are.
    bool write(const ProfileChanges &changes);
    bool writeString(QByteArrayView section, QByteArrayView key, QByteArrayView value);
    bool writeInteger(QByteArrayView section, QByteArrayView key, int value);
    bool writeBool(QByteArrayView section, QByteArrayView key, bool value);
    bool deleteKey(QByteArrayView section, QByteArrayView key);
    bool deleteSection(QByteArrayView section);

    int error() const { return m_error; }

    // The integer reading rules on their own: optional leading blanks, an
    // optional sign, then decimal digits or hexadecimal digits after "$"
    // ("0x" and "0X" count as "$"); the whole text must be used and fit in
    // 32 bits.
    static std::optional<int> parseInteger(QByteArrayView text);
    // A raw value as it is handed out: blanks and one pair of quotes
    // removed, capped at kMaxValueLength.
    static QByteArray cleanValue(QByteArrayView raw);

private:
    int checkWritable() const;

    QByteArray m_path;
    FileSystem &m_fs;
    int m_error = 0;
};
