#pragma once
// The order the shell gives names within a folder: runs of digits compare
// by their value ("file2" before "file10"), letters ignore case. Names that
// still tie are ordered by their bytes, so only equal names give 0.
#include <QByteArray>
#include <QByteArrayView>

namespace shellns {

int naturalCompare(QByteArrayView a, QByteArrayView b);

// Bytes whose plain byte order is naturalCompare's order: for any two
// names, comparing their keys as bytes gives the same sign. A folder of
// thousands of names is sorted with one key per name. `prefix` comes first
// (a kind that orders before the name).
QByteArray naturalSortKey(QByteArrayView name, QByteArrayView prefix = {});
// The same key written at the end of `out`.
void appendNaturalSortKey(QByteArray &out, QByteArrayView name, QByteArrayView prefix = {});

// The same name but for letter case.
bool sameNameIgnoringCase(QByteArrayView a, QByteArrayView b);

} // namespace shellns
