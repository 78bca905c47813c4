#include "shell/FolderTreeView.h"

TFolderTreeView::TFolderTreeView(QWidget *parent)
    : QTreeWidget(parent)
{
    setHeaderHidden(true);
}

void TFolderTreeView::setFolderName(const QByteArray &path)
{
    m_folderName = path;
    emit OnChange(this);
}
