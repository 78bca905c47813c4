#include "platform/FileMask.h"

#include <QList>

namespace {

char folded(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
}

// Length of the character that starts at name[i]: a whole UTF-8 sequence
// when the bytes form one, else one byte.
qsizetype characterLength(QByteArrayView name, qsizetype i)
{
    const auto lead = uchar(name[i]);
    qsizetype length = 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (i + length > name.size())
        return 1;
    for (qsizetype k = 1; k < length; ++k) {
        if ((uchar(name[i + k]) & 0xC0) != 0x80)
            return 1;
    }
    return length;
}

bool endsWithFolded(QByteArrayView name, QByteArrayView suffix)
{
    if (name.size() < suffix.size())
        return false;
    const char *tail = name.data() + (name.size() - suffix.size());
    // Compared from the end: names mostly differ in their last letters.
    for (qsizetype k = suffix.size() - 1; k >= 0; --k) {
        if (folded(tail[k]) != suffix[k])
            return false;
    }
    return true;
}

} // namespace

FileMask::FileMask(QByteArrayView mask)
    : m_text(mask.toByteArray())
{
    for (const QByteArray &part : m_text.split(';')) {
        const QByteArray text = part.trimmed();
        if (text.isEmpty())
            continue;
        Pattern pattern;
        pattern.text = text;
        const QByteArray rest = text.mid(1);
        if (text.startsWith('*') && !rest.contains('*') && !rest.contains('?')) {
            pattern.suffixOnly = true;
            pattern.suffix = rest.toLower();
        }
        m_patterns.push_back(std::move(pattern));
    }
}

bool FileMask::matches(int index, QByteArrayView name) const
{
    const Pattern &pattern = m_patterns[size_t(index)];
    if (pattern.suffixOnly)
        return endsWithFolded(name, pattern.suffix);
    return matchPattern(pattern.text, name);
}

bool FileMask::matchPattern(QByteArrayView pattern, QByteArrayView name)
{
    qsizetype p = 0;
    qsizetype n = 0;
    // Where to go on after the last "*" if the rest fails to match.
    qsizetype starPattern = -1;
    qsizetype starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = ++p;
            starName = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n += characterLength(name, n);
        } else if (p < pattern.size() && folded(pattern[p]) == folded(name[n])) {
            ++p;
            ++n;
        } else if (starPattern >= 0) {
            p = starPattern;
            starName += characterLength(name, starName);
            n = starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}
