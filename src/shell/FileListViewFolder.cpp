// The file list view's folder: listing, selection bookkeeping, going into
// folders and links.
#include "shell/FileListView.h"

#include "shell/FileListModel.h"
#include "shell/FileListText.h"
#include "shell/FolderDropDown.h"
#include "shell/FolderTreeView.h"

#include "platform/PathResolve.h"
#include "platform/linux/NaturalOrder.h"

#include <QAbstractItemView>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <climits>

using namespace shellns;

void TFileListView::getShellSettings()
{
    m_shellSettings = readShellSettings();
}

void TFileListView::setShowHidden(int mode)
{
    m_showHidden = toShowHidden(mode);
    getShellSettings();
}

void TFileListView::setFilter(const QByteArray &filter)
{
    m_filter = FileMask(filter);
    if (std::shared_ptr<ShellFolder> folder = listedFolder()) {
        openFolder(std::move(folder));
        reflectSelection();
    }
}

void TFileListView::clear()
{
    const bool wasFilling = m_filling;
    m_filling = true;
    m_hotTrackTimer->stop();
    m_model->clear();
    m_filling = wasFilling;
}

void TFileListView::Clear()
{
    clear();
    reflectSelection();
}

bool TFileListView::openFolder(std::shared_ptr<ShellFolder> folder)
{
    m_filling = true;
    clear();
    std::optional<std::vector<ItemIdList>> ids;
    if (folder)
        ids = folder->enumObjects(enumflags::kFolders | enumflags::kNonFolders | enumflags::kIncludeHidden);
    if (!ids) {
        m_model->reset(std::move(folder), {});
        m_filling = false;
        return false;
    }
    const bool showHidden = showsHiddenItems(m_showHidden, m_shellSettings.showHiddenFiles);
    std::vector<FileListModel::Row> rows;
    rows.reserve(ids->size());
    for (ItemIdList &id : *ids) {
        const auto label = folder->displayNameOf(id, nameflags::kNormal);
        const auto name = label ? folder->displayNameOf(id, nameflags::kInFolder | nameflags::kForParsing)
                                : std::nullopt;
        const auto bits = name ? folder->attributesOf(id, attr::kBrowseMask) : std::nullopt;
        if (!bits)
            continue;
        if ((*bits & attr::kFolder) && !m_includeFolder)
            continue;
        if (!(*bits & (attr::kFileSystem | attr::kFileSysAncestor | attr::kLink)) && m_onlyFileSystem)
            continue;
        if ((*bits & (attr::kHidden | attr::kGhosted)) && !showHidden)
            continue;
        // Folders and links always pass the filter.
        if (!(*bits & (attr::kFolder | attr::kLink)) && !filelisttext::matchesFilter(m_filter, *name))
            continue;
        FileListModel::Row row;
        row.label = QString::fromUtf8(*label);
        row.info.name = *name;
        row.info.attributes = *bits;
        row.info.itemId = std::move(id);
        rows.push_back(std::move(row));
    }
    std::stable_sort(rows.begin(), rows.end(), [&](const FileListModel::Row &a, const FileListModel::Row &b) {
        const auto order = folder->compareIds(a.info.itemId, b.info.itemId);
        return order && qint16(*order) < 0;
    });
    m_model->reset(std::move(folder), std::move(rows));
    m_filling = false;
    return true;
}

void TFileListView::OpenFolder(QObject *sender, std::shared_ptr<ShellFolder> folder)
{
    const bool folderControl = qobject_cast<TFolderTreeView *>(sender) || qobject_cast<TFolderDropDown *>(sender);
    m_folderControl = folderControl ? sender : nullptr;
    openFolder(std::move(folder));
    reflectSelection();
    emit OnChange(this);
}

void TFileListView::setFileName(const QByteArray &path)
{
    const QByteArray full = path.isEmpty() ? QByteArray() : paths::absoluteClean(path);
    ItemIdList ids;
    std::uint32_t bits = attr::kFolder;
    if (m_desktop && !full.isEmpty() && full.size() < PATH_MAX && m_desktop->parseDisplayName(full, &ids, &bits)) {
        QByteArray fileName;
        bool found = true;
        if (!(bits & attr::kFolder)) {
            const qsizetype slash = full.lastIndexOf('/');
            fileName = full.mid(slash + 1);
            const QByteArray directory = slash <= 0 ? QByteArray("/") : full.left(slash);
            found = m_desktop->parseDisplayName(directory, &ids, nullptr);
        }
        std::shared_ptr<ShellFolder> folder = found ? m_desktop->bindToObject(ids) : nullptr;
        if (folder && openFolder(std::move(folder)) && !fileName.isEmpty()) {
            m_filling = true;
            SelectFile(fileName);
            m_filling = false;
        }
    }
    reflectSelection();
    emit OnChange(this);
}

