#pragma once
// Text rules of the file list: how names are ordered
// and how select-by-name searches them. Pure functions, no widgets.
#include <QByteArray>
#include <QString>

namespace listtext {

// The key the list orders a name by: its shown text (paths::toDisplay) without letter case,
// as UTF-8. Keys compare as plain bytes, which is the order of the
// characters; a key begins with another exactly when the text does.
QByteArray sortKey(const QByteArray &name);

// Select-by-name: the index of the first key that begins with prefixKey,
// searching from the item after start to the last and then from item 0 up
// to start itself (start -1 searches from item 0). -1 when none matches.
// keyAt(i) gives item i's key, for i in [0, count).
template <typename KeyAt>
int findPrefix(int count, const KeyAt &keyAt, const QByteArray &prefixKey, int start)
{
    if (start < -1 || start >= count)
        start = -1;
    for (int step = 1; step <= count; ++step) {
        const int i = (start + step) % count;
        if (keyAt(i).startsWith(prefixKey))
            return i;
    }
    return -1;
}

} // namespace listtext
