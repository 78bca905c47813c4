#pragma once
// The folder tree's nodes as an item model, one column.
//
// The model owns the root node (and through it every node). It answers
// the view's questions from the nodes; labels and icons are made only for
// the rows the view asks about, that is the rows it shows.
#include "shell/FolderTreeNode.h"

#include <QAbstractItemModel>

#include <memory>
#include <vector>

class TFolderTreeView;

class FolderTreeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit FolderTreeModel(TFolderTreeView *view);
    ~FolderTreeModel() override;

    FolderTreeNode *root() const { return m_root.get(); }
    // Replaces every node; none leaves the model empty.
    void setRoot(std::unique_ptr<FolderTreeNode> root);
    // Gives a node that has none its children.
    void setChildren(FolderTreeNode *parent, std::vector<FolderTreeNode> children);
    // The node's looks changed.
    void nodeChanged(FolderTreeNode *node);

    QModelIndex indexOf(const FolderTreeNode *node) const;
    static FolderTreeNode *nodeOf(const QModelIndex &index);

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    TFolderTreeView *m_view;
    std::unique_ptr<FolderTreeNode> m_root;
};
