#include "settings/ProfileText.h"

#include <QSet>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

char foldCase(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

} // namespace

QByteArrayView ProfileText::trimmedName(QByteArrayView name)
{
    while (!name.isEmpty() && isBlank(name.front()))
        name = name.sliced(1);
    while (!name.isEmpty() && isBlank(name.back()))
        name.chop(1);
    return name;
}

ProfileText::ProfileText(QByteArray text)
    : m_text(std::move(text))
{
    parse();
}

bool ProfileText::sameName(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (foldCase(a[i]) != foldCase(b[i]))
            return false;
    }
    return true;
}

void ProfileText::parse()
{
    m_lines.clear();
    m_returnsOnly = !m_text.contains('\n') && m_text.contains('\r');
    const char separator = m_returnsOnly ? '\r' : '\n';
    const char *data = m_text.constData();
    qsizetype begin = 0;
    while (begin < m_text.size()) {
        Line line;
        line.begin = begin;
        const qsizetype newline = m_text.indexOf(separator, begin);
        line.next = newline < 0 ? m_text.size() : newline + 1;
        line.end = newline < 0 ? m_text.size() : newline;
        if (!m_returnsOnly && line.end > begin && data[line.end - 1] == '\r')
            --line.end;

        // Everything below looks at this one line only.
        qsizetype first = begin;
        qsizetype last = line.end;
        while (first < last && isBlank(data[first]))
            ++first;
        while (last > first && isBlank(data[last - 1]))
            --last;
        if (first < last && data[first] == '[') {
            const QByteArrayView content(data + first, last - first);
            const qsizetype close = content.indexOf(']');
            if (close > 0) {
                line.kind = Kind::Section;
                line.nameBegin = first + 1;
                line.nameEnd = first + close;
            }
        } else if (first < last && data[first] != ';') {
            const qsizetype equals = QByteArrayView(data + first, last - first).indexOf('=');
            if (equals >= 0) {
                line.kind = Kind::Entry;
                line.equals = first + equals;
                line.nameBegin = first;
                line.nameEnd = first + equals;
            }
        }
        while (line.nameBegin < line.nameEnd && isBlank(data[line.nameBegin]))
            ++line.nameBegin;
        while (line.nameEnd > line.nameBegin && isBlank(data[line.nameEnd - 1]))
            --line.nameEnd;
        begin = line.next;
        m_lines.push_back(line);
    }
}

QByteArrayView ProfileText::nameOf(const Line &line) const
{
    return QByteArrayView(m_text.constData() + line.nameBegin, line.nameEnd - line.nameBegin);
}

bool ProfileText::hasLineBreak(const Line &line) const
{
    return line.next > line.begin && m_text.at(line.next - 1) == (m_returnsOnly ? '\r' : '\n');
}

bool ProfileText::endsWithLineBreak() const
{
    return m_text.endsWith(m_returnsOnly ? '\r' : '\n');
}

QByteArray ProfileText::lineBreak() const
{
    if (m_returnsOnly)
        return QByteArrayLiteral("\r");
    const qsizetype newline = m_text.indexOf('\n');
    return newline > 0 && m_text.at(newline - 1) == '\r' ? QByteArrayLiteral("\r\n")
                                                          : QByteArrayLiteral("\n");
}

std::vector<size_t> ProfileText::sectionHeaders(QByteArrayView section) const
{
    section = trimmedName(section);
    std::vector<size_t> found;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind == Kind::Section && sameName(nameOf(m_lines[i]), section))
            found.push_back(i);
    }
    return found;
}

std::vector<size_t> ProfileText::entries(QByteArrayView section, QByteArrayView key) const
{
    section = trimmedName(section);
    if (!key.isNull())
        key = trimmedName(key);
    std::vector<size_t> found;
    bool inside = false;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const Line &line = m_lines[i];
        if (line.kind == Kind::Section)
            inside = sameName(nameOf(line), section);
        else if (inside && line.kind == Kind::Entry && (key.isNull() || sameName(nameOf(line), key)))
            found.push_back(i);
    }
    return found;
}

std::optional<QByteArray> ProfileText::rawValue(QByteArrayView section, QByteArrayView key) const
{
    section = trimmedName(section);
    key = trimmedName(key);
    bool inside = false;
    for (const Line &line : m_lines) {
        if (line.kind == Kind::Section)
            inside = sameName(nameOf(line), section);
        else if (inside && line.kind == Kind::Entry && sameName(nameOf(line), key))
            return m_text.mid(line.equals + 1, line.end - line.equals - 1);
    }
    return std::nullopt;
}

namespace {

// Names in first-seen order, each spelling once without regard to case.
class NameList
{
public:
    void add(QByteArrayView name)
    {
        QByteArray folded = name.toByteArray();
        for (char &c : folded)
            c = foldCase(c);
        if (!m_seen.contains(folded)) {
            m_seen.insert(folded);
            m_names.append(name.toByteArray());
        }
    }
    QList<QByteArray> take() { return std::move(m_names); }

private:
    QSet<QByteArray> m_seen;
    QList<QByteArray> m_names;
};

} // namespace

