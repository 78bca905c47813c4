#pragma once
// What a folder tree needs of the file list view linked to it: show a
// folder's contents, and select a file in it. The list view implements this
// next to its widget class; the tree links any QObject that does.
#include "namespace/ShellFolder.h"

#include <QByteArray>
#include <QObject>

#include <memory>

class FileListControl
{
public:
    virtual ~FileListControl() = default;

    // List `folder`; `sender` is the folder control that asks.
    virtual void OpenFolder(QObject *sender, std::shared_ptr<shellns::ShellFolder> folder) = 0;
    // Select the item with this in-folder name, ignoring case; true when found.
    virtual bool SelectFile(const QByteArray &name) = 0;
};
