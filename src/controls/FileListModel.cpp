#include "controls/FileListModel.h"

#include "controls/ListText.h"
#include "platform/Paths.h"

#include <algorithm>
#include <numeric>

FileListModel::Sorted FileListModel::sorted(std::vector<QByteArray> names)
{
    const size_t count = names.size();
    std::vector<QByteArray> keys(count);
    for (size_t i = 0; i < count; ++i)
        keys[i] = listtext::sortKey(names[i]);
    std::vector<size_t> order(count);
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(),
        [&keys](size_t a, size_t b) { return keys[a] < keys[b]; });

    Sorted items;
    items.names.reserve(count);
    items.keys.reserve(count);
    for (size_t i : order) {
        items.names.push_back(std::move(names[i]));
        items.keys.push_back(std::move(keys[i]));
    }
    return items;
}

FileListModel::Sorted FileListModel::setSorted(Sorted items)
{
    beginResetModel();
    std::swap(m_names, items.names);
    std::swap(m_keys, items.keys);
    endResetModel();
    return items;
}

void FileListModel::removeName(int row)
{
    if (row < 0 || row >= count())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_names.erase(m_names.begin() + row);
    m_keys.erase(m_keys.begin() + row);
    endRemoveRows();
}

QString FileListModel::text(int row) const
{
    return paths::toDisplay(m_names[size_t(row)]);
}
int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return QVariant();
    if (role == Qt::DisplayRole)
        return text(index.row());
    if (role == NameRole)
        return name(index.row());
    return QVariant();
}
