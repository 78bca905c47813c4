#include "platform/linux/NaturalOrder.h"

#include <QChar>

#include <cstring>

namespace shellns {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// One character of a name at `i`, case-folded; advances `i`. Bytes that do
// not start a valid UTF-8 sequence stand for themselves, above every
// code point, so they sort after text and stay distinct.
char32_t nextFolded(QByteArrayView s, qsizetype &i)
{
    const auto byte = std::uint8_t(s[i]);
    if (byte < 0x80) {
        ++i;
        return char32_t(byte >= 'A' && byte <= 'Z' ? byte + 32 : byte);
    }
    int length = 0;
    char32_t code = 0;
    if ((byte & 0xE0) == 0xC0) {
        length = 2;
        code = byte & 0x1F;
    } else if ((byte & 0xF0) == 0xE0) {
        length = 3;
        code = byte & 0x0F;
    } else if ((byte & 0xF8) == 0xF0) {
        length = 4;
        code = byte & 0x07;
    }
    bool valid = length > 0 && i + length <= s.size();
    for (int k = 1; valid && k < length; ++k) {
        const auto next = std::uint8_t(s[i + k]);
        valid = (next & 0xC0) == 0x80;
        code = (code << 6) | (next & 0x3F);
    }
    if (!valid) {
        ++i;
        return char32_t(0x110000 + byte);
    }
    i += length;
    return QChar::toCaseFolded(code);
}

} // namespace

int naturalCompare(QByteArrayView a, QByteArrayView b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            qsizetype ei = i;
            qsizetype ej = j;
            while (ei < a.size() && isDigit(a[ei]))
                ++ei;
            while (ej < b.size() && isDigit(b[ej]))
                ++ej;
            // Compare the values: leading zeros dropped, then length, then digits.
            qsizetype si = i;
            qsizetype sj = j;
            while (si + 1 < ei && a[si] == '0')
                ++si;
            while (sj + 1 < ej && b[sj] == '0')
                ++sj;
            if (ei - si != ej - sj)
                return ei - si < ej - sj ? -1 : 1;
            const int digits = std::memcmp(a.data() + si, b.data() + sj, size_t(ei - si));
            if (digits != 0)
                return digits < 0 ? -1 : 1;
            i = ei;
            j = ej;
            continue;
        }
        const char32_t x = nextFolded(a, i);
        const char32_t y = nextFolded(b, j);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    // Equal but for case or leading zeros: the bytes decide.
    const int bytes = std::memcmp(a.data(), b.data(), size_t(std::min(a.size(), b.size())));
    if (bytes != 0)
        return bytes < 0 ? -1 : 1;
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return 0;
}

namespace {

void appendCode(QByteArray &key, char32_t code)
{
    key.append(char((code >> 16) & 0xFF));
    key.append(char((code >> 8) & 0xFF));
    key.append(char(code & 0xFF));
}

} // namespace

void appendNaturalSortKey(QByteArray &key, QByteArrayView name)
{
    // Each character is its folded code as three bytes (undecodable bytes
    // sit above every code point, as in naturalCompare). A run of digits is
    // the code of '0', so that against a letter it orders as any digit
    // would, then its length without leading zeros and its digits. Three
    // zero bytes end the text part, below every character, so a shorter
    // name comes first; the name's own bytes break the remaining ties.
    key.reserve(key.size() + name.size() * 4 + 3);
    qsizetype i = 0;
    while (i < name.size()) {
        if (!isDigit(name[i])) {
            appendCode(key, nextFolded(name, i));
            continue;
        }
        qsizetype end = i;
        while (end < name.size() && isDigit(name[end]))
            ++end;
        qsizetype start = i;
        while (start + 1 < end && name[start] == '0')
            ++start;
        appendCode(key, U'0');
        const auto length = std::uint32_t(end - start);
        for (int shift = 24; shift >= 0; shift -= 8)
            key.append(char((length >> shift) & 0xFF));
        key.append(name.data() + start, end - start);
        i = end;
    }
    appendCode(key, 0);
    key.append(name.data(), name.size());
}

bool sameNameIgnoringCase(QByteArrayView a, QByteArrayView b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (nextFolded(a, i) != nextFolded(b, j))
            return false;
    }
    return i == a.size() && j == b.size();
}

} // namespace shellns
