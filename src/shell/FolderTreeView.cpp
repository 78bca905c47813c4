// Building the tree: construction, nodes, enumeration, order, icons, deletion.
#include "shell/FolderTreeView.h"

#include "shell/FflIconList.h"
#include "shell/FolderTreeNode.h"
#include "shell/IconExtractor.h"

#include <QEvent>
#include <QFile>
#include <QHeaderView>
#include <QPainter>
#include <QTreeWidgetItemIterator>

#include <algorithm>

using namespace shellns;

TFolderTreeView::TFolderTreeView(QWidget *parent)
    : TFolderTreeView(desktopFolder(), parent)
{
}

TFolderTreeView::TFolderTreeView(std::shared_ptr<ShellFolder> desktop, QWidget *parent)
    : QTreeWidget(parent)
    , m_desktop(std::move(desktop))
    , m_extractor(std::make_unique<ThemeIconExtractor>())
{
    setColumnCount(1);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    setAnimated(false);
    setExpandsOnDoubleClick(true);
    setRootIsDecorated(true);
    // Long names scroll sideways instead of being cut short.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    if (m_desktop)
        m_documentsId = m_desktop->specialFolderLocation(SpecialFolder::Documents);
    getShellSettings();

    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current, QTreeWidgetItem *previous) {
                if (m_clearing)
                    return;
                changingEvent(node(previous));
                changeEvent(this, node(current));
            });

    // A tree made inside its parent fills itself at once.
    if (parent) {
        initialize();
        retrieveRootFolders();
    }
}

TFolderTreeView::~TFolderTreeView()
{
    m_clearing = true;
    disconnect(this, &QTreeWidget::currentItemChanged, this, nullptr);
    clear();
}

FolderTreeNode *TFolderTreeView::node(QTreeWidgetItem *item)
{
    return item && item->type() == FolderTreeNode::kType ? static_cast<FolderTreeNode *>(item) : nullptr;
}

FolderTreeNode *TFolderTreeView::rootNode() const
{
    return topLevelItemCount() > 0 ? node(topLevelItem(0)) : nullptr;
}

bool TFolderTreeView::event(QEvent *event)
{
    const bool handled = QTreeWidget::event(event);
    if (event->type() == QEvent::ParentChange) {
        clear();
        if (parentWidget()) {
            initialize();
            retrieveRootFolders();
        }
    }
    return handled;
}

void TFolderTreeView::changeEvent(QEvent *event)
{
    // Bold and dimmed looks follow the tree's font and palette.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
        viewport()->update();
    QTreeWidget::changeEvent(event);
}

void TFolderTreeView::initialize()
{
    delete m_images;
    m_images = new TFflIconList(this, true);
    m_iconCache.clear();
    setIconSize(m_images->iconSize());
}

void TFolderTreeView::clear()
{
    if (!m_clearing)
        selectNothing();
    const bool wasClearing = m_clearing;
    m_clearing = true;
    if (m_images) {
        for (QTreeWidgetItemIterator it(this); *it; ++it)
            deleteNode(node(*it));
    }
    QTreeWidget::clear();
    delete m_images;
    m_images = nullptr;
    m_iconCache.clear();
    m_folderName.clear();
    m_folderNames.clear();
    m_clearing = wasClearing;
}

void TFolderTreeView::getShellSettings()
{
    m_shellSettings = readShellSettings();
}

void TFolderTreeView::setShowHidden(int mode)
{
    m_showHidden = toShowHidden(mode);
    getShellSettings();
}

