#pragma once
// What a folder-tree node or a drop-down entry knows of its shell item.
#include "namespace/ItemIdList.h"
#include "namespace/ShellFolder.h"

#include <QByteArray>

#include <cstdint>
#include <memory>

struct TFflNodeInfo
{
    QByteArray name;              // in-folder parsing name, matched against path elements
    shellns::ItemIdList itemId;   // relative to the parent folder
    std::shared_ptr<shellns::ShellFolder> folder; // own folder object, once enumerated
    std::uint32_t attributes = 0; // the item's attribute bits for the browse mask
    bool enumerated = false;
    // Drop-down only.
    int level = 0;
    int imageIndex = -1;
    int selectedIndex = -1;
    int overlayIndex = -1;
};
