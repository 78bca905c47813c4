#include "platform/ProfileText.h"

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

QByteArrayView trimmed(QByteArrayView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

} // namespace

ProfileText::ProfileText(QByteArray text)
    : m_text(std::move(text))
{
    parse();
}

bool ProfileText::sameName(QByteArrayView a, QByteArrayView b)
{
    return a.size() == b.size() && qstrnicmp(a.data(), a.size(), b.data(), b.size()) == 0;
}

void ProfileText::parse()
{
    m_lines.clear();
    qsizetype begin = 0;
    while (begin < m_text.size()) {
        Line line;
        line.begin = begin;
        const qsizetype newline = m_text.indexOf('\n', begin);
        line.next = newline < 0 ? m_text.size() : newline + 1;
        line.end = newline < 0 ? m_text.size() : newline;
        if (line.end > begin && m_text.at(line.end - 1) == '\r')
            --line.end;

        const QByteArrayView content = trimmed(QByteArrayView(m_text).sliced(begin, line.end - begin));
        if (content.startsWith('[')) {
            const qsizetype close = content.indexOf(']');
            if (close > 0) {
                line.kind = Kind::Section;
                line.name = trimmed(content.sliced(1, close - 1)).toByteArray();
            }
        } else if (!content.isEmpty() && content.front() != ';') {
            const qsizetype equals = m_text.indexOf('=', begin);
            if (equals >= 0 && equals < line.end) {
                line.kind = Kind::Entry;
                line.equals = equals;
                line.name = trimmed(QByteArrayView(m_text).sliced(begin, equals - begin)).toByteArray();
            }
        }
        m_lines.push_back(std::move(line));
        begin = m_lines.back().next;
    }
}

QByteArray ProfileText::lineBreak() const
{
    const qsizetype newline = m_text.indexOf('\n');
    return newline > 0 && m_text.at(newline - 1) == '\r' ? QByteArrayLiteral("\r\n")
                                                          : QByteArrayLiteral("\n");
}

std::vector<size_t> ProfileText::sectionHeaders(QByteArrayView section) const
{
    std::vector<size_t> found;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind == Kind::Section && sameName(m_lines[i].name, section))
            found.push_back(i);
    }
    return found;
}

std::vector<size_t> ProfileText::entries(QByteArrayView section, QByteArrayView key) const
{
    std::vector<size_t> found;
    bool inside = false;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const Line &line = m_lines[i];
        if (line.kind == Kind::Section)
            inside = sameName(line.name, section);
        else if (inside && line.kind == Kind::Entry && sameName(line.name, key))
            found.push_back(i);
    }
    return found;
}

std::optional<QByteArray> ProfileText::rawValue(QByteArrayView section, QByteArrayView key) const
{
    const std::vector<size_t> found = entries(section, key);
    if (found.empty())
        return std::nullopt;
    const Line &line = m_lines[found.front()];
    return m_text.mid(line.equals + 1, line.end - line.equals - 1);
}

QList<QByteArray> ProfileText::keys(QByteArrayView section) const
{
    QList<QByteArray> result;
    bool inside = false;
    for (const Line &line : m_lines) {
        if (line.kind == Kind::Section) {
            inside = sameName(line.name, section);
        } else if (inside && line.kind == Kind::Entry && !line.name.isEmpty()) {
            const bool known = std::any_of(result.cbegin(), result.cend(),
                [&](const QByteArray &name) { return sameName(name, line.name); });
            if (!known)
                result.append(line.name);
        }
    }
    return result;
}

QList<QByteArray> ProfileText::sections() const
{
    QList<QByteArray> result;
    for (const Line &line : m_lines) {
        if (line.kind != Kind::Section)
            continue;
        const bool known = std::any_of(result.cbegin(), result.cend(),
            [&](const QByteArray &name) { return sameName(name, line.name); });
        if (!known)
            result.append(line.name);
    }
    return result;
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
        QByteArray tail;
        if (!m_text.isEmpty() && !m_text.endsWith('\n'))
            tail += eol;
        tail += '[' + section.toByteArray() + ']' + eol + entry + eol;
        m_text += tail;
        parse();
        return;
    }

    // After the section's last entry, or right after its header.
    size_t last = headers.front();
    for (size_t i = last + 1; i < m_lines.size() && m_lines[i].kind != Kind::Section; ++i) {
        if (m_lines[i].kind == Kind::Entry)
            last = i;
    }
    const Line &after = m_lines[last];
    if (after.next > after.end)
        m_text.insert(after.next, entry + eol);
    else
        m_text.insert(after.end, eol + entry);
    parse();
}

void ProfileText::removeLines(const std::vector<std::pair<qsizetype, qsizetype>> &ranges)
{
    // Back to front, so earlier positions stay valid.
    for (auto it = ranges.rbegin(); it != ranges.rend(); ++it)
        m_text.remove(it->first, it->second - it->first);
    parse();
}

void ProfileText::removeKey(QByteArrayView section, QByteArrayView key)
{
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
