// Reading folders for the drop-down off the GUI thread: the Desktop's
// items, the volumes, the walk down to a path and a step down into a
// folder. Each read answers at once on a healthy disk (FileCalls); an entry
// whose folder does not answer says it is loading, and the drop-down goes
// on when the answer comes.
#include "shell/FolderDropDown.h"

#include "shell/FileListView.h"
#include "shell/ShellFolderReader.h"
#include "shell/ShellItemIds.h"

#include "platform/FileCalls.h"

using namespace shellns;

namespace {

// Shown after the label of an entry whose folder has not answered yet.
QString loadingMark()
{
    return QStringLiteral("（読み込み中）");
}

ShellReadOptions folderOptions(const ShellItemFilter &filter)
{
    ShellReadOptions options;
    // Only folders become entries: files are not asked for.
    options.enumFlags = enumflags::kFolders | enumflags::kIncludeHidden;
    options.filter = filter;
    return options;
}

} // namespace

void TFolderDropDown::createReaders()
{
    m_rootCalls = new FileCalls(this);
    m_drivesCalls = new FileCalls(this);
    m_walkCalls = new FileCalls(this);
    m_openCalls = new FileCalls(this);
    m_listCalls = new FileCalls(this);
    for (FileCalls *calls : {m_drivesCalls, m_walkCalls, m_openCalls, m_listCalls}) {
        connect(calls, &FileCalls::slow, this, [this, calls] {
            if (TFflNodeInfo *entry = m_reading.value(calls))
                showLoading(entry, true);
        });
    }
}

void TFolderDropDown::cancelReads()
{
    m_walk.reset();
    for (FileCalls *calls : {m_rootCalls, m_drivesCalls, m_walkCalls, m_openCalls, m_listCalls}) {
        calls->cancel();
        setReading(calls, nullptr);
    }
    m_rootPending = false;
    m_drivesPending = false;
}

void TFolderDropDown::endWalk()
{
    m_walk.reset();
    for (FileCalls *calls : {m_walkCalls, m_openCalls}) {
        calls->cancel();
        setReading(calls, nullptr);
    }
}

QByteArray TFolderDropDown::walkingTo() const
{
    return m_walk ? m_walk->path : QByteArray();
}

void TFolderDropDown::setReading(FileCalls *calls, TFflNodeInfo *entry)
{
    TFflNodeInfo *before = m_reading.value(calls);
    if (before && before != entry)
        showLoading(before, false);
    if (entry)
        m_reading.insert(calls, entry);
    else
        m_reading.remove(calls);
}

void TFolderDropDown::showLoading(TFflNodeInfo *entry, bool on)
{
    const int index = m_entries.indexOf(entry);
    if (index < 0 || m_loading.contains(entry) == on)
        return;
    QString label = itemText(index);
    if (on) {
        m_loading.append(entry);
        label += loadingMark();
    } else {
        m_loading.removeOne(entry);
        label.chop(loadingMark().size());
    }
    setItemText(index, label);
}

void TFolderDropDown::readFolder(TFflNodeInfo *entry, FileCalls *calls, ReadDone done)
{
    const int index = m_entries.indexOf(entry);
    const int parentIndex = m_entries.getParent(index);
    // The worker keeps the parent folder alive; the entry stays on this thread.
    const std::shared_ptr<ShellFolder> parent = parentIndex < 0 ? m_desktop : m_entries.at(parentIndex)->folder;
    if (index < 0 || !parent) {
        FolderRead none;
        done(index, none);
        return;
    }
    const ItemIdList id = entry->itemId;
    const ShellReadOptions options = folderOptions(itemFilter());
    setReading(calls, entry);
    calls->start<std::shared_ptr<FolderRead>>(
        shellItemPaths(*parent, id),
        [parent, id, options] {
            auto read = std::make_shared<FolderRead>();
            read->folder = parent->bindToObject(id);
            if (read->folder)
                read->items = readShellFolder(*read->folder, options);
            return read;
        },
        [this, calls, entry, done = std::move(done)](std::shared_ptr<FolderRead> read) {
            setReading(calls, nullptr);
            const int at = m_entries.indexOf(entry);
            if (at < 0)
                return;
            // A volume that did not answer when it was listed does now.
            if (read->items && (entry->attributes & attr::kIsSlow)) {
                entry->attributes &= ~attr::kIsSlow;
                update();
            }
            done(at, *read);
        });
}

void TFolderDropDown::showInFileList(QObject *sender, int index)
{
    TFflNodeInfo *entry = m_entries.at(index);
    m_listCalls->cancel();
    setReading(m_listCalls, nullptr);
    if (!m_fileList.get() || !entry)
        return;
    if (entry->folder) {
        m_fileList.get()->OpenFolder(sender, entry->folder);
        return;
    }
    const int parentIndex = m_entries.getParent(index);
    const std::shared_ptr<ShellFolder> parent = parentIndex < 0 ? m_desktop : m_entries.at(parentIndex)->folder;
    if (!parent) {
        m_fileList.get()->OpenFolder(sender, nullptr);
        return;
    }
    const ItemIdList id = entry->itemId;
    setReading(m_listCalls, entry);
    m_listCalls->start<std::shared_ptr<ShellFolder>>(
        shellItemPaths(*parent, id), [parent, id] { return parent->bindToObject(id); },
        [this, sender, entry](std::shared_ptr<ShellFolder> folder) {
            setReading(m_listCalls, nullptr);
            // The list follows the selection only while it is still this entry.
            if (m_fileList.get() && m_entries.at(currentIndex()) == entry)
                m_fileList.get()->OpenFolder(sender, std::move(folder));
        });
}

