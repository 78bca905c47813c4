#include "shell/FileListViewModel.h"

#include "shell/FflIconList.h"
#include "shell/FileListText.h"
#include "shell/IconExtractor.h"

#include <QFile>


using namespace shellns;

namespace {

const struct {
    const char *title;
    int width;
    Qt::Alignment alignment;
} kColumns[] = {
    {"名前", 178, Qt::AlignLeft},        {"サイズ", 84, Qt::AlignRight},
    {"作成日時", 102, Qt::AlignLeft},    {"更新日時", 102, Qt::AlignLeft},
    {"アクセス日時", 102, Qt::AlignLeft}, {"属性", 44, Qt::AlignLeft},
    {"状態", 64, Qt::AlignLeft},
};

} // namespace

FileListViewModel::FileListViewModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_extractor(std::make_unique<ThemeIconExtractor>())
{
}

FileListViewModel::~FileListViewModel()
{
    releaseIcons();
}

QString FileListViewModel::columnTitle(int column)
{
    return column >= 0 && column < kColumnCount ? QString::fromUtf8(kColumns[column].title) : QString();
}

int FileListViewModel::columnWidth(int column)
{
    return column >= 0 && column < kColumnCount ? kColumns[column].width : 0;
}

QStringList FileListViewModel::columnSamples(int column)
{
    switch (column) {
    case kSize:
        // A file of just under a terabyte.
        return {filelisttext::sizeString((std::uint64_t(1) << 40) - 1, false)};
    case kCreated:
    case kModified:
    case kAccessed:
        return {QStringLiteral("0000/00/00 00:00")};
    case kAttributes:
        return {filelisttext::attributeString(fileattr::kReadOnly | fileattr::kHidden | fileattr::kSystem
            | filelisttext::kArchive)};
    case kStatus:
        return {filelisttext::statusString(0), filelisttext::statusString(filelisttext::kOffline)};
    default:
        return {};
    }
}

void FileListViewModel::reset(std::shared_ptr<ShellFolder> folder, std::vector<Row> rows)
{
    beginResetModel();
    releaseIcons();
    m_folder = std::move(folder);
    m_rows = std::move(rows);
    m_widestLabel = -1;
    m_large = new TFflIconList(this, false);
    m_small = new TFflIconList(this, true);
    endResetModel();
}

void FileListViewModel::clear()
{
    beginResetModel();
    releaseIcons();
    m_rows.clear();
    m_folder.reset();
    m_widestLabel = -1;
    endResetModel();
}

void FileListViewModel::releaseIcons()
{
    // The lists go with the rows; each row gives back what it holds first.
    if (m_small && m_large) {
        for (Row &row : m_rows) {
            if (row.imageIndex >= 0) {
                m_small->releaseIcon(row.imageIndex);
                m_large->releaseIcon(row.imageIndex);
            }
        }
    }
    delete m_large;
    delete m_small;
    m_large = nullptr;
    m_small = nullptr;
    m_iconCache.clear();
}

const FileListViewModel::Row &FileListViewModel::loadedRow(int index) const
{
    Row &row = m_rows[size_t(index)];
    if (!row.detailsRead)
        readDetails(row);
    return row;
}

const QString &FileListViewModel::label(int index) const
{
    Row &row = m_rows[size_t(index)];
    if (row.label.isNull()) {
        const auto label = m_folder ? m_folder->displayNameOf(row.info.itemId, nameflags::kNormal) : std::nullopt;
        row.label = label ? QString::fromUtf8(*label) : QFile::decodeName(row.info.name);
    }
    return row.label;
}

