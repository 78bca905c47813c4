#pragma once
// The items of the file list: file names as the file system's bytes, each
// with the text shown for it, kept in the list's case-insensitive order
// (names that compare equal keep the order in which they were given).
#include <QAbstractListModel>
#include <QByteArray>
#include <QString>

#include <vector>

class FileListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    // The name's bytes, for Qt::UserRole.
    static constexpr int NameRole = Qt::UserRole;

    using QAbstractListModel::QAbstractListModel;

    // Names in the list's order, each with its sort key; made by sorted(),
    // which may run on any thread.
    struct Sorted
    {
        std::vector<QByteArray> names;
        std::vector<QByteArray> keys;
    };
    static Sorted sorted(std::vector<QByteArray> names);

    // Replaces all items by names, sorted.
    void setNames(std::vector<QByteArray> names) { setSorted(sorted(std::move(names))); }
    // Replaces all items; returns the items before, for the caller to free
    // where it suits (a hundred thousand names take a while).
    Sorted setSorted(Sorted items);
    // Takes one item out, the others keeping their order.
    void removeName(int row);

    int count() const { return int(m_names.size() - m_gapLength); }
    const QByteArray &name(int row) const { return m_names[at(row)]; }
    const QByteArray &key(int row) const { return m_keys[at(row)]; }
    // The shown text, decoded when asked for: only visible rows are.
    QString text(int row) const;
    // The first row listing name, or -1.
    int rowOf(const QByteArray &name) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    // Where a row's item is kept: rows from the gap on sit past it.
    size_t at(int row) const { return size_t(row) < m_gapAt ? size_t(row) : size_t(row) + m_gapLength; }
    void moveGapTo(size_t row);

    std::vector<QByteArray> m_names;
    std::vector<QByteArray> m_keys;
    // Removed items leave a gap in the arrays, which moves to each removal:
    // taking out file after file at one place (sorting down the list) moves
    // nothing, however long the list is.
    size_t m_gapAt = 0;
    size_t m_gapLength = 0;
};
