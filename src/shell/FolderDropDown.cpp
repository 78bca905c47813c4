// The drop-down's entries: the initial content, walking to a path, going
// up and down, and the linked file list view.
#include "shell/FolderDropDown.h"

#include "shell/FflIconList.h"
#include "shell/FileListControl.h"
#include "shell/FileListView.h"
#include "shell/IconExtractor.h"
#include "shell/ShellFolderReader.h"
#include "shell/ShellItemIds.h"

#include "platform/PathResolve.h"

#include <QEvent>
#include <QFile>

#include <climits>

using namespace shellns;

TFolderDropDown::TFolderDropDown(QWidget *parent)
    : TFolderDropDown(desktopFolder(), parent)
{
}

TFolderDropDown::TFolderDropDown(std::shared_ptr<ShellFolder> desktop, QWidget *parent)
    : QComboBox(parent)
    , m_desktop(std::move(desktop))
    , m_extractor(std::make_unique<ThemeIconExtractor>())
{
    setMaxVisibleItems(8);
    setEditable(false);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(16);
    if (m_desktop)
        m_documentsId = m_desktop->specialFolderLocation(SpecialFolder::Documents);
    getShellSettings();
    // Only a pick by the user counts as a change; the program's own
    // selections raise it where an operation says so.
    connect(this, &QComboBox::activated, this, [this] { changeEvent(this); });
    setupDelegate();
    if (parent)
        fill();
}

TFolderDropDown::~TFolderDropDown()
{
    disconnect(this, &QComboBox::activated, this, nullptr);
    m_fileList.clear();
    clear();
}

bool TFolderDropDown::event(QEvent *event)
{
    const bool handled = QComboBox::event(event);
    if (event->type() == QEvent::ParentChange) {
        clear();
        if (parentWidget())
            fill();
    }
    return handled;
}

void TFolderDropDown::fill()
{
    initialize();
    retrieveInitialNodes();
    setCurrentIndex(m_documentsIndex);
    reflectSelection();
}

void TFolderDropDown::getShellSettings()
{
    m_shellSettings = readShellSettings();
}

void TFolderDropDown::setShowHidden(int mode)
{
    m_showHidden = toShowHidden(mode);
    getShellSettings();
}

void TFolderDropDown::clear()
{
    m_entries.clear();
    QComboBox::clear();
    delete m_images;
    m_images = nullptr;
    m_documentsIndex = -1;
    m_folderName.clear();
}

void TFolderDropDown::initialize()
{
    delete m_images;
    m_images = new TFflIconList(this, true);
    m_images->setResourceOverlay(0, QByteArrayLiteral("OverlayHidden"));
    setIconSize(m_images->iconSize());
}

int TFolderDropDown::insertNode(int position, int level, const std::shared_ptr<ShellFolder> &folder,
                                const ItemIdList &itemId)
{
    const auto label = folder->displayNameOf(itemId, nameflags::kNormal);
    const auto name = label ? folder->displayNameOf(itemId, nameflags::kInFolder | nameflags::kForParsing)
                            : std::nullopt;
    const auto bits = name ? folder->attributesOf(itemId, attr::kBrowseMask) : std::nullopt;
    if (!bits)
        return -1;
    if (!(*bits & attr::kFolder))
        return -1;
    if (!(*bits & (attr::kFileSystem | attr::kFileSysAncestor)) && m_onlyFileSystem)
        return -1;
    // Only a hidden item counts here: a ghosted one is listed, with the hidden overlay.
    if ((*bits & attr::kHidden) && !showsHiddenItems(m_showHidden, m_shellSettings.showHiddenFiles))
        return -1;

    auto entry = std::make_unique<TFflNodeInfo>();
    entry->name = *name;
    entry->attributes = *bits;
    entry->itemId = itemId;
    entry->level = level;
    TFflNodeInfo *info = entry.get();
    const int index = m_entries.insertAfter(position, std::move(entry));
    insertItem(index, QString::fromUtf8(*label));
    if (index <= m_documentsIndex)
        ++m_documentsIndex;

    if (m_images) {
        const FflItemIcons icons = m_images->acquireItemIcons(m_extractor.get(), *folder, itemId, *bits);
        info->imageIndex = icons.image;
        info->selectedIndex = icons.selected;
        info->overlayIndex = icons.overlay;
        // Hidden and ghosted folders wear the hidden overlay unless shared or linked.
        if (info->overlayIndex < 0 && (*bits & (attr::kHidden | attr::kGhosted)))
            info->overlayIndex = 0;
    }
    return index;
}

