// The source folder, the file list and the current file: picking a folder
// lists its media files and makes the first one current; choosing a file in
// the list makes it current and hands it to the player.
#include "app/MainForm1.h"

#include "app/WindowsMediaPlayer.h"
#include "controls/FileListBox.h"
#include "platform/Paths.h"
#include "shell/FolderTreeView.h"

#include <QLabel>

void TMainForm1::setCurrentPath(const QByteArray &path)
{
    m_currentPath = path;
    Label0->setText(paths::toDisplay(path));
}

bool TMainForm1::treeFollowsList()
{
    if (m_treeFollowsList)
        return true;
    if (m_listLeadsTree.isEmpty())
        return false;
    if (FolderTreeView0->walkingTo() == m_listLeadsTree)
        return true;
    m_listLeadsTree.clear();
    return false;
}

void TMainForm1::FolderTreeView0Change(QObject *Sender)
{
    if (treeFollowsList())
        return;
    // A folder chosen now overrides where an earlier move's advance would go.
    m_advancedFrom = -1;
    // A folder that cannot be entered leaves list, current file and player
    // as they were. One that does not answer shows the list as loading; the
    // rest follows when it answers, unless another folder was chosen since.
    FileListBox1->applyFilePath(FolderTreeView0->FolderName(), [this, Sender](bool entered) {
        if (!entered)
            return;
        if (FileListBox1->count() > 0)
            FileListBox1->selectIndex(0);
        FileListBox1Click(Sender);
    });
}

void TMainForm1::FileListBox1Click(QObject *)
{
    const int index = FileListBox1->selectedIndex();
    if (index < 0)
        return;
    // The names come from the list's own folder; it is the tree's folder
    // whenever the tree's last change could be entered, and the working
    // directory while the tree has nothing selected.
    setCurrentPath(paths::join(FileListBox1->Directory(), FileListBox1->itemName(index)));
    WindowsMediaPlayer1->setURL(m_currentPath);
}

void TMainForm1::E1Click(QObject *)
{
    FileListBox1->Update();
    FolderTreeView0->viewport()->update();
}
