#pragma once
// The text of a profile file in memory: finds sections and entries and edits
// them while leaving every other byte where it was. ProfileFile does the
// file handling around it.
//
// Reading the text is one pass over its lines, whatever they hold. A line
// ends at "\n" (a "\r" before it belongs to the break); a lone "\r" is no
// line end, so an entry added after a last line that ends in one gets a real
// line break first. A text without any "\n" but with a "\r" (old Mac style)
// has its lines split at "\r" instead, and keeps that style when edited.
// Names match without regard to ASCII letter case; other bytes (the halves
// of double-byte characters) match only themselves.
#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>
#include <utility>
#include <vector>

class ProfileText
{
public:
    using Entry = std::pair<QByteArray, QByteArray>; // key, value

    explicit ProfileText(QByteArray text = QByteArray());

    const QByteArray &text() const { return m_text; }

    // The raw value after "=" of the first matching entry, untrimmed.
    std::optional<QByteArray> rawValue(QByteArrayView section, QByteArrayView key) const;
    QList<QByteArray> keys(QByteArrayView section) const;
    QList<QByteArray> sections() const;

    void setValue(QByteArrayView section, QByteArrayView key, QByteArrayView value);
    void removeKey(QByteArrayView section, QByteArrayView key);
    void removeSection(QByteArrayView section);
    // Afterwards the section holds exactly `entries`, in their order: every
    // entry line of the section (of each section so named) goes, the new
    // ones stand where its first entry stood (else right after its first
    // header), and its other lines stay. A missing section is added at the
    // end; an empty list removes the section.
    void replaceSection(QByteArrayView section, const std::vector<Entry> &entries);

    static bool sameName(QByteArrayView a, QByteArrayView b);
    // A name as a line holds it: without surrounding blanks. Names asked for
    // are trimmed so, the same way as names read from lines.
    static QByteArrayView trimmedName(QByteArrayView name);

private:
    enum class Kind { Other, Section, Entry };
    struct Line {
        qsizetype begin = 0;  // first byte
        qsizetype end = 0;    // just before the line break
        qsizetype next = 0;   // first byte of the following line
        Kind kind = Kind::Other;
        qsizetype nameBegin = 0; // section or key name, trimmed
        qsizetype nameEnd = 0;
        qsizetype equals = 0;    // position of "=" in an entry
    };

    void parse();
    QByteArrayView nameOf(const Line &line) const;
    bool hasLineBreak(const Line &line) const;
    bool endsWithLineBreak() const;
    QByteArray lineBreak() const;
    // Index of the first line of each section named so.
    std::vector<size_t> sectionHeaders(QByteArrayView section) const;
    // Indices of the entries named key inside sections named section; every
    // entry of those sections when key is null.
    std::vector<size_t> entries(QByteArrayView section, QByteArrayView key) const;
    void appendSection(QByteArrayView section, const QByteArray &body);
    void removeLines(const std::vector<std::pair<qsizetype, qsizetype>> &ranges);

    QByteArray m_text;
    std::vector<Line> m_lines;
    // Lines end at a bare "\r": the text holds no "\n" at all.
    bool m_returnsOnly = false;
};