int TFolderDropDown::getInsertPos(int parent, const ShellFolder &folder, const ItemIdList &itemId) const
{
    if (m_entries.getFirstChild(parent) < 0)
        return parent;
    const bool atDesktop = m_entries.level(parent) == 0;
    if (atDesktop && m_documentsId && folder.compareIds(itemId, *m_documentsId) == 0)
        return parent;
    int position = parent;
    for (int child = m_entries.getFirstChild(parent); child >= 0; child = m_entries.getNextSibling(child)) {
        // The documents folder stays first below the Desktop, whatever the order says.
        if (!(atDesktop && child == m_documentsIndex)) {
            const auto order = folder.compareIds(itemId, m_entries.at(child)->itemId);
            if (!order)
                break;
            if (qint16(*order) < 0)
                break;
        }
        const int last = m_entries.getLastDescendant(child);
        position = last >= 0 ? last : child;
    }
    return position;
}

void TFolderDropDown::submitFolder(int index)
{
    TFflNodeInfo *entry = m_entries.at(index);
    ShellFolder *parent = getParentShellFolder(index);
    if (!entry || entry->folder || !parent)
        return;
    std::shared_ptr<ShellFolder> folder = parent->bindToObject(entry->itemId);
    // Only folders become entries: files are not asked for.
    const auto ids = folder ? folder->enumObjects(enumflags::kFolders | enumflags::kIncludeHidden) : std::nullopt;
    if (!ids)
        return;
    entry->folder = folder;
    entry->enumerated = true;
    const int level = entry->level + 1;
    for (const ItemIdList &id : *ids)
        insertNode(getInsertPos(index, *folder, id), level, folder, id);
}

int TFolderDropDown::insertNewNode(int parent, int level, const QByteArray &name)
{
    TFflNodeInfo *entry = m_entries.at(parent);
    ShellFolder *grandParent = getParentShellFolder(parent);
    if (!entry || !grandParent)
        return -1;
    std::shared_ptr<ShellFolder> folder = grandParent->bindToObject(entry->itemId);
    // Names come with the listing: no display-name call per item.
    const auto items = folder ? folder->enumItems(enumflags::kFolders | enumflags::kIncludeHidden, attr::kFolder)
                              : std::nullopt;
    if (!items)
        return -1;
    entry->folder = folder;
    entry->enumerated = false;
    // Going up and back in reuses the row made the first time.
    const int existing = m_entries.findChild(parent, name);
    if (existing >= 0)
        return existing;
    const int match = findItemByName(int(items->size()), [&](int i) -> const QByteArray & {
        return (*items)[size_t(i)].name;
    }, name);
    if (match < 0)
        return -1;
    const ItemIdList &id = (*items)[size_t(match)].itemId;
    // Among children added earlier the new one takes its place in the shell's order.
    return insertNode(getInsertPos(parent, *folder, id), level, folder, id);
}

void TFolderDropDown::retrieveInitialNodes()
{
    if (!m_desktop)
        return;
    const auto desktopId = m_desktop->specialFolderLocation(SpecialFolder::Desktop);
    if (!desktopId || insertNode(-1, 0, m_desktop, *desktopId) < 0)
        return;
    TFflNodeInfo *desktop = m_entries.at(0);
    desktop->folder = m_desktop;
    desktop->enumerated = true;
    const auto drivesId = m_desktop->specialFolderLocation(SpecialFolder::Drives);
    if (!drivesId)
        return;
    const auto ids = m_desktop->enumObjects(enumflags::kFolders | enumflags::kIncludeHidden);
    if (!ids)
        return;
    for (const ItemIdList &id : *ids) {
        const int index = insertNode(getInsertPos(0, *m_desktop, id), 1, m_desktop, id);
        if (index < 0)
            continue;
        if (m_documentsId && m_desktop->compareIds(id, *m_documentsId) == 0)
            m_documentsIndex = index;
        if (m_desktop->compareIds(id, *drivesId) == 0)
            submitFolder(index);
    }
}

void TFolderDropDown::setFolderName(const QByteArray &path)
{
    const QByteArray before = m_folderName;
    clear();
    fill();
    // A path that leads nowhere leaves the rebuilt list on the documents
    // folder: a linked list view is told, so that both show one folder.
    if (!searchNode(path) && m_folderName != before)
        changeEvent(this);
}