QList<QByteArray> ProfileText::keys(QByteArrayView section) const
{
    section = trimmedName(section);
    NameList result;
    bool inside = false;
    for (const Line &line : m_lines) {
        if (line.kind == Kind::Section)
            inside = sameName(nameOf(line), section);
        else if (inside && line.kind == Kind::Entry && line.nameEnd > line.nameBegin)
            result.add(nameOf(line));
    }
    return result.take();
}

QList<QByteArray> ProfileText::sections() const
{
    NameList result;
    for (const Line &line : m_lines) {
        if (line.kind == Kind::Section)
            result.add(nameOf(line));
    }
    return result.take();
}

void ProfileText::appendSection(QByteArrayView section, const QByteArray &body)
{
    const QByteArray eol = lineBreak();
    QByteArray tail;
    // A last line ending in a lone "\r" becomes a CR LF line, its value unchanged.
    if (!m_returnsOnly && m_text.endsWith('\r'))
        tail += '\n';
    else if (!m_text.isEmpty() && !endsWithLineBreak())
        tail += eol;
    tail += '[' + section.toByteArray() + ']' + eol + body;
    m_text += tail;
    parse();
}

void ProfileText::setValue(QByteArrayView section, QByteArrayView key, QByteArrayView value)
{
    const std::vector<size_t> found = entries(section, key);
    if (!found.empty()) {
        // Only the bytes after "=" change; the key keeps its spelling.
        const Line &line = m_lines[found.front()];
        m_text.replace(line.equals + 1, line.end - line.equals - 1, value.toByteArray());
        parse();
        return;
    }

    const QByteArray eol = lineBreak();
    const QByteArray entry = key.toByteArray() + '=' + value.toByteArray();
    const std::vector<size_t> headers = sectionHeaders(section);
    if (headers.empty()) {
        appendSection(section, entry + eol);
        return;
    }

    // After the section's last entry, or right after its header.
    size_t last = headers.front();
    for (size_t i = last + 1; i < m_lines.size() && m_lines[i].kind != Kind::Section; ++i) {
        if (m_lines[i].kind == Kind::Entry)
            last = i;
    }
    const Line &after = m_lines[last];
    if (hasLineBreak(after))
        m_text.insert(after.next, entry + eol);
    else if (m_text.endsWith('\r'))
        m_text.insert(after.next, '\n' + entry);
    else
        m_text.insert(after.next, eol + entry);
    parse();
}

void ProfileText::replaceSection(QByteArrayView section, const std::vector<Entry> &entryList)
{
    if (entryList.empty()) {
        removeSection(section);
        return;
    }
    const QByteArray eol = lineBreak();
    QByteArray body;
    for (const Entry &entry : entryList)
        body += entry.first + '=' + entry.second + eol;

    const std::vector<size_t> headers = sectionHeaders(section);
    if (headers.empty()) {
        appendSection(section, body);
        return;
    }
    const std::vector<size_t> old = entries(section, QByteArrayView());
    if (old.empty()) {
        const Line &header = m_lines[headers.front()];
        if (!hasLineBreak(header))
            body.prepend(m_text.endsWith('\r') ? QByteArray("\n") : eol);
        m_text.insert(header.next, body);
        parse();
        return;
    }
    // One pass: the first old entry becomes the new ones, the others go.
    QByteArray text;
    text.reserve(m_text.size() + body.size());
    qsizetype copied = 0;
    for (size_t i = 0; i < old.size(); ++i) {
        const Line &line = m_lines[old[i]];
        text.append(QByteArrayView(m_text).sliced(copied, line.begin - copied));
        if (i == 0)
            text.append(body);
        copied = line.next;
    }
    text.append(QByteArrayView(m_text).sliced(copied));
    m_text = std::move(text);
    parse();
}

void ProfileText::removeLines(const std::vector<std::pair<qsizetype, qsizetype>> &ranges)
{
    QByteArray text;
    text.reserve(m_text.size());
    qsizetype copied = 0;
    for (const auto &[begin, end] : ranges) {
        text.append(QByteArrayView(m_text).sliced(copied, begin - copied));
        copied = end;
    }
    text.append(QByteArrayView(m_text).sliced(copied));
    m_text = std::move(text);
    parse();
}

void ProfileText::removeKey(QByteArrayView section, QByteArrayView key)
{
    if (key.isNull())
        return;
    std::vector<std::pair<qsizetype, qsizetype>> ranges;
    for (size_t i : entries(section, key))
        ranges.emplace_back(m_lines[i].begin, m_lines[i].next);
    removeLines(ranges);
}

void ProfileText::removeSection(QByteArrayView section)
{
    std::vector<std::pair<qsizetype, qsizetype>> ranges;
    for (size_t header : sectionHeaders(section)) {
        size_t end = header + 1;
        while (end < m_lines.size() && m_lines[end].kind != Kind::Section)
            ++end;
        ranges.emplace_back(m_lines[header].begin,
            end < m_lines.size() ? m_lines[end].begin : m_text.size());
    }
    removeLines(ranges);
}
