// The sorting commands and the key map: a sort moves or copies the current
// file into a slot's folder and makes the next file current; the next
// command advances without sorting.
#include "app/MainForm1.h"

#include "controls/BrowseEdit.h"
#include "controls/FileListBox.h"
#include "platform/FileOperations.h"
#include "platform/Keys.h"
#include "platform/Paths.h"
#include "platform/PreviewPlayer.h"

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
        if (sendable)
            m_fileOps->move(m_currentPath, target);
        advanceAfterMove(Sender);
    } else if (RadioButton2->isChecked()) {
        if (sendable)
            m_fileOps->copy(m_currentPath, target);
        advanceToFollowing(Sender);
    }
}

void TMainForm1::advanceAfterMove(QObject *Sender)
{
    int index = FileListBox1->selectedIndex();
    if (index < 0)
        return;
    FileListBox1->Update();
    const int count = FileListBox1->count();
    if (count == 0) {
        m_player->setURL(QByteArray());
        return;
    }
    // The file now at the moved file's place, or the new last one when the
    // list got shorter (also when other programs removed files meanwhile).
    index = std::min(index, count - 1);
    FileListBox1->selectIndex(index);
    FileListBox1Click(Sender);
}

void TMainForm1::advanceToFollowing(QObject *Sender)
{
    const int index = FileListBox1->selectedIndex();
    if (index < 0 || index + 1 >= FileListBox1->count())
        return;
    FileListBox1->selectIndex(index + 1);
    FileListBox1Click(Sender);
}

void TMainForm1::SpeedButton1Click(QObject *Sender)
{
    advanceToFollowing(Sender);
}

void TMainForm1::FormKeyDown(QObject *, int &Key, Qt::KeyboardModifiers)
{
    if (Key == keys::kVkSpace || Key == keys::kVkNumpad0) {
        SpeedButton1Click(this);
        return;
    }
    const int slot = slotForKey(Key);
    // The keys test the folder at the moment of the press, not the button's state.
    if (slot != 0 && FileOperations::isDirectory(BrowseEdit[slot - 1]->Path()))
        ClearButtonClick(slot, this);
}
