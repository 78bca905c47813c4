#include "shell/ShellItemIds.h"

std::optional<shellns::ItemIdList> copyFirstItemId(QByteArrayView list)
{
    const qsizetype size = shellns::firstItemIdSize(list);
    if (size <= 0)
        return std::nullopt;
    return list.first(size).toByteArray() + QByteArray(2, '\0');
}

std::optional<QByteArrayView> nextItemId(QByteArrayView list)
{
    const qsizetype size = shellns::firstItemIdSize(list);
    if (size <= 0)
        return std::nullopt;
    const QByteArrayView rest = list.sliced(size);
    if (shellns::firstItemIdSize(rest) <= 0)
        return std::nullopt;
    return rest;
}

void freeItemId(std::optional<shellns::ItemIdList> &copy)
{
    copy.reset();
}
