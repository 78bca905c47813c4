#pragma once
// Stepping through item identifier lists element by element.
//
// Lists come from the namespace and are read with bounds checks: a count
// that is too short or runs past the end of the bytes counts as the end.
#include "namespace/ItemIdList.h"

#include <QByteArrayView>

#include <optional>

// The first element as a list of its own, none for an empty list.
std::optional<shellns::ItemIdList> copyFirstItemId(QByteArrayView list);

// The rest of the list after its first element; none when the list is
// empty or only the terminator follows.
std::optional<QByteArrayView> nextItemId(QByteArrayView list);

// Gives a copy made by copyFirstItemId back before its owner goes away.
void freeItemId(std::optional<shellns::ItemIdList> &copy);