void TFolderDropDown::submitFolder(int index)
{
    TFflNodeInfo *entry = m_entries.at(index);
    if (!entry || entry->enumerated)
        return;
    m_drivesPending = true;
    readFolder(entry, m_drivesCalls, [this, entry](int at, FolderRead &read) {
        m_drivesPending = false;
        if (read.folder && read.items && !entry->enumerated) {
            entry->folder = read.folder;
            entry->enumerated = true;
            for (const ShellFolderItem &item : *read.items) {
                // A volume gone into before the list came is there already.
                if (m_entries.findChild(at, item.name) < 0)
                    insertNode(getInsertPos(at, *read.folder, item.itemId), entry->level + 1, read.folder, item);
            }
        }
        // A walk asked for meanwhile goes on through the volumes.
        continueWalk();
    });
}

void TFolderDropDown::retrieveInitialNodes()
{
    if (!m_desktop)
        return;
    const auto desktopId = m_desktop->specialFolderLocation(SpecialFolder::Desktop);
    if (!desktopId)
        return;
    struct RootRead
    {
        std::optional<std::uint32_t> attributes;
        std::optional<std::vector<ShellFolderItem>> items;
    };
    ShellReadOptions options = folderOptions(itemFilter());
    options.leadingItem = m_documentsId;
    m_rootPending = true;
    m_rootCalls->start<std::shared_ptr<RootRead>>(
        shellItemPaths(*m_desktop, *desktopId),
        [desktop = m_desktop, id = *desktopId, options] {
            auto read = std::make_shared<RootRead>();
            read->attributes = desktop->attributesOf(id, attr::kBrowseMask);
            if (read->attributes)
                read->items = readShellFolder(*desktop, options);
            return read;
        },
        [this, id = *desktopId](std::shared_ptr<RootRead> read) {
            // Still pending while the volumes are asked for: a walk goes on
            // only once the documents folder is selected.
            const auto name = m_desktop->displayNameOf(id, nameflags::kInFolder | nameflags::kForParsing);
            if (name && read->attributes && insertNode(-1, 0, m_desktop, {id, *name, *read->attributes, {}}) >= 0) {
                TFflNodeInfo *desktop = m_entries.at(0);
                desktop->folder = m_desktop;
                desktop->enumerated = true;
                const auto drivesId = m_desktop->specialFolderLocation(SpecialFolder::Drives);
                int drives = -1;
                for (const ShellFolderItem &item : read->items.value_or(std::vector<ShellFolderItem>())) {
                    if (!drivesId)
                        break;
                    const int index = insertNode(getInsertPos(0, *m_desktop, item.itemId), 1, m_desktop, item);
                    if (index < 0)
                        continue;
                    if (m_documentsId && m_desktop->compareIds(item.itemId, *m_documentsId) == 0)
                        m_documentsIndex = index;
                    if (m_desktop->compareIds(item.itemId, *drivesId) == 0)
                        drives = index;
                }
                if (TFflNodeInfo *entry = m_entries.at(drives))
                    submitFolder(m_entries.indexOf(entry));
            }
            m_rootPending = false;
            setCurrentIndex(m_documentsIndex);
            reflectSelection();
            continueWalk();
        });
}

void TFolderDropDown::continueWalk()
{
    Walk *walk = m_walk.get();
    // Not parsed yet, or the Desktop's items or the volumes are still on their way.
    if (!walk || !walk->parsed || m_rootPending || m_drivesPending)
        return;
    // Nothing to walk through: the rebuilt list stays as it is.
    if (m_entries.count() == 0) {
        m_walk.reset();
        return;
    }
    if (walk->next == 0)
        walk->candidate = m_entries.at(m_entries.getFirstChild(0));
    while (walk->candidate && walk->next < walk->elements.size()) {
        const ItemIdList &element = walk->elements[walk->next];
        walk->lastName = walk->current->displayNameOf(element, nameflags::kInFolder | nameflags::kForParsing)
                             .value_or(QByteArray());
        const int match = m_entries.findSibling(m_entries.indexOf(walk->candidate), walk->lastName);
        if (match < 0)
            break;
        setCurrentIndex(match);
        if (++walk->next == walk->elements.size())
            break;
        TFflNodeInfo *entry = m_entries.at(match);
        if (entry->enumerated) {
            walk->current = entry->folder;
            walk->candidate = m_entries.at(m_entries.getFirstChild(match));
            continue;
        }
        // The folder is read on a worker; its answer goes on from here.
        readFolder(entry, m_walkCalls, [this, walk, entry](int index, FolderRead &read) {
            if (m_walk.get() != walk)
                return;
            if (!read.folder) {
                finishWalk();
                return;
            }
            walk->current = read.folder;
            walk->lastName = walk->current->displayNameOf(walk->elements[walk->next],
                                                          nameflags::kInFolder | nameflags::kForParsing)
                                 .value_or(QByteArray());
            walk->candidate = m_entries.at(insertNewNode(index, entry->level + 1, read, walk->lastName));
            continueWalk();
        });
        return;
    }
    finishWalk();
}

void TFolderDropDown::finishWalk()
{
    const std::unique_ptr<Walk> walk = std::move(m_walk);
    changeEvent(this);
    if (!(walk->attributes & attr::kFolder) && m_fileList.get())
        m_fileList.get()->SelectFile(walk->lastName);
}
