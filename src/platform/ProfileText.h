#pragma once
// The text of a profile file in memory: finds sections and entries and edits
// them while leaving every other byte where it was. ProfileFile does the
// file handling around it.
#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>
#include <vector>

class ProfileText
{
public:
    explicit ProfileText(QByteArray text = QByteArray());

    const QByteArray &text() const { return m_text; }

    // The raw value after "=" of the first matching entry, untrimmed.
    std::optional<QByteArray> rawValue(QByteArrayView section, QByteArrayView key) const;
    QList<QByteArray> keys(QByteArrayView section) const;
    QList<QByteArray> sections() const;

    void setValue(QByteArrayView section, QByteArrayView key, QByteArrayView value);
    void removeKey(QByteArrayView section, QByteArrayView key);
    void removeSection(QByteArrayView section);

    static bool sameName(QByteArrayView a, QByteArrayView b);

private:
    enum class Kind { Other, Section, Entry };
    struct Line {
        qsizetype begin = 0;  // first byte
        qsizetype end = 0;    // just before the line break
        qsizetype next = 0;   // first byte of the following line
        Kind kind = Kind::Other;
        QByteArray name;      // section or key name, trimmed
        qsizetype equals = 0; // position of "=" in an entry
    };

    void parse();
    QByteArray lineBreak() const;
    // Index of the first line of each section named so, or of all of them.
    std::vector<size_t> sectionHeaders(QByteArrayView section) const;
    // Indices of the entries named key inside sections named section.
    std::vector<size_t> entries(QByteArrayView section, QByteArrayView key) const;
    void removeLines(const std::vector<std::pair<qsizetype, qsizetype>> &ranges);

    QByteArray m_text;
    std::vector<Line> m_lines;
};
