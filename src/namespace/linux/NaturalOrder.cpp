#include "namespace/linux/NaturalOrder.h"

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
    // Only the shortest form of a code point is valid, and no surrogate or
    // value past U+10FFFF. An overlong "5" read as the character 5 would
    // sort after "10" and before "9": no order at all.
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    valid = valid && code >= kSmallest[length] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
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
    // An empty name may have no bytes at all to point at.
    const qsizetype common = std::min(a.size(), b.size());
    const int bytes = common > 0 ? std::memcmp(a.data(), b.data(), size_t(common)) : 0;
    if (bytes != 0)
        return bytes < 0 ? -1 : 1;
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return 0;
}

namespace {

// UTF-8 keeps the order of code points in the order of its bytes; the four
// byte form also carries the stand-ins for undecodable bytes above 0x10FFFF.
char *putCode(char *out, char32_t code)
{
    if (code < 0x80) {
        *out++ = char(code);
    } else if (code < 0x800) {
        *out++ = char(0xC0 | (code >> 6));
        *out++ = char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        *out++ = char(0xE0 | (code >> 12));
        *out++ = char(0x80 | ((code >> 6) & 0x3F));
        *out++ = char(0x80 | (code & 0x3F));
    } else {
        *out++ = char(0xF0 | (code >> 18));
        *out++ = char(0x80 | ((code >> 12) & 0x3F));
        *out++ = char(0x80 | ((code >> 6) & 0x3F));
        *out++ = char(0x80 | (code & 0x3F));
    }
    return out;
}

// Room a key can take at most. Folding never needs more than four bytes for
// one input byte, a run of digits at most six more than its digits.
qsizetype maxKeySize(QByteArrayView name, QByteArrayView prefix)
{
    return prefix.size() + name.size() * 4 + 6 * (name.size() / 2 + 1) + 1 + name.size();
}

// Writes the key at `out`, which has room for maxKeySize; returns its end.
char *writeKey(char *out, QByteArrayView name, QByteArrayView prefix)
{
    // Each character is its folded code in UTF-8. A run of digits is a '0',
    // so that against a letter it orders as any digit would, then its length
    // without leading zeros (one byte, or 0xFF and four) and its digits. A
    // zero byte ends the text part, below every character, so a shorter name
    // comes first; the name's own bytes break the remaining ties.
    if (!prefix.isEmpty())
        std::memcpy(out, prefix.data(), size_t(prefix.size()));
    out += prefix.size();
    qsizetype i = 0;
    while (i < name.size()) {
        const char c = name[i];
        if (!isDigit(c)) {
            if (std::uint8_t(c) < 0x80) {
                *out++ = c >= 'A' && c <= 'Z' ? char(c + 32) : c;
                ++i;
            } else {
                out = putCode(out, nextFolded(name, i));
            }
            continue;
        }
        qsizetype end = i;
        while (end < name.size() && isDigit(name[end]))
            ++end;
        qsizetype first = i;
        while (first + 1 < end && name[first] == '0')
            ++first;
        *out++ = '0';
        const auto length = std::uint32_t(end - first);
        if (length < 0xFF) {
            *out++ = char(length);
        } else {
            *out++ = char(0xFF);
            for (int shift = 24; shift >= 0; shift -= 8)
                *out++ = char((length >> shift) & 0xFF);
        }
        std::memcpy(out, name.data() + first, size_t(end - first));
        out += end - first;
        i = end;
    }
    *out++ = 0;
    if (!name.isEmpty())
        std::memcpy(out, name.data(), size_t(name.size()));
    return out + name.size();
}

} // namespace

QByteArray naturalSortKey(QByteArrayView name, QByteArrayView prefix)
{
    QByteArray key;
    key.reserve(maxKeySize(name, prefix));
    appendNaturalSortKey(key, name, prefix);
    return key;
}

void appendNaturalSortKey(QByteArray &out, QByteArrayView name, QByteArrayView prefix)
{
    const qsizetype start = out.size();
    out.resize(start + maxKeySize(name, prefix));
    char *end = writeKey(out.data() + start, name, prefix);
    out.resize(end - out.constData());
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
