#pragma once
// The items of one listed folder, as the file list view's four styles show
// them.
//
// One row per shell item, seven columns (name, size, three times,
// attributes, status). A row's file data, column texts and icons are read
// the first time a view asks for them, so opening a large folder costs the
// names, attributes and order only, and a row nobody sees costs nothing
// more. The model owns the rows' records and the two icon lists (large and
// small, equal images at equal positions), both rebuilt for every folder.
#include "shell/FflIconList.h"
#include "shell/FflItemInfo.h"

#include "namespace/ShellFolder.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QFontMetrics>
#include <QHash>
#include <QIcon>

#include <memory>
#include <vector>

class IconExtractor;
class TFflIconList;

class FileListViewModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { kName, kSize, kCreated, kModified, kAccessed, kAttributes, kStatus, kColumnCount };

    struct Row
    {
        TFflItemInfo info;
        QString label;            // null until first asked for
        bool detailsRead = false; // file data and icons asked for
        bool hasFindData = false;
        int imageIndex = -1;      // equal in the large and the small list
        int overlayIndex = -1;
        bool cut = false;
    };

    explicit FileListViewModel(QObject *parent = nullptr);
    ~FileListViewModel() override;

    // Replaces the rows: `rows` in their final order, read from `folder`.
    void reset(std::shared_ptr<shellns::ShellFolder> folder, std::vector<Row> rows);
    // No rows, no folder, no icon lists.
    void clear();

    const std::shared_ptr<shellns::ShellFolder> &folder() const { return m_folder; }
    int count() const { return int(m_rows.size()); }
    const Row &row(int index) const { return m_rows[size_t(index)]; }
    // The row with its file data and icons read.
    const Row &loadedRow(int index) const;
    // The row's label, read the first time it is asked for.
    const QString &label(int index) const;
    // Width of the longest label in `metrics`, read once per listing.
    int widestLabel(const QFontMetrics &metrics) const;
    TFflIconList *largeImages() const { return m_large; }
    TFflIconList *smallImages() const { return m_small; }

    static QString columnTitle(int column);
    static int columnWidth(int column);
    // The widest texts a column's cells can hold (none for the names).
    static QStringList columnSamples(int column);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    void readDetails(Row &row) const;
    QString cellText(const Row &row, int column) const;
    QIcon rowIcon(const Row &row) const;
    void releaseIcons();

    std::shared_ptr<shellns::ShellFolder> m_folder;
    mutable std::vector<Row> m_rows;
    std::unique_ptr<IconExtractor> m_extractor;
    TFflIconList *m_large = nullptr;
    TFflIconList *m_small = nullptr;
    mutable QHash<quint64, QIcon> m_iconCache;
    mutable int m_widestLabel = -1;
};