bool TFolderDropDown::searchNode(const QByteArray &path)
{
    if (path.isEmpty() || !m_desktop || m_entries.count() == 0)
        return false;
    const QByteArray full = paths::absoluteClean(path);
    if (full.size() >= PATH_MAX)
        return false;
    ItemIdList ids;
    std::uint32_t bits = attr::kFolder;
    if (!m_desktop->parseDisplayName(full, &ids, &bits))
        return false;
    const auto elements = splitItemIds(ids);
    if (!elements)
        return false;

    std::shared_ptr<ShellFolder> current = m_desktop;
    int candidate = m_entries.getFirstChild(0);
    QByteArray lastName;
    for (size_t k = 0; k < elements->size() && candidate >= 0; ++k) {
        const ItemIdList &element = (*elements)[k];
        lastName = current->displayNameOf(element, nameflags::kInFolder | nameflags::kForParsing)
                       .value_or(QByteArray());
        const int match = m_entries.findSibling(candidate, lastName);
        if (match < 0)
            break;
        setCurrentIndex(match);
        if (k + 1 == elements->size())
            break;
        current = current->bindToObject(element);
        if (!current)
            break;
        if (m_entries.at(match)->enumerated) {
            candidate = m_entries.getFirstChild(match);
        } else {
            const QByteArray next = current->displayNameOf((*elements)[k + 1],
                                                           nameflags::kInFolder | nameflags::kForParsing)
                                        .value_or(QByteArray());
            lastName = next;
            candidate = insertNewNode(match, m_entries.level(match) + 1, next);
        }
    }
    changeEvent(this);
    if (!(bits & attr::kFolder) && m_fileList.get())
        m_fileList.get()->SelectFile(lastName);
    return true;
}

ShellFolder *TFolderDropDown::getParentShellFolder(int index) const
{
    if (!m_entries.at(index))
        return nullptr;
    const int parent = m_entries.getParent(index);
    if (parent < 0)
        return m_desktop.get();
    return m_entries.at(parent)->folder.get();
}

std::shared_ptr<ShellFolder> TFolderDropDown::newShellFolder(int index) const
{
    TFflNodeInfo *entry = m_entries.at(index);
    if (!entry)
        return nullptr;
    if (entry->folder)
        return entry->folder;
    ShellFolder *parent = getParentShellFolder(index);
    return parent ? parent->bindToObject(entry->itemId) : nullptr;
}

void TFolderDropDown::reflectSelection()
{
    m_folderName.clear();
    const int selected = currentIndex();
    ShellFolder *parent = getParentShellFolder(selected);
    if (parent)
        m_folderName = parent->displayNameOf(m_entries.at(selected)->itemId, nameflags::kForParsing)
                           .value_or(QByteArray());
}

void TFolderDropDown::changeEvent(QObject *sender)
{
    reflectSelection();
    const int selected = currentIndex();
    if (m_fileList.get() && m_entries.at(selected))
        m_fileList.get()->OpenFolder(sender, newShellFolder(selected));
    emit OnChange(sender);
}

void TFolderDropDown::SelectParent()
{
    const int parent = m_entries.getParent(currentIndex());
    if (parent < 0)
        return;
    setCurrentIndex(parent);
    changeEvent(this);
}

bool TFolderDropDown::OpenFolder(const QByteArray &name)
{
    const int selected = currentIndex();
    TFflNodeInfo *entry = m_entries.at(selected);
    if (!entry || !(entry->attributes & attr::kFolder))
        return false;
    const int child = entry->enumerated ? m_entries.findSibling(m_entries.getFirstChild(selected), name)
                                        : insertNewNode(selected, entry->level + 1, name);
    if (child < 0)
        return false;
    setCurrentIndex(child);
    changeEvent(this);
    return true;
}

void TFolderDropDown::setFileListControl(QObject *list)
{
    if (list) {
        auto *view = qobject_cast<TFileListView *>(list);
        if (!view)
            return;
        m_fileList.set(view, this, [this] { setFileListControl(nullptr); });
        const int selected = currentIndex();
        if (m_entries.at(selected))
            view->OpenFolder(this, newShellFolder(selected));
        return;
    }
    m_fileList.clear();
}

QObject *TFolderDropDown::FileListControl() const
{
    return m_fileList.get();
}
