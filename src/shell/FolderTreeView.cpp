// Building the tree: construction, nodes, enumeration, order, icons, scrolling.
#include "shell/FolderTreeView.h"

#include "shell/FflIconList.h"
#include "shell/FolderTreeModel.h"
#include "shell/FolderTreeNode.h"
#include "shell/IconExtractor.h"

#include "platform/FreshMemory.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>

#include <algorithm>

using namespace shellns;

TFolderTreeView::TFolderTreeView(QWidget *parent)
    : TFolderTreeView(desktopFolder(), parent)
{
}

TFolderTreeView::TFolderTreeView(std::shared_ptr<ShellFolder> desktop, QWidget *parent)
    : QTreeView(parent)
    , m_model(new FolderTreeModel(this))
    , m_desktop(std::move(desktop))
    , m_extractor(std::make_unique<ThemeIconExtractor>())
{
    setModel(m_model);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    setAnimated(false);
    setExpandsOnDoubleClick(true);
    setRootIsDecorated(true);
    // Long names scroll sideways instead of being cut short; the column is
    // as wide as the labels in view, measured on the rows shown only.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::Interactive);
    header()->setResizeContentsPrecision(0);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { fitColumnWidth(true); });
    createReaders();

    if (m_desktop)
        m_documentsId = m_desktop->specialFolderLocation(SpecialFolder::Documents);
    getShellSettings();

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current, const QModelIndex &previous) {
                if (m_clearing)
                    return;
                // A selection the walk did not make ends the walk.
                if (!m_walkSelects && m_walk)
                    endWalk();
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
    disconnect(selectionModel(), nullptr, this, nullptr);
    clear();
}

FolderTreeNode *TFolderTreeView::node(const QModelIndex &index)
{
    return FolderTreeModel::nodeOf(index);
}

FolderTreeNode *TFolderTreeView::rootNode() const
{
    return m_model->root();
}

FolderTreeNode *TFolderTreeView::selectedNode() const
{
    return node(currentIndex());
}

void TFolderTreeView::selectNode(FolderTreeNode *node)
{
    setCurrentIndex(indexOf(node));
}

FolderTreeNode *TFolderTreeView::nodeAt(const QPoint &point) const
{
    return node(indexAt(point));
}

QModelIndex TFolderTreeView::indexOf(const FolderTreeNode *node) const
{
    return m_model->indexOf(node);
}

bool TFolderTreeView::isNodeExpanded(const FolderTreeNode *node) const
{
    return isExpanded(indexOf(node));
}

bool TFolderTreeView::isNodeSelected(const FolderTreeNode *node) const
{
    return selectionModel()->isSelected(indexOf(node));
}

void TFolderTreeView::setNodeSelected(const FolderTreeNode *node, bool selected)
{
    if (const QModelIndex index = indexOf(node); index.isValid())
        selectionModel()->select(index, selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

QRect TFolderTreeView::nodeRect(const FolderTreeNode *node) const
{
    return visualRect(indexOf(node));
}

bool TFolderTreeView::event(QEvent *event)
{
    const bool handled = QTreeView::event(event);
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
    QTreeView::changeEvent(event);
}

void TFolderTreeView::initialize()
{
    delete m_images;
    m_images = new TFflIconList(this, true);
    setIconSize(m_images->iconSize());
}

void TFolderTreeView::clear()
{
    if (!m_clearing)
        selectNothing();
    const bool wasClearing = m_clearing;
    m_clearing = true;
    // Answers for nodes about to go are dropped.
    cancelReads();
    // The nodes go with their records, folder references and icons; the
    // icon list goes as a whole, so no image needs giving back one by one.
    m_model->setRoot(nullptr);
    delete m_images;
    m_images = nullptr;
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

ShellItemFilter TFolderTreeView::itemFilter() const
{
    ShellItemFilter filter;
    filter.includeFiles = m_includeFile;
    filter.onlyFileSystem = m_onlyFileSystem;
    filter.showHidden = m_showHidden;
    filter.userShowsHidden = m_shellSettings.showHiddenFiles;
    return filter;
}

namespace {

TFflNodeInfo nodeInfo(ShellFolderItem item)
{
    TFflNodeInfo info;
    info.name = std::move(item.name);
    info.attributes = item.attributes;
    info.itemId = std::move(item.itemId);
    return info;
}

// A volume that did not answer is dimmed too, until it does.
bool isCutItem(std::uint32_t attributes, const ShellItemFilter &filter)
{
    return filter.isHidden(attributes) || (attributes & attr::kIsSlow);
}

} // namespace

FolderTreeNode TFolderTreeView::newNode(FolderTreeNode *parent, ShellFolderItem item,
                                        const ShellItemFilter &filter) const
{
    const bool cut = isCutItem(item.attributes, filter);
    FolderTreeNode node(parent, nodeInfo(std::move(item)));
    node.setCut(cut);
    return node;
}

std::vector<FolderTreeNode> TFolderTreeView::newNodes(FolderTreeNode *parent, const ShellFolderListing &listing,
                                                      const ShellItemFilter &filter) const
{
    // Made in place, their names and identifier lists sharing the listing's
    // bytes: a folder of thousands of subfolders costs no allocation per node.
    std::vector<FolderTreeNode> nodes;
    nodes.reserve(listing.size());
    freshmemory::prepareForWriting(nodes.data(), nodes.capacity() * sizeof(FolderTreeNode));
    for (std::size_t i = 0; i < listing.size(); ++i) {
        ShellFolderItem item = listing.sharedItem(i);
        const bool cut = isCutItem(item.attributes, filter);
        nodes.emplace_back(parent, nodeInfo(std::move(item))).setCut(cut);
    }
    return nodes;
}

ShellFolder *TFolderTreeView::getParentShellFolder(FolderTreeNode *node) const
{
    if (!node)
        return nullptr;
    if (!node->parent())
        return m_desktop.get();
    return node->parent()->info()->folder.get();
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

QIcon TFolderTreeView::nodeIcon(FolderTreeNode &node) const
{
    if (!m_images)
        return QIcon();
    return m_images->itemIcon(node.icons(*m_images, m_extractor.get()), node.isCut());
}

void TFolderTreeView::fitColumnWidth(bool growOnly)
{
    if (!m_model->root())
        return;
    int width = std::max(sizeHintForColumn(0), viewport()->width());
    if (growOnly)
        width = std::max(width, columnWidth(0));
    if (width != columnWidth(0))
        setColumnWidth(0, width);
}

void TFolderTreeView::updateGeometries()
{
    fitColumnWidth(false);
    QTreeView::updateGeometries();
}

void TFolderTreeView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (m_walking)
        return;
    QTreeView::scrollTo(index, hint);
    if (!index.isValid())
        return;
    // The row's icon and label, from where its indentation ends.
    fitColumnWidth(true);
    const QRect row = visualRect(index);
    const int offset = horizontalScrollBar()->value();
    const int left = row.left() + offset;
    const int right = left + std::min(row.width(), sizeHintForIndex(index).width());
    const int visible = viewport()->width();
    // Left edge in view when the whole row fits; else the label's end, else its start.
    const int wanted = std::max(0, std::min(left, right - visible));
    horizontalScrollBar()->setValue(wanted);
}
