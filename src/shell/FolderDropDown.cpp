// The drop-down's entries: the initial content, walking to a path, going
// up and down, and the linked file list view.
#include "shell/FolderDropDown.h"

#include "shell/FflIconList.h"
#include "shell/FileListControl.h"
#include "shell/FileListView.h"
#include "shell/IconExtractor.h"
#include "shell/ShellFolderReader.h"
#include "shell/ShellItemIds.h"

#include "platform/FileCalls.h"
#include "platform/PathResolve.h"

#include <QEvent>

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
    createReaders();
    // Only a pick by the user counts as a change; the program's own
    // selections raise it where an operation says so.
    connect(this, &QComboBox::activated, this, [this] {
        endWalk();
        changeEvent(this);
    });
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
    // Selects the documents folder once the Desktop's items are in.
    retrieveInitialNodes();
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

ShellItemFilter TFolderDropDown::itemFilter() const
{
    ShellItemFilter filter;
    filter.onlyFileSystem = m_onlyFileSystem;
    filter.showHidden = m_showHidden;
    filter.userShowsHidden = m_shellSettings.showHiddenFiles;
    // Only a hidden item counts here: a ghosted one is listed, with the hidden overlay.
    filter.hiddenBits = attr::kHidden;
    return filter;
}

void TFolderDropDown::clear()
{
    // Answers for entries about to go are dropped.
    cancelReads();
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
                                const ShellFolderItem &item)
{
    // Name and attributes come with the listing: the label is made here.
    const ItemIdList &itemId = item.itemId;
    const auto label = folder->displayNameOf(itemId, nameflags::kNormal);
    const std::uint32_t bits = item.attributes;
    if (!label || !itemFilter().accepts(bits))
        return -1;

    auto entry = std::make_unique<TFflNodeInfo>();
    entry->name = item.name;
    entry->attributes = bits;
    entry->itemId = itemId;
    entry->level = level;
    TFflNodeInfo *info = entry.get();
    const int index = m_entries.insertAfter(position, std::move(entry));
    insertItem(index, QString::fromUtf8(*label));
    if (index <= m_documentsIndex)
        ++m_documentsIndex;

    if (m_images) {
        const FflItemIcons icons = m_images->acquireItemIcons(m_extractor.get(), *folder, itemId, bits);
        info->imageIndex = icons.image;
        info->selectedIndex = icons.selected;
        info->overlayIndex = icons.overlay;
        // Hidden and ghosted folders wear the hidden overlay unless shared or linked.
        if (info->overlayIndex < 0 && (bits & (attr::kHidden | attr::kGhosted)))
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

int TFolderDropDown::insertNewNode(int parent, int level, FolderRead &read, const QByteArray &name)
{
    TFflNodeInfo *entry = m_entries.at(parent);
    if (!entry || !read.folder || !read.items)
        return -1;
    entry->folder = read.folder;
    entry->enumerated = false;
    // Going up and back in reuses the row made the first time.
    const int existing = m_entries.findChild(parent, name);
    if (existing >= 0)
        return existing;
    const std::vector<ShellFolderItem> &items = *read.items;
    const int match = findItemByName(int(items.size()), [&](int i) -> const QByteArray & {
        return items[size_t(i)].name;
    }, name);
    if (match < 0)
        return -1;
    // Among children added earlier the new one takes its place in the shell's order.
    return insertNode(getInsertPos(parent, *read.folder, items[size_t(match)].itemId), level, read.folder,
                      items[size_t(match)]);
}

void TFolderDropDown::setFolderName(const QByteArray &path)
{
    const QByteArray before = m_folderName;
    clear();
    fill();
    searchNode(path, before);
}

void TFolderDropDown::leadsNowhere(const QByteArray &before)
{
    // The rebuilt list stays on the documents folder: a linked list view is
    // told, so that both show one folder.
    if (m_folderName != before)
        changeEvent(this);
}

void TFolderDropDown::searchNode(const QByteArray &path, const QByteArray &before)
{
    endWalk();
    if (path.isEmpty() || !m_desktop || (m_entries.count() == 0 && !m_rootPending))
        return leadsNowhere(before);
    const QByteArray full = paths::absoluteClean(path);
    if (full.size() >= PATH_MAX)
        return leadsNowhere(before);
    m_walk = std::make_unique<Walk>();
    Walk *walk = m_walk.get();
    walk->path = full;
    walk->current = m_desktop;
    m_walkCalls->start<std::shared_ptr<ParsedShellPath>>(
        {full},
        [desktop = m_desktop, full] { return std::make_shared<ParsedShellPath>(parseShellPath(*desktop, full)); },
        [this, walk, before](std::shared_ptr<ParsedShellPath> parsed) {
            if (m_walk.get() != walk)
                return;
            auto elements = parsed->ok ? splitItemIds(parsed->ids) : std::nullopt;
            // A path the namespace cannot parse leaves the rebuilt list as it is.
            if (!elements) {
                m_walk.reset();
                leadsNowhere(before);
                return;
            }
            walk->elements = std::move(*elements);
            walk->attributes = parsed->attributes;
            walk->parsed = true;
            continueWalk();
        });
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
    showInFileList(sender, currentIndex());
    emit OnChange(sender);
}

void TFolderDropDown::SelectParent()
{
    const int parent = m_entries.getParent(currentIndex());
    if (parent < 0)
        return;
    endWalk();
    setCurrentIndex(parent);
    changeEvent(this);
}

bool TFolderDropDown::OpenFolder(const QByteArray &name)
{
    const int selected = currentIndex();
    TFflNodeInfo *entry = m_entries.at(selected);
    if (!entry || !(entry->attributes & attr::kFolder))
        return false;
    endWalk();
    if (entry->enumerated) {
        const int child = m_entries.findSibling(m_entries.getFirstChild(selected), name);
        if (child < 0)
            return false;
        setCurrentIndex(child);
        changeEvent(this);
        return true;
    }
    auto wentIn = std::make_shared<bool>(false);
    readFolder(entry, m_openCalls, [this, entry, name, wentIn](int index, FolderRead &read) {
        // Something else picked meanwhile: the step down is no longer wanted.
        if (index != currentIndex())
            return;
        const int child = insertNewNode(index, entry->level + 1, read, name);
        if (child < 0)
            return;
        setCurrentIndex(child);
        changeEvent(this);
        *wentIn = true;
    });
    return *wentIn;
}

void TFolderDropDown::setFileListControl(QObject *list)
{
    if (list) {
        auto *view = qobject_cast<TFileListView *>(list);
        if (!view)
            return;
        m_fileList.set(view, this, [this] { setFileListControl(nullptr); });
        showInFileList(this, currentIndex());
        return;
    }
    m_fileList.clear();
    m_listCalls->cancel();
    setReading(m_listCalls, nullptr);
}

QObject *TFolderDropDown::FileListControl() const
{
    return m_fileList.get();
}
