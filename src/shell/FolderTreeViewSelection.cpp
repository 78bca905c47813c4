// The tree's selection: walking to a path, bookkeeping, the user's events
// and the linked file list view.
#include "shell/FolderTreeView.h"

#include "shell/FileListControl.h"
#include "shell/FflIconList.h"
#include "shell/FolderTreeModel.h"
#include "shell/FolderTreeNode.h"
#include "shell/ShellItemIds.h"

#include "platform/FileCalls.h"

#include <QMouseEvent>

#include <climits>

using namespace shellns;

namespace {

bool isFolder(const FolderTreeNode *node)
{
    return node && (node->info()->attributes & attr::kFolder);
}

} // namespace

FolderTreeNode *TFolderTreeView::matchChild(FolderTreeNode *parent, const QByteArray &name) const
{
    if (!parent)
        return nullptr;
    const int found = findItemByName(
        parent->childCount(), [parent](int i) -> const QByteArray & { return parent->child(i)->info()->name; }, name);
    return parent->child(found);
}

void TFolderTreeView::selectNothing()
{
    clearSelection();
    setCurrentIndex(QModelIndex());
}

void TFolderTreeView::setFolderName(const QByteArray &path)
{
    selectNothing();
    searchNode(path);
}

void TFolderTreeView::reflectSelection()
{
    m_folderName.clear();
    FolderTreeNode *selected = selectedNode();
    auto parsingName = [this](FolderTreeNode *each) -> std::optional<QByteArray> {
        ShellFolder *parent = getParentShellFolder(each);
        if (!parent)
            return std::nullopt;
        return parent->displayNameOf(each->info()->itemId, nameflags::kForParsing);
    };
    if (selected)
        m_folderName = parsingName(selected).value_or(QByteArray());
    m_folderNames.clear();
    // Without multi-selection the selected node is the whole selection.
    const QList<FolderTreeNode *> nodes =
        MultiSelect() ? selectedNodes() : (selected ? QList<FolderTreeNode *>{selected} : QList<FolderTreeNode *>{});
    for (FolderTreeNode *each : nodes) {
        if (const auto name = parsingName(each))
            m_folderNames.append(*name);
    }
}

QList<FolderTreeNode *> TFolderTreeView::selectedNodes() const
{
    QList<FolderTreeNode *> nodes;
    for (const QModelIndex &index : selectionModel()->selectedIndexes()) {
        if (FolderTreeNode *each = node(index))
            nodes.append(each);
    }
    return nodes;
}

void TFolderTreeView::setBold(FolderTreeNode *node, bool bold)
{
    if (node && node->isBold() != bold) {
        node->setBold(bold);
        m_model->nodeChanged(node);
    }
}

void TFolderTreeView::changingEvent(FolderTreeNode *node)
{
    setBold(node, false);
}

void TFolderTreeView::changeEvent(QObject *sender, FolderTreeNode *node)
{
    if (m_emphasizeFocus)
        setBold(node, true);
    reflectSelection();
    openInFileList(sender, node);
    emit OnChange(sender);
}

void TFolderTreeView::openInFileList(QObject *sender, FolderTreeNode *node)
{
    if (m_fileList && isFolder(node))
        m_fileList->OpenFolder(sender, newShellFolder(node));
}

void TFolderTreeView::setEmphasizeFocus(bool on)
{
    m_emphasizeFocus = on;
    setBold(selectedNode(), on);
}

void TFolderTreeView::endWalk()
{
    m_walk.reset();
    m_walkCalls->cancel();
    setReading(m_walkCalls, nullptr);
}

void TFolderTreeView::Deselect()
{
    selectNothing();
}

void TFolderTreeView::SelectParent()
{
    FolderTreeNode *selected = selectedNode();
    if (selected && selected->parent())
        selectNode(selected->parent());
}

bool TFolderTreeView::OpenFolder(const QByteArray &name)
{
    FolderTreeNode *selected = selectedNode();
    if (!isFolder(selected))
        return false;
    // When the folder answers later, the child is selected then.
    auto found = std::make_shared<bool>(false);
    submitFolder(selected, m_openCalls, [this, selected, name, found](bool opened) {
        FolderTreeNode *match = opened ? matchChild(selected, name) : nullptr;
        if (match)
            selectNode(match);
        *found = match != nullptr;
    });
    return *found;
}

void TFolderTreeView::Refresh()
{
    const QByteArray remembered = m_walk ? walkingTo() : m_folderName;
    clear();
    initialize();
    getShellSettings();
    retrieveRootFolders();
    if (!remembered.isEmpty())
        searchNode(remembered);
}

void TFolderTreeView::setMultiSelect(bool on)
{
    FolderTreeNode *selected = selectedNode();
    const QList<FolderTreeNode *> selection = selectedNodes();
    const bool notify = !on && MultiSelect() && selected
        && !(selection.size() == 1 && selection.first() == selected);
    setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    if (!on) {
        // One node stays selected: the current one.
        clearSelection();
        setNodeSelected(selected, true);
    }
    if (notify)
        changeEvent(this, selected);
}

void TFolderTreeView::setFileListControl(QObject *list)
{
    if (list) {
        auto *target = dynamic_cast<::FileListControl *>(list);
        if (!target)
            return;
        disconnect(m_fileListGone);
        m_fileListObject = list;
        m_fileList = target;
        m_fileListGone = connect(list, &QObject::destroyed, this, [this] { setFileListControl(nullptr); });
        FolderTreeNode *selected = selectedNode();
        if (isFolder(selected))
            m_fileList->OpenFolder(this, newShellFolder(selected));
        return;
    }
    disconnect(m_fileListGone);
    m_fileListObject = nullptr;
    m_fileList = nullptr;
}

void TFolderTreeView::clickEvent()
{
    const QByteArray before = m_folderName;
    const QList<QByteArray> beforeNames = m_folderNames;
    reflectSelection();
    if (QString::fromUtf8(before).compare(QString::fromUtf8(m_folderName), Qt::CaseInsensitive) != 0)
        openInFileList(this, selectedNode());
    emit OnClick(this);
    if (MultiSelect() && m_folderNames != beforeNames)
        emit OnChange(this);
}

void TFolderTreeView::doubleClick()
{
    FolderTreeNode *selected = selectedNode();
    if (!selected)
        return;
    const QList<QByteArray> beforeNames = m_folderNames;
    if (selected->info()->attributes & attr::kLink) {
        ShellFolder *parent = getParentShellFolder(selected);
        if (const auto target = parent ? parent->linkTarget(selected->info()->itemId) : std::nullopt)
            searchNode(*target);
    } else {
        submitFolder(selected, m_openCalls);
    }
    reflectSelection();
    emit OnDblClick(this);
    if (MultiSelect() && m_folderNames != beforeNames)
        emit OnChange(this);
}

void TFolderTreeView::mouseUpEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        if (FolderTreeNode *under = nodeAt(at))
            selectNode(under);
    }
    emit OnMouseUp(this, event->button(), event->modifiers(), at.x(), at.y());
}

void TFolderTreeView::mouseReleaseEvent(QMouseEvent *event)
{
    QTreeView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        clickEvent();
    mouseUpEvent(event);
}

void TFolderTreeView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        doubleClick();
}
