// The sorting commands and the key map: a sort moves or copies the current
// file into a slot's folder and makes the next file current; the next
// command advances without sorting.
#include "app/MainForm1.h"

#include "app/WindowsMediaPlayer.h"
#include "controls/BrowseEdit.h"
#include "controls/FileListBox.h"
#include "platform/FileOperations.h"
#include "platform/Keys.h"
#include "platform/Paths.h"

#include <QFile>
#include <QRadioButton>

namespace {

// The slot a key code sorts into, or 0.
int slotForKey(int key)
{
    if (key >= keys::kVkNumpad0 + 1 && key <= keys::kVkNumpad0 + 9)
        return key - keys::kVkNumpad0;
    if (key >= keys::kVkF1 && key <= keys::kVkF1 + 8)
        return key - keys::kVkF1 + 1;
    return 0;
}

} // namespace

void TMainForm1::ClearButtonClick(int slot, QObject *Sender)
{
    const QByteArray target =
        paths::join(BrowseEdit[slot - 1]->Path(), paths::lastComponent(m_currentPath));
    // Nothing is current yet, the current file is gone (moved away before),
    // or the destination is the file's own folder: there is nothing to send.
    const bool sendable = FileOperations::isRegularFile(m_currentPath) && !FileOperations::sameFile(m_currentPath, target);

    if (RadioButton1->isChecked()) {
        // The rename replaces a same-named file in the destination in one step.
        const bool moved = sendable && !m_fileOps->move(m_currentPath, target);
        advanceAfterMove(Sender, moved);
    } else if (RadioButton2->isChecked()) {
        if (sendable)
            m_fileOps->copy(m_currentPath, target);
        advanceToFollowing(Sender);
    }
}

void TMainForm1::advanceAfterMove(QObject *Sender, bool moved)
{
    const int index = FileListBox1->selectedIndex();
    if (index < 0)
        return;
    // The next file first. When the selected item is the file just moved
    // away, the list in memory already tells which file the folder's new
    // listing will put at its place: the one after it, or the one before it
    // when it was the last. That file plays at once; the folder is read
    // again in the background (followReread).
    if (moved && FileListBox1->FileName() == m_currentPath) {
        const int count = FileListBox1->count();
        m_advancedFrom = index;
        if (count == 1) {
            WindowsMediaPlayer1->setURL(QByteArray());
        } else {
            FileListBox1->selectIndex(index + 1 < count ? index + 1 : index - 1);
            FileListBox1Click(Sender);
        }
        FileListBox1->removeItem(index);
        FileListBox1->UpdateLater();
        return;
    }
    // Nothing left the folder (a failed move, or the file was not the
    // selected one): read it now and select what stands at the same place.
    FileListBox1->Update();
    selectAfterMove(index, Sender);
}

void TMainForm1::selectAfterMove(int index, QObject *Sender)
{
    const int count = FileListBox1->count();
    if (count == 0) {
        WindowsMediaPlayer1->setURL(QByteArray());
        return;
    }
    // The file now at the moved file's place, or the new last one when the
    // list got shorter (also when other programs removed files meanwhile).
    FileListBox1->selectIndex(std::min(index, count - 1));
    FileListBox1Click(Sender);
}

void TMainForm1::followReread()
{
    // The folder's truth differs from the list the advance went by (another
    // program changed the folder). After a move the current file follows the
    // same rule as on a direct read; the player hears of it only when the
    // current file really changed.
    if (m_advancedFrom >= 0) {
        const int index = m_advancedFrom;
        m_advancedFrom = -1;
        const int count = FileListBox1->count();
        const QByteArray next = FileListBox1->itemName(std::min(index, count - 1));
        if (count > 0 && paths::join(FileListBox1->Directory(), next) == m_currentPath) {
            FileListBox1->selectIndex(std::min(index, count - 1));
            return;
        }
        selectAfterMove(index, this);
        return;
    }
    // The user has chosen another file since: it stays chosen, if it is still there.
    FileListBox1->selectIndex(FileListBox1->indexOfName(paths::lastComponent(m_currentPath)));
}

void TMainForm1::advanceToFollowing(QObject *Sender)
{
    const int index = FileListBox1->selectedIndex();
    if (index < 0 || index + 1 >= FileListBox1->count())
        return;
    FileListBox1->selectIndex(index + 1);
    FileListBox1Click(Sender);
}

void TMainForm1::rejectCurrentFile(QObject *Sender)
{
    // The desktop's trash keeps the file: it can always be brought back.
    const bool sendable = FileOperations::isRegularFile(m_currentPath);
    const bool trashed = sendable && QFile::moveToTrash(QFile::decodeName(m_currentPath));
    if (sendable && !trashed) {
        m_showError(QStringLiteral("%1 をごみ箱に移せません。")
                        .arg(paths::toDisplay(paths::lastComponent(m_currentPath))));
    }
    advanceAfterMove(Sender, trashed);
}

void TMainForm1::SpeedButton1Click(QObject *Sender)
{
    advanceToFollowing(Sender);
}

void TMainForm1::FormKeyDown(QObject *Sender, int &Key, Qt::KeyboardModifiers)
{
    if (Key == keys::kVkDelete) {
        // In a destination field Delete edits the text and never throws a file away.
        if (Sender == FileListBox1 || Sender == RadioButton1 || Sender == RadioButton2)
            rejectCurrentFile(this);
        return;
    }
    if (Key == keys::kVkSpace || Key == keys::kVkNumpad0) {
        SpeedButton1Click(this);
        return;
    }
    const int slot = slotForKey(Key);
    // The keys test the folder at the moment of the press, not the button's state.
    if (slot != 0 && FileOperations::isDirectory(BrowseEdit[slot - 1]->Path()))
        ClearButtonClick(slot, this);
}
