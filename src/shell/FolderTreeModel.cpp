#include "shell/FolderTreeModel.h"

#include "shell/FolderTreeNode.h"
#include "shell/FolderTreeView.h"

#include <QFont>
#include <QPalette>

FolderTreeModel::FolderTreeModel(TFolderTreeView *view)
    : QAbstractItemModel(view)
    , m_view(view)
{
}

FolderTreeModel::~FolderTreeModel() = default;

void FolderTreeModel::setRoot(std::unique_ptr<FolderTreeNode> root)
{
    beginResetModel();
    m_root = std::move(root);
    endResetModel();
}

void FolderTreeModel::setChildren(FolderTreeNode *parent, std::vector<FolderTreeNode> children)
{
    if (!parent || parent->childCount() > 0 || children.empty())
        return;
    beginInsertRows(indexOf(parent), 0, int(children.size()) - 1);
    parent->setChildren(std::move(children));
    endInsertRows();
}

void FolderTreeModel::nodeChanged(FolderTreeNode *node)
{
    const QModelIndex index = indexOf(node);
    if (index.isValid())
        emit dataChanged(index, index);
}

QModelIndex FolderTreeModel::indexOf(const FolderTreeNode *node) const
{
    if (!node)
        return QModelIndex();
    return createIndex(node->row(), 0, const_cast<FolderTreeNode *>(node));
}

FolderTreeNode *FolderTreeModel::nodeOf(const QModelIndex &index)
{
    return index.isValid() ? static_cast<FolderTreeNode *>(index.internalPointer()) : nullptr;
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0)
        return QModelIndex();
    if (!parent.isValid())
        return row == 0 && m_root ? createIndex(0, 0, m_root.get()) : QModelIndex();
    FolderTreeNode *child = nodeOf(parent)->child(row);
    return child ? createIndex(row, 0, child) : QModelIndex();
}

QModelIndex FolderTreeModel::parent(const QModelIndex &child) const
{
    const FolderTreeNode *node = nodeOf(child);
    return node ? indexOf(node->parent()) : QModelIndex();
}

int FolderTreeModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return m_root ? 1 : 0;
    return parent.column() == 0 ? nodeOf(parent)->childCount() : 0;
}

int FolderTreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

bool FolderTreeModel::hasChildren(const QModelIndex &parent) const
{
    // A folder shows an expand button only once it has been read and holds something.
    return rowCount(parent) > 0;
}

QVariant FolderTreeModel::data(const QModelIndex &index, int role) const
{
    FolderTreeNode *node = nodeOf(index);
    if (!node)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return node->isLoading() ? node->label() + QStringLiteral("（読み込み中）") : node->label();
    case Qt::ToolTipRole:
        if (node->info()->attributes & shellns::attr::kIsSlow)
            return QStringLiteral("%1 は応答がありません").arg(node->label());
        break;
    case Qt::DecorationRole:
        return m_view->nodeIcon(*node);
    case Qt::FontRole:
        if (node->isBold()) {
            QFont font = m_view->font();
            font.setBold(true);
            return font;
        }
        break;
    case Qt::ForegroundRole:
        if (node->isCut()) {
            QColor dimmed = m_view->palette().color(QPalette::Text);
            dimmed.setAlpha(128);
            return dimmed;
        }
        break;
    default:
        break;
    }
    return QVariant();
}

Qt::ItemFlags FolderTreeModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
