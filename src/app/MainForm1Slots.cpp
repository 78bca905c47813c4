// The nine destination slots: a slot's sort button is usable only while its
// field names an existing folder, and its label shows that folder's name.
// The folder is looked at on a worker thread: one on a share or a drive
// that does not answer shows the slot as waiting, and its keys are refused
// at once, until it answers.
#include "app/MainForm1.h"

#include "app/SortTexts.h"
#include "controls/BrowseEdit.h"
#include "controls/FileListBox.h"
#include "platform/FileCalls.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "skin/ClearButton.h"

#include <QLabel>

QByteArray TMainForm1::slotFolder(int slot) const
{
    // Relative texts are taken in the listed folder, the working directory.
    const QByteArray text = BrowseEdit[slot - 1]->Path();
    const QByteArray listed = FileListBox1->Directory();
    return text.isEmpty() || text.startsWith('/') || listed.isEmpty() ? text : paths::join(listed, text);
}

void TMainForm1::BrowseEditChange(int slot, QObject *)
{
    const QByteArray text = BrowseEdit[slot - 1]->Path();
    FileCalls *calls = m_slotCalls[slot - 1];
    if (text.isEmpty()) {
        calls->cancel();
        showSlot(slot, text, false);
        return;
    }
    const QByteArray folder = slotFolder(slot);
    calls->start<bool>({folder},
        [fs = m_fileSystem, folder] { return fs->isDirectory(folder); },
        [this, slot, text](bool exists) { showSlot(slot, text, exists); });
}

void TMainForm1::showSlot(int slot, const QByteArray &text, bool exists)
{
    ClearButton[slot - 1]->setEnabled(exists);
    Label[slot - 1]->setText(exists ? paths::toDisplay(paths::folderName(text)) : QString());
}

void TMainForm1::showSlotWaiting(int slot)
{
    ClearButton[slot - 1]->setEnabled(false);
    Label[slot - 1]->setText(QStringLiteral("応答待ち"));
}

void TMainForm1::sortWithKey(int slot)
{
    FileCalls *calls = m_slotCalls[slot - 1];
    const QByteArray text = BrowseEdit[slot - 1]->Path();
    // Nothing is queued behind a folder that has not answered.
    if (calls->isWaiting()) {
        showMessage(sorttexts::folderNotAnswering(text));
        return;
    }
    if (text.isEmpty())
        return;
    // The keys test the folder at the moment of the press, not the button's
    // state, and leave button and label as they are when it answers in time.
    // When it does not, the slot waits, and its answer then shows in it.
    const QByteArray folder = slotFolder(slot);
    auto pressing = std::make_shared<bool>(true);
    auto exists = std::make_shared<std::optional<bool>>();
    calls->start<bool>({folder},
        [fs = m_fileSystem, folder] { return fs->isDirectory(folder); },
        [this, slot, text, pressing, exists](bool answer) {
            if (*pressing)
                *exists = answer;
            else
                showSlot(slot, text, answer);
        });
    *pressing = false;
    if (!exists->has_value()) {
        showMessage(sorttexts::folderNotAnswering(text));
        return;
    }
    if (**exists)
        ClearButtonClick(slot, this);
}
