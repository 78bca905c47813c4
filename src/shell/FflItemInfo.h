#pragma once
// What a file-list item knows of its shell item.
#include "namespace/ItemIdList.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

struct TFflItemInfo
{
    QByteArray name;              // in-folder parsing name
    std::uint32_t attributes = 0; // the item's attribute bits for the browse mask
    shellns::ItemIdList itemId;   // relative to the listed folder
    std::uint64_t size = 0;
    QString created;
    QString modified;
    QString accessed;
    std::uint32_t fileAttributes = 0; // shellns::fileattr bits
};
