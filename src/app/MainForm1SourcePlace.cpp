// Folders and files named from outside the window: the command line, and
// drops from a file manager on the file list, the folder tree and the sort
// buttons.
#include "app/MainForm1.h"

#include "app/FolderDropTarget.h"
#include "platform/DroppedPaths.h"
#include "app/SourcePlace.h"
#include "controls/BrowseEdit.h"
#include "controls/FileListBox.h"
#include "controls/Panel.h"
#include "platform/FileSystem.h"
#include "platform/FolderProbe.h"
#include "platform/PathResolve.h"
#include "platform/Paths.h"
#include "shell/FolderTreeView.h"
#include "skin/ClearButton.h"

void TMainForm1::acceptFolderDrops()
{
    const auto toSource = [this](const QByteArray &path, const QPoint &) {
        // An item on a mount that does not answer is taken as the folder it
        // most likely is, not waited for: the list then shows it loading.
        SourcePlace place;
        if (folderprobe::lookPatiently(path, droppedpaths::kFolderLookMs) == folderprobe::Answer::NoAnswer)
            place.folder = paths::absoluteClean(path);
        else
            place = SourcePlace::of(path);
        showSourcePlace(place, this);
        FileListBox1->setFocus();
    };
    new FolderDropTarget(FileListBox1->viewport(), toSource);
    new FolderDropTarget(FolderTreeView0->viewport(), toSource);
    // The sort buttons take their slot's folder, disabled ones as well, so
    // their drops are taken on the panel that holds them.
    const auto slotAt = [this](const QPoint &at) {
        for (int n = 1; n <= kSlotCount; ++n) {
            if (ClearButton[n - 1]->geometry().contains(at))
                return n;
        }
        return 0;
    };
    new FolderDropTarget(
        Panel1,
        [this, slotAt](const QByteArray &path, const QPoint &at) {
            if (const int slot = slotAt(at))
                BrowseEdit[slot - 1]->setPathFromDrop(path);
        },
        [slotAt](const QPoint &at) { return slotAt(at) != 0; });
}

void TMainForm1::openForThisRun(const SourcePlace &place)
{
    m_storedSourceFolder = FolderTreeView0->FolderName();
    showSourcePlace(place, this);
    m_thisRunFolder = FolderTreeView0->FolderName();
}

QByteArray TMainForm1::sourceFolderToSave() const
{
    // A folder the tree still waits for is the one chosen.
    const QByteArray walking = FolderTreeView0->walkingTo();
    const QByteArray shown = walking.isEmpty() ? FolderTreeView0->FolderName() : walking;
    if (!m_thisRunFolder.isEmpty() && shown == m_thisRunFolder)
        return m_storedSourceFolder;
    return shown;
}

void TMainForm1::showSourcePlace(const SourcePlace &place, QObject *Sender)
{
    if (!place.error.isEmpty()) {
        showMessage(place.error);
        return;
    }
    FolderTreeView0->setFolderName(place.folder);
    // The tree cannot always reach the folder (a hidden one while hidden
    // folders are not shown); the list lists it all the same.
    if (!m_fileSystem->sameFile(FileListBox1->Directory(), place.folder)) {
        m_advancedFrom = -1;
        if (!FileListBox1->setDirectory(place.folder)) {
            showMessage(QStringLiteral("フォルダ %1 を開けません").arg(paths::toDisplay(place.folder)));
            return;
        }
        if (FileListBox1->count() > 0)
            FileListBox1->selectIndex(0);
        FileListBox1Click(Sender);
    }
    if (place.fileName.isEmpty())
        return;
    const int index = FileListBox1->indexOfName(place.fileName);
    if (index < 0) {
        showMessage(QStringLiteral("%1 は一覧に並ぶ形式のファイルではありません").arg(paths::toDisplay(place.fileName)));
        return;
    }
    FileListBox1->selectIndex(index);
    FileListBox1Click(Sender);
}
