#include "controls/ListText.h"

#include "platform/Paths.h"

namespace listtext {

namespace {

bool isAscii(const QByteArray &bytes)
{
    for (char c : bytes) {
        if (uchar(c) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

QByteArray sortKey(const QByteArray &name)
{
    if (!isAscii(name))
        return paths::toDisplay(name).toCaseFolded().toUtf8();
    // The common case, and a fast one: most names need no copy at all.
    qsizetype upper = 0;
    while (upper < name.size() && !(name[upper] >= 'A' && name[upper] <= 'Z'))
        ++upper;
    if (upper == name.size())
        return name;
    QByteArray key = name;
    char *data = key.data();
    for (qsizetype i = upper; i < key.size(); ++i) {
        if (data[i] >= 'A' && data[i] <= 'Z')
            data[i] = char(data[i] + ('a' - 'A'));
    }
    return key;
}

} // namespace listtext
