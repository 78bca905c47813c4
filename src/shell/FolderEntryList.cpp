#include "shell/FolderEntryList.h"

#include "shell/ShellFolderReader.h"

TFflNodeInfo *FolderEntryList::at(int index) const
{
    return index >= 0 && index < count() ? m_entries[size_t(index)].get() : nullptr;
}

int FolderEntryList::level(int index) const
{
    const TFflNodeInfo *entry = at(index);
    return entry ? entry->level : -1;
}

int FolderEntryList::indexOf(const TFflNodeInfo *entry) const
{
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].get() == entry)
            return int(i);
    }
    return -1;
}

int FolderEntryList::getParent(int index) const
{
    if (!at(index) || level(index) <= 0)
        return -1;
    for (int j = index - 1; j >= 0; --j) {
        if (level(j) < level(index))
            return j;
    }
    return -1;
}

int FolderEntryList::getFirstChild(int index) const
{
    if (!at(index) || index + 1 >= count())
        return -1;
    return level(index + 1) > level(index) ? index + 1 : -1;
}

int FolderEntryList::getLastDescendant(int index) const
{
    if (!at(index))
        return -1;
    int last = -1;
    for (int j = index + 1; j < count() && level(j) > level(index); ++j)
        last = j;
    return last;
}

int FolderEntryList::getNextSibling(int index) const
{
    if (!at(index))
        return -1;
    for (int j = index + 1; j < count(); ++j) {
        if (level(j) == level(index))
            return j;
        if (level(j) < level(index))
            return -1;
    }
    return -1;
}

int FolderEntryList::findChild(int parent, const QByteArray &name) const
{
    return findSibling(getFirstChild(parent), name);
}

int FolderEntryList::findSibling(int first, const QByteArray &name) const
{
    std::vector<int> run;
    for (int j = first; j >= 0; j = getNextSibling(j))
        run.push_back(j);
    const int found = findItemByName(int(run.size()), [&](int i) -> const QByteArray & {
        return at(run[size_t(i)])->name;
    }, name);
    return found < 0 ? -1 : run[size_t(found)];
}

int FolderEntryList::insertAfter(int position, std::unique_ptr<TFflNodeInfo> entry)
{
    if (position < 0 || position >= count() - 1) {
        m_entries.push_back(std::move(entry));
        return count() - 1;
    }
    m_entries.insert(m_entries.begin() + position + 1, std::move(entry));
    return position + 1;
}
