// The tree's selection: walking to a path, bookkeeping, the user's events
// and the linked file list view.
#include "shell/FolderTreeView.h"

#include "shell/FileListControl.h"
#include "shell/FflIconList.h"
#include "shell/FolderTreeNode.h"
#include "shell/ShellItemIds.h"

#include "platform/PathResolve.h"

#include <QMouseEvent>
#include <QStringDecoder>

#include <climits>

using namespace shellns;

namespace {

bool isFolder(const FolderTreeNode *node)
{
    return node && (node->info()->attributes & attr::kFolder);
}

// Equal names ignoring letter case; names that are not UTF-8 fold ASCII letters only.
bool sameNameIgnoringCase(const QByteArray &a, const QByteArray &b)
{
    if (a == b)
        return true;
    QStringDecoder left(QStringDecoder::Utf8);
    QStringDecoder right(QStringDecoder::Utf8);
    const QString x = left.decode(a);
    const QString y = right.decode(b);
    if (!left.hasError() && !right.hasError())
        return x.compare(y, Qt::CaseInsensitive) == 0;
    // Bytes of other encodings are compared as they are, but for ASCII letters.
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char p = a[i] >= 'A' && a[i] <= 'Z' ? char(a[i] + 32) : a[i];
        const char q = b[i] >= 'A' && b[i] <= 'Z' ? char(b[i] + 32) : b[i];
        if (p != q)
            return false;
    }
    return true;
}

QList<QTreeWidgetItem *> childrenOf(QTreeWidgetItem *item)
{
    QList<QTreeWidgetItem *> children;
    children.reserve(item->childCount());
    for (int i = 0; i < item->childCount(); ++i)
        children.append(item->child(i));
    return children;
}

} // namespace

FolderTreeNode *TFolderTreeView::matchChild(const QList<QTreeWidgetItem *> &candidates,
                                            const QByteArray &name) const
{
    // The file system tells "Music" from "music": a name spelled exactly wins.
    for (QTreeWidgetItem *item : candidates) {
        FolderTreeNode *each = node(item);
        if (each && each->info()->name == name)
            return each;
    }
    for (QTreeWidgetItem *item : candidates) {
        FolderTreeNode *each = node(item);
        if (each && sameNameIgnoringCase(each->info()->name, name))
            return each;
    }
    return nullptr;
}

void TFolderTreeView::selectNothing()
{
    clearSelection();
    setCurrentItem(nullptr);
}

void TFolderTreeView::setFolderName(const QByteArray &path)
{
    selectNothing();
    searchNode(path);
}

void TFolderTreeView::searchNode(const QByteArray &path)
{
    FolderTreeNode *root = rootNode();
    if (path.isEmpty() || !root || !m_desktop)
        return;
    const QByteArray full = paths::absoluteClean(path);
    if (full.size() >= PATH_MAX)
        return;
    ItemIdList ids;
    std::uint32_t attributes = attr::kFolder;
    if (!m_desktop->parseDisplayName(full, &ids, &attributes))
        return;

    std::shared_ptr<ShellFolder> current = m_desktop;
    QList<QTreeWidgetItem *> candidates = childrenOf(root);
    QByteArray lastName;
    std::optional<QByteArrayView> position = QByteArrayView(ids);
    while (position) {
        std::optional<ItemIdList> element = copyFirstItemId(*position);
        if (!element)
            break;
        lastName = current->displayNameOf(*element, nameflags::kInFolder | nameflags::kForParsing)
                       .value_or(QByteArray());
        FolderTreeNode *match = matchChild(candidates, lastName);
        if (!match)
            break;
        setCurrentItem(match);
        position = nextItemId(*position);
        if (!position)
            break;
        submitFolder(match);
        candidates = childrenOf(match);
        current = current->bindToObject(*element);
        if (!current)
            break;
    }

    if (!m_includeFile && !(attributes & attr::kFolder) && m_fileList) {
        if (m_fileList->SelectFile(lastName)) {
            if (QTreeWidgetItem *selected = currentItem())
                selected->setSelected(false);
        }
    }
}

void TFolderTreeView::reflectSelection()
{
    m_folderName.clear();
    FolderTreeNode *selected = node(currentItem());
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
    const QList<QTreeWidgetItem *> nodes =
        MultiSelect() ? selectedItems() : (selected ? QList<QTreeWidgetItem *>{selected} : QList<QTreeWidgetItem *>{});
    for (QTreeWidgetItem *item : nodes) {
        if (FolderTreeNode *each = node(item)) {
            if (const auto name = parsingName(each))
                m_folderNames.append(*name);
        }
    }
}

void TFolderTreeView::changingEvent(FolderTreeNode *node)
{
    if (node)
        node->setBold(false);
}

void TFolderTreeView::changeEvent(QObject *sender, FolderTreeNode *node)
{
    if (m_emphasizeFocus && node)
        node->setBold(true);
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
    if (FolderTreeNode *selected = node(currentItem()))
        selected->setBold(on);
}

void TFolderTreeView::Deselect()
{
    selectNothing();
}

void TFolderTreeView::SelectParent()
{
    FolderTreeNode *selected = node(currentItem());
    if (selected && selected->parent())
        setCurrentItem(selected->parent());
}

bool TFolderTreeView::OpenFolder(const QByteArray &name)
{
    FolderTreeNode *selected = node(currentItem());
    if (!isFolder(selected))
        return false;
    submitFolder(selected);
    FolderTreeNode *match = matchChild(childrenOf(selected), name);
    if (!match)
        return false;
    setCurrentItem(match);
    return true;
}

void TFolderTreeView::Refresh()
{
    const QByteArray remembered = m_folderName;
    clear();
    initialize();
    getShellSettings();
    retrieveRootFolders();
    if (!remembered.isEmpty())
        searchNode(remembered);
}

void TFolderTreeView::setMultiSelect(bool on)
{
    FolderTreeNode *selected = node(currentItem());
    const QList<QTreeWidgetItem *> selection = selectedItems();
    const bool notify = !on && MultiSelect() && selected
        && !(selection.size() == 1 && selection.first() == selected);
    setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    if (!on) {
        // One node stays selected: the current one.
        clearSelection();
        if (selected)
            selected->setSelected(true);
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
        FolderTreeNode *selected = node(currentItem());
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
        openInFileList(this, node(currentItem()));
    emit OnClick(this);
    if (MultiSelect() && m_folderNames != beforeNames)
        emit OnChange(this);
}

void TFolderTreeView::doubleClick()
{
    FolderTreeNode *selected = node(currentItem());
    if (!selected)
        return;
    const QList<QByteArray> beforeNames = m_folderNames;
    if (selected->info()->attributes & attr::kLink) {
        ShellFolder *parent = getParentShellFolder(selected);
        if (const auto target = parent ? parent->linkTarget(selected->info()->itemId) : std::nullopt)
            searchNode(*target);
    } else {
        submitFolder(selected);
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
        if (QTreeWidgetItem *item = itemAt(at))
            setCurrentItem(item);
    }
    emit OnMouseUp(this, event->button(), event->modifiers(), at.x(), at.y());
}

void TFolderTreeView::mouseReleaseEvent(QMouseEvent *event)
{
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        clickEvent();
    mouseUpEvent(event);
}

void TFolderTreeView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        doubleClick();
}