void FileListViewModel::readDetails(Row &row) const
{
    row.detailsRead = true;
    row.cut = row.info.attributes & (attr::kHidden | attr::kGhosted);
    if (!m_folder)
        return;
    const ItemIdList &id = row.info.itemId;
    if (const auto data = m_folder->findData(id)) {
        row.hasFindData = true;
        row.info.size = data->size;
        row.info.created = filelisttext::dateString(data->created);
        row.info.modified = filelisttext::dateString(data->modified);
        row.info.accessed = filelisttext::dateString(data->accessed);
        row.info.fileAttributes = data->attributes;
    }
    if (m_small && m_large) {
        if (const auto location = m_folder->iconLocation(id, iconflags::kForShell)) {
            const int large = m_large->acquireIcon(m_extractor.get(), location->location, location->index);
            const int small = m_small->acquireIcon(m_extractor.get(), location->location, location->index);
            if (large >= 0 && small >= 0 && large == small) {
                row.imageIndex = small;
            } else {
                // One list failed: give back the other so both keep equal positions.
                if (large >= 0)
                    m_large->releaseIcon(large);
                if (small >= 0)
                    m_small->releaseIcon(small);
            }
        }
        const std::uint32_t bits = row.info.attributes;
        if (bits & attr::kShare) {
            m_small->setShellOverlay(1, m_folder.get(), id);
            m_large->setShellOverlay(1, m_folder.get(), id);
            row.overlayIndex = 1;
        }
        if (bits & attr::kLink) {
            m_small->setShellOverlay(2, m_folder.get(), id);
            m_large->setShellOverlay(2, m_folder.get(), id);
            row.overlayIndex = 2;
        }
    }
}

int FileListViewModel::widestLabel(const QFontMetrics &metrics) const
{
    if (m_widestLabel < 0) {
        m_widestLabel = 0;
        // Labels alone: file data and icons wait until a row is shown.
        for (int i = 0; i < count(); ++i)
            m_widestLabel = std::max(m_widestLabel, metrics.horizontalAdvance(label(i)));
    }
    return m_widestLabel;
}

QString FileListViewModel::cellText(const Row &row, int column) const
{
    if (!row.hasFindData)
        return QString();
    switch (column) {
    case kSize:
        return filelisttext::sizeString(row.info.size, row.info.attributes & attr::kFolder);
    case kCreated:
        return row.info.created;
    case kModified:
        return row.info.modified;
    case kAccessed:
        return row.info.accessed;
    case kAttributes:
        return filelisttext::attributeString(row.info.fileAttributes);
    case kStatus:
        return filelisttext::statusString(row.info.fileAttributes);
    default:
        return QString();
    }
}

QIcon FileListViewModel::rowIcon(const Row &row) const
{
    if (!m_small || !m_large || row.imageIndex < 0)
        return QIcon();
    const quint64 key = quint64(quint32(row.imageIndex)) | (quint64(quint16(row.overlayIndex + 1)) << 32)
        | (quint64(row.cut) << 48);
    const auto cached = m_iconCache.constFind(key);
    if (cached != m_iconCache.constEnd())
        return *cached;
    // One icon in both sizes, so every view style picks its own.
    const FflItemIcons icons{row.imageIndex, row.imageIndex, row.overlayIndex};
    QIcon icon;
    for (TFflIconList *list : {m_small, m_large}) {
        const QPixmap picture = list->itemIcon(icons, row.cut).pixmap(list->iconSize());
        if (!picture.isNull()) {
            icon.addPixmap(picture, QIcon::Normal);
            icon.addPixmap(picture, QIcon::Selected);
        }
    }
    m_iconCache.insert(key, icon);
    return icon;
}

int FileListViewModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int FileListViewModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant FileListViewModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return QVariant();
    const int column = index.column();
    switch (role) {
    // A name alone, as a search by typing asks for it, reads nothing more.
    case Qt::DisplayRole:
        return column == kName ? label(index.row()) : cellText(loadedRow(index.row()), column);
    case Qt::ToolTipRole:
        return column == kName ? QVariant(label(index.row())) : QVariant();
    case Qt::DecorationRole:
        return column == kName ? QVariant(rowIcon(loadedRow(index.row()))) : QVariant();
    case Qt::TextAlignmentRole:
        return column >= 0 && column < kColumnCount
            ? QVariant(int(kColumns[column].alignment | Qt::AlignVCenter))
            : QVariant();
    default:
        return QVariant();
    }
}

QVariant FileListViewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QVariant();
    if (role == Qt::DisplayRole)
        return columnTitle(section);
    if (role == Qt::TextAlignmentRole && section >= 0 && section < kColumnCount)
        return int(kColumns[section].alignment | Qt::AlignVCenter);
    return QVariant();
}

Qt::ItemFlags FileListViewModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}