void TFolderTreeView::retrieveRootFolders()
{
    if (!m_desktop)
        return;
    const auto desktopId = m_desktop->specialFolderLocation(SpecialFolder::Desktop);
    FolderTreeNode *root = desktopId ? addNode(nullptr, m_desktop, *desktopId) : nullptr;
    if (!root)
        return;
    root->info()->folder = m_desktop;
    root->info()->enumerated = true;
    addTopLevelItem(root);

    // Files are never listed at the Desktop's own level.
    QList<QTreeWidgetItem *> children;
    if (const auto ids = m_desktop->enumObjects(enumflags::kFolders | enumflags::kIncludeHidden)) {
        for (const ItemIdList &id : *ids) {
            if (FolderTreeNode *child = addNode(root, m_desktop, id))
                children.append(child);
        }
    }
    sortChildren(root, children);
    root->addChildren(children);
    root->setExpanded(true);
}

FolderTreeNode *TFolderTreeView::addNode(FolderTreeNode *, const std::shared_ptr<ShellFolder> &folder,
                                         const ItemIdList &itemId)
{
    const auto label = folder->displayNameOf(itemId, nameflags::kNormal);
    if (!label)
        return nullptr;
    const auto name = folder->displayNameOf(itemId, nameflags::kInFolder | nameflags::kForParsing);
    if (!name)
        return nullptr;
    const auto attributes = folder->attributesOf(itemId, attr::kBrowseMask);
    if (!attributes)
        return nullptr;

    const bool hidden = *attributes & (attr::kHidden | attr::kGhosted);
    if (!(*attributes & attr::kFolder) && !m_includeFile)
        return nullptr;
    if (!(*attributes & (attr::kFileSystem | attr::kFileSysAncestor)) && m_onlyFileSystem)
        return nullptr;
    if (hidden && !showsHiddenItems(m_showHidden, m_shellSettings.showHiddenFiles))
        return nullptr;

    auto info = std::make_unique<TFflNodeInfo>();
    info->name = *name;
    info->attributes = *attributes;
    info->itemId = itemId;
    auto *item = new FolderTreeNode(QFile::decodeName(*label), std::move(info));

    if (!m_images)
        return item;
    if (const auto normal = folder->iconLocation(itemId, 0)) {
        item->setImageIndex(m_images->acquireIcon(m_extractor.get(), normal->location, normal->index));
        item->setSelectedIndex(item->imageIndex());
        if (const auto open = folder->iconLocation(itemId, iconflags::kOpenIcon)) {
            const int opened = m_images->acquireIcon(m_extractor.get(), open->location, open->index);
            // The same picture open and shut holds one reference, which the node gives back once.
            if (opened == item->imageIndex() && opened >= 0)
                m_images->releaseIcon(opened);
            else
                item->setSelectedIndex(opened);
        }
    }
    item->setCut(hidden);
    if (*attributes & attr::kShare) {
        m_images->setShellOverlay(1, folder.get(), itemId);
        item->setOverlayIndex(1);
    }
    if (*attributes & attr::kLink) {
        m_images->setShellOverlay(2, folder.get(), itemId);
        item->setOverlayIndex(2);
    }
    return item;
}

void TFolderTreeView::submitFolder(FolderTreeNode *node)
{
    if (!node || node->info()->enumerated)
        return;
    ShellFolder *parentFolder = getParentShellFolder(node);
    if (!parentFolder)
        return;
    std::shared_ptr<ShellFolder> folder = parentFolder->bindToObject(node->info()->itemId);
    if (!folder)
        return;
    const auto ids = folder->enumObjects(enumflags::kFolders | enumflags::kNonFolders
                                         | enumflags::kIncludeHidden);
    if (!ids)
        return;
    node->info()->folder = folder;
    node->info()->enumerated = true;

    QList<QTreeWidgetItem *> children;
    children.reserve(qsizetype(ids->size()));
    for (const ItemIdList &id : *ids) {
        if (FolderTreeNode *child = addNode(node, folder, id))
            children.append(child);
    }
    sortChildren(node, children);
    node->addChildren(children);
    node->setExpanded(true);
}

ShellFolder *TFolderTreeView::getParentShellFolder(FolderTreeNode *node) const
{
    if (!node)
        return nullptr;
    FolderTreeNode *parent = TFolderTreeView::node(node->parent());
    if (!parent)
        return m_desktop.get();
    return parent->info()->folder.get();
}