bool TFileListView::SelectFile(const QByteArray &name)
{
    m_selection->clear();
    // The file system tells "a.txt" from "A.txt": the exact spelling wins.
    int match = -1;
    for (int row = 0; row < count() && match < 0; ++row) {
        if (m_model->row(row).info.name == name)
            match = row;
    }
    for (int row = 0; row < count() && match < 0; ++row) {
        if (sameNameIgnoringCase(m_model->row(row).info.name, name))
            match = row;
    }
    if (match < 0)
        return false;
    selectRow(match);
    return true;
}

void TFileListView::selectRow(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    m_selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    currentView()->scrollTo(index);
}

void TFileListView::Deselect()
{
    m_selection->clear();
}

int TFileListView::focusedRow() const
{
    const QModelIndex current = m_selection->currentIndex();
    return current.isValid() ? current.row() : -1;
}

QByteArray TFileListView::parsingName(int row) const
{
    if (row < 0 || row >= count() || !listedFolder())
        return QByteArray();
    return listedFolder()->displayNameOf(m_model->row(row).info.itemId, nameflags::kForParsing).value_or(QByteArray());
}

void TFileListView::reflectSelection()
{
    m_fileName = parsingName(focusedRow());
    m_fileNames.clear();
    QModelIndexList selected = m_selection->selectedRows();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    for (const QModelIndex &index : selected)
        m_fileNames.append(parsingName(index.row()));
}

void TFileListView::changeEvent()
{
    if (m_filling)
        return;
    // The focus and the selection move together on a click: the user hears of it once.
    const QByteArray fileName = m_fileName;
    const QList<QByteArray> fileNames = m_fileNames;
    reflectSelection();
    if (fileName != m_fileName || fileNames != m_fileNames)
        emit OnChange(this);
}

void TFileListView::doubleClick()
{
    const int row = focusedRow();
    if (row >= 0) {
        // Copies: opening another folder replaces the rows.
        const std::uint32_t bits = m_model->row(row).info.attributes;
        const QByteArray name = m_model->row(row).info.name;
        const QByteArray path = parsingName(row);
        auto *tree = qobject_cast<TFolderTreeView *>(m_folderControl);
        auto *dropDown = qobject_cast<TFolderDropDown *>(m_folderControl);
        if (bits & attr::kLink) {
            const auto target = listedFolder()->linkTarget(m_model->row(row).info.itemId);
            // A link whose target is gone leads nowhere.
            ItemIdList ids;
            if (target && m_desktop && m_desktop->parseDisplayName(*target, &ids, nullptr)) {
                if (tree)
                    tree->setFolderName(*target);
                else if (dropDown)
                    dropDown->setFolderName(*target);
                else
                    setFileName(*target);
            }
        } else if (bits & attr::kFolder) {
            if (tree) {
                if (!tree->OpenFolder(name))
                    tree->setFolderName(path);
            } else if (dropDown) {
                if (!dropDown->OpenFolder(name))
                    dropDown->setFolderName(path);
            } else {
                setFileName(path);
            }
        }
    }
    emit OnDblClick(this);
}

void TFileListView::goUp()
{
    if (auto *tree = qobject_cast<TFolderTreeView *>(m_folderControl)) {
        tree->SelectParent();
        return;
    }
    if (auto *dropDown = qobject_cast<TFolderDropDown *>(m_folderControl)) {
        dropDown->SelectParent();
        return;
    }
    if (!listedFolder())
        return;
    const QByteArray here = listedFolder()->displayNameOf(emptyItemIdList(), nameflags::kForParsing).value_or(QByteArray());
    const qsizetype slash = here.lastIndexOf('/');
    if (!here.startsWith('/') || here == "/")
        return;
    setFileName(slash <= 0 ? QByteArray("/") : here.left(slash));
    // Back in the parent, the folder just left is the selected item.
    SelectFile(here.mid(slash + 1));
}
