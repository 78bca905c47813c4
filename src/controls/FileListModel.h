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

    int count() const { return int(m_names.size()); }
    const QByteArray &name(int row) const { return m_names[size_t(row)]; }
    // The shown text, decoded when asked for: only visible rows are.
    QString text(int row) const;
    const std::vector<QByteArray> &names() const { return m_names; }
    const std::vector<QByteArray> &keys() const { return m_keys; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    std::vector<QByteArray> m_names;
    std::vector<QByteArray> m_keys;
};
