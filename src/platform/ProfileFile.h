#pragma once
// A settings file in the profile text format: "[Section]" lines opening
// sections and "key=value" entry lines.
//
// Reading: section and key names match without regard to letter case; a
// value loses its surrounding blanks and one pair of enclosing quotes
// (single or double) and is at most kMaxValueLength bytes; a missing file,
// section or key gives the caller's default. Writing: an existing key is
// updated in place, a missing key is added after the last entry of its
// section, a missing section at the end of the file; every other line keeps
// its bytes. Each write rewrites the whole file through a temporary file and
// a rename, so the file is complete on disk when the call returns and a
// crash never leaves it cut short. A read-only file, or one in a folder that
// cannot be written, is refused and left untouched.
//
// Every call reads the file afresh, so several objects (the main window, a
// history combo box) can share one file. Bytes are kept as they are: names
// and values are not re-encoded.
#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

class FileSystem;

class ProfileFile
{
public:
    static constexpr qsizetype kMaxValueLength = 2047;

    explicit ProfileFile(QByteArray path);
    ProfileFile(QByteArray path, FileSystem &fileSystem);

    const QByteArray &path() const { return m_path; }

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

    // Each returns false when the file could not be written; error() then
    // tells why (an errno value) and the file is as it was. A value is
    // written up to its first line break, which the format cannot hold.
    bool writeString(QByteArrayView section, QByteArrayView key, QByteArrayView value);
    bool writeInteger(QByteArrayView section, QByteArrayView key, int value);
    // Written as "1" or "0".
    bool writeBool(QByteArrayView section, QByteArrayView key, bool value);
    bool deleteKey(QByteArrayView section, QByteArrayView key);
    bool deleteSection(QByteArrayView section);

    int error() const { return m_error; }

    // The integer reading rules on their own: optional leading blanks, an
    // optional sign, then decimal digits or hexadecimal digits after "$"
    // ("0x" and "0X" count as "$"); the whole text must be used and fit in
    // 32 bits.
    static std::optional<int> parseInteger(QByteArrayView text);

private:
    std::optional<QByteArray> load(int *error) const;
    bool rewrite(QByteArrayView section, QByteArrayView key,
        const std::optional<QByteArray> &value);
    int checkWritable() const;

    QByteArray m_path;
    FileSystem &m_fs;
    int m_error = 0;
};
