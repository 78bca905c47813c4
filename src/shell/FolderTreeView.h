#pragma once
// Folder tree over the shell namespace.
//
// For now a plain tree at its place in the window; the namespace walk,
// lazy enumeration and selection bookkeeping come with the shell namespace.
#include <QByteArray>
#include <QTreeWidget>

class TFolderTreeView : public QTreeWidget
{
    Q_OBJECT

public:
    explicit TFolderTreeView(QWidget *parent = nullptr);

    // Path of the selected folder, "" when nothing is selected.
    QByteArray FolderName() const { return m_folderName; }
    virtual void setFolderName(const QByteArray &path);

    bool EmphasizeFocus() const { return m_emphasizeFocus; }
    void setEmphasizeFocus(bool on) { m_emphasizeFocus = on; }

signals:
    // Raised after every change of the selection, also those made from code.
    void OnChange(QObject *sender);

private:
    QByteArray m_folderName;
    bool m_emphasizeFocus = false;
};
