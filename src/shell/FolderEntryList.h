#pragma once
// The folder drop-down's entries: a tree held as one flat list in display
// order, each entry with its depth (0 for the Desktop).
//
// An entry's children are the entries after it with a greater level, up to
// the next entry whose level is not greater; its direct children are those
// one level deeper. Display-free; the drop-down keeps its rows parallel to it.
#include "shell/FflNodeInfo.h"

#include <QByteArray>

#include <memory>
#include <vector>

class FolderEntryList
{
public:
    int count() const { return int(m_entries.size()); }
    TFflNodeInfo *at(int index) const;
    int level(int index) const;
    // Where `entry` stands, -1 when it is not in the list.
    int indexOf(const TFflNodeInfo *entry) const;

    // All return -1 for an index outside the list.
    int getParent(int index) const;
    int getFirstChild(int index) const;
    // The last entry below `index`, -1 when it has no children.
    int getLastDescendant(int index) const;
    int getNextSibling(int index) const;
    // The first direct child of `parent` whose name is `name`: spelled
    // exactly if there is one, else ignoring letter case.
    int findChild(int parent, const QByteArray &name) const;
    // The same among `first` and the siblings after it.
    int findSibling(int first, const QByteArray &name) const;

    // Places an entry after `position` (-1 or the last index: at the end)
    // and returns its index.
    int insertAfter(int position, std::unique_ptr<TFflNodeInfo> entry);
    void clear() { m_entries.clear(); }

private:
    std::vector<std::unique_ptr<TFflNodeInfo>> m_entries;
};
