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
    m_gapAt = m_gapLength = 0;
    endResetModel();
    return items;
}

void FileListModel::removeName(int row)
{
    if (row < 0 || row >= count())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    moveGapTo(size_t(row));
    // The row's item is the first past the gap: the gap takes it in.
    const size_t item = m_gapAt + m_gapLength;
    m_names[item] = QByteArray();
    m_keys[item] = QByteArray();
    ++m_gapLength;
    endRemoveRows();
}

void FileListModel::moveGapTo(size_t row)
{
    // The items between the gap's place and row's cross over it.
    while (m_gapAt > row) {
        --m_gapAt;
        std::swap(m_names[m_gapAt], m_names[m_gapAt + m_gapLength]);
        std::swap(m_keys[m_gapAt], m_keys[m_gapAt + m_gapLength]);
    }
    while (m_gapAt < row) {
        std::swap(m_names[m_gapAt], m_names[m_gapAt + m_gapLength]);
        std::swap(m_keys[m_gapAt], m_keys[m_gapAt + m_gapLength]);
        ++m_gapAt;
    }
}

int FileListModel::rowOf(const QByteArray &name) const
{
    for (int row = 0, rows = count(); row < rows; ++row) {
        if (m_names[at(row)] == name)
            return row;
    }
    return -1;
}

QString FileListModel::text(int row) const
{
    return paths::toDisplay(name(row));
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
