// The file list view's folder: listing, selection bookkeeping, going into
// folders and links.
#include "shell/FileListView.h"

#include "shell/FileListViewModel.h"
#include "shell/FileListText.h"
#include "shell/FolderDropDown.h"
#include "shell/FolderTreeView.h"
#include "shell/ShellFolderReader.h"

#include "platform/FileCalls.h"
#include "platform/FolderWatch.h"
#include "platform/PathResolve.h"

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
    m_pathCalls->cancel();
    clear();
    reflectSelection();
}

bool TFileListView::openFolder(std::shared_ptr<ShellFolder> folder)
{
    m_filling = true;
    clear();
    ShellReadOptions options;
    options.filter.includeFiles = true;
    // Links pass as file-system items here; checked below.
    options.filter.onlyFileSystem = false;
    options.filter.showHidden = m_showHidden;
    options.filter.userShowsHidden = m_shellSettings.showHiddenFiles;
    auto items = folder ? readShellFolder(*folder, options) : std::nullopt;
    if (!items) {
        m_model->reset(std::move(folder), {});
        watchListedFolder();
        m_filling = false;
        return false;
    }
    std::vector<FileListViewModel::Row> rows;
    rows.reserve(items->size());
    for (ShellFolderItem &item : *items) {
        const std::uint32_t bits = item.attributes;
        if ((bits & attr::kFolder) && !m_includeFolder)
            continue;
        if (!(bits & (attr::kFileSystem | attr::kFileSysAncestor | attr::kLink)) && m_onlyFileSystem)
            continue;
        // Folders and links always pass the filter.
        if (!(bits & (attr::kFolder | attr::kLink)) && !filelisttext::matchesFilter(m_filter, item.name))
            continue;
        FileListViewModel::Row row;
        row.info.name = std::move(item.name);
        row.info.attributes = bits;
        row.info.itemId = std::move(item.itemId);
        rows.push_back(std::move(row));
    }
    m_model->reset(std::move(folder), std::move(rows));
    watchListedFolder();
    // Column widths of the list styles follow the names.
    if (m_viewStyle == vsList || m_viewStyle == vsSmallIcon)
        applyViewStyle();
    m_filling = false;
    return true;
}

void TFileListView::OpenFolder(QObject *sender, std::shared_ptr<ShellFolder> folder)
{
    const bool folderControl = qobject_cast<TFolderTreeView *>(sender) || qobject_cast<TFolderDropDown *>(sender);
    m_folderControl = folderControl ? sender : nullptr;
    // A path still on its way is overtaken.
    m_pathCalls->cancel();
    openFolder(std::move(folder));
    reflectSelection();
    emit OnChange(this);
}

namespace {

// A path bound to its folder on a worker: the folder to list and, when the
// path named a file, the file to select in it.
struct BoundPath
{
    std::shared_ptr<ShellFolder> folder;
    QByteArray fileName;
};

BoundPath bindPath(const ShellFolder &desktop, const QByteArray &full)
{
    BoundPath bound;
    ParsedShellPath parsed = parseShellPath(desktop, full);
    if (!parsed.ok)
        return bound;
    if (!(parsed.attributes & attr::kFolder)) {
        const qsizetype slash = full.lastIndexOf('/');
        bound.fileName = full.mid(slash + 1);
        parsed = parseShellPath(desktop, slash <= 0 ? QByteArray("/") : full.left(slash));
        if (!parsed.ok)
            return bound;
    }
    bound.folder = desktop.bindToObject(parsed.ids);
    return bound;
}

} // namespace

void TFileListView::setFileName(const QByteArray &path)
{
    // The path is parsed and bound on a worker; on a healthy disk the answer
    // comes before this returns, a folder that does not answer is listed
    // once it does, unless another folder was asked for meanwhile.
    const QByteArray full = path.isEmpty() ? QByteArray() : paths::absoluteClean(path);
    if (!m_desktop || full.isEmpty() || full.size() >= PATH_MAX) {
        m_pathCalls->cancel();
        reflectSelection();
        emit OnChange(this);
        return;
    }
    m_pathCalls->start<std::shared_ptr<BoundPath>>(
        {full}, [desktop = m_desktop, full] { return std::make_shared<BoundPath>(bindPath(*desktop, full)); },
        [this](std::shared_ptr<BoundPath> bound) {
            if (bound->folder && openFolder(std::move(bound->folder)) && !bound->fileName.isEmpty()) {
                m_filling = true;
                SelectFile(bound->fileName);
                m_filling = false;
            }
            reflectSelection();
            emit OnChange(this);
        });
}

bool TFileListView::SelectFile(const QByteArray &name)
{
    m_selection->clear();
    const int match = findItemByName(count(), [this](int row) -> const QByteArray & {
        return m_model->row(row).info.name;
    }, name);
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
            if (target && m_desktop && m_desktop->parseDisplayName(*target, &ids, nullptr))
                goTo(*target);
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

void TFileListView::goTo(const QByteArray &path)
{
    if (auto *tree = qobject_cast<TFolderTreeView *>(m_folderControl))
        tree->setFolderName(path);
    else if (auto *dropDown = qobject_cast<TFolderDropDown *>(m_folderControl))
        dropDown->setFolderName(path);
    else
        setFileName(path);
}

QByteArray TFileListView::listedPath() const
{
    return listedFolder() ? listedFolder()->displayNameOf(emptyItemIdList(), nameflags::kForParsing).value_or(QByteArray())
                          : QByteArray();
}

void TFileListView::watchListedFolder()
{
    const QByteArray path = listedPath();
    if (!path.startsWith('/')) {
        m_folderWatch->watch(QByteArray());
        return;
    }
    // A folder that is gone already (a stale row of a folder control led
    // here) is left at once, once the caller is done.
    if (!m_folderWatch->watch(path) && FolderWatch::nearestExisting(path) != path)
        QTimer::singleShot(0, this, [this, path] { leaveVanishedFolder(path); });
}

void TFileListView::leaveVanishedFolder(const QByteArray &path)
{
    // Only while that folder is still the one listed.
    if (listedPath() != path)
        return;
    // The folder control walks there too, so that it and the list agree.
    const QByteArray nearest = FolderWatch::nearestExisting(path);
    goTo(nearest);
    if (listedPath() != nearest)
        setFileName(nearest);
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
    const QByteArray here = listedPath();
    const qsizetype slash = here.lastIndexOf('/');
    if (!here.startsWith('/') || here == "/")
        return;
    setFileName(slash <= 0 ? QByteArray("/") : here.left(slash));
    // Back in the parent, the folder just left is the selected item.
    SelectFile(here.mid(slash + 1));
}