std::shared_ptr<ShellFolder> TFolderTreeView::newShellFolder(FolderTreeNode *node) const
{
    if (!node)
        return nullptr;
    if (node->info()->enumerated)
        return node->info()->folder;
    ShellFolder *parent = getParentShellFolder(node);
    return parent ? parent->bindToObject(node->info()->itemId) : nullptr;
}

int TFolderTreeView::compareNode(FolderTreeNode *parent, FolderTreeNode *a, FolderTreeNode *b) const
{
    if (!parent || !parent->info()->folder)
        return 0;
    ShellFolder *folder = parent->info()->folder.get();
    // The documents folder leads the Desktop's children.
    if (!parent->parent() && m_documentsId) {
        if (folder->compareIds(a->info()->itemId, *m_documentsId) == 0)
            return -1;
        if (folder->compareIds(b->info()->itemId, *m_documentsId) == 0)
            return 1;
    }
    const auto order = folder->compareIds(a->info()->itemId, b->info()->itemId);
    return order ? int(qint16(*order)) : 0;
}

void TFolderTreeView::sortChildren(FolderTreeNode *parent, QList<QTreeWidgetItem *> &children) const
{
    std::stable_sort(children.begin(), children.end(), [&](QTreeWidgetItem *a, QTreeWidgetItem *b) {
        return compareNode(parent, node(a), node(b)) < 0;
    });
}

void TFolderTreeView::deleteNode(FolderTreeNode *node)
{
    if (!node)
        return;
    if (m_images) {
        if (node->selectedIndex() != node->imageIndex() && m_images->releaseIcon(node->selectedIndex()))
            shiftImageIndices(node->selectedIndex());
        if (m_images->releaseIcon(node->imageIndex()))
            shiftImageIndices(node->imageIndex());
    }
    node->info()->folder.reset();
}

void TFolderTreeView::shiftImageIndices(int removed)
{
    m_iconCache.clear();
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        FolderTreeNode *each = node(*it);
        if (!each)
            continue;
        // Read both before changing either: the node's own indices may both move.
        const int image = each->imageIndex();
        const int selected = each->selectedIndex();
        if (image > removed)
            each->setImageIndex(image - 1);
        if (selected > removed)
            each->setSelectedIndex(selected - 1);
    }
}

QIcon TFolderTreeView::nodeIcon(const FolderTreeNode &node) const
{
    if (!m_images || node.imageIndex() < 0)
        return QIcon();
    const quint64 key = quint64(quint16(node.imageIndex() + 1)) | (quint64(quint16(node.selectedIndex() + 1)) << 16)
        | (quint64(quint16(node.overlayIndex() + 1)) << 32) | (quint64(node.isCut()) << 48);
    const auto cached = m_iconCache.constFind(key);
    if (cached != m_iconCache.constEnd())
        return *cached;

    const QPixmap overlay = m_images->image(m_images->overlay(node.overlayIndex()));
    auto compose = [&](int index) {
        QPixmap picture = m_images->image(index);
        if (picture.isNull())
            return picture;
        QPixmap result(picture.size());
        result.fill(Qt::transparent);
        QPainter painter(&result);
        if (node.isCut())
            painter.setOpacity(0.45);
        painter.drawPixmap(0, 0, picture);
        if (!overlay.isNull())
            painter.drawPixmap(0, 0, overlay);
        return result;
    };
    QIcon icon;
    const QPixmap normal = compose(node.imageIndex());
    if (!normal.isNull()) {
        icon.addPixmap(normal, QIcon::Normal);
        const QPixmap open = node.selectedIndex() >= 0 ? compose(node.selectedIndex()) : normal;
        icon.addPixmap(open.isNull() ? normal : open, QIcon::Selected);
    }
    m_iconCache.insert(key, icon);
    return icon;
}
