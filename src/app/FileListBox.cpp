#include "app/FileListBox.h"

TFileListBox::TFileListBox(QWidget *parent)
    : QListWidget(parent)
{
    connect(this, &QListWidget::itemClicked, this, [this] { emit OnClick(this); });
}
