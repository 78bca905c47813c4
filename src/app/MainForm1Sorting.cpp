// The sorting commands and the key map: a sort moves or copies the current
// file into a slot's folder and makes the next file current; the next
// command advances without sorting.
#include "app/MainForm1.h"

#include "app/FileErrorText.h"
#include "app/WindowsMediaPlayer.h"
#include "controls/BrowseEdit.h"
#include "controls/FileListBox.h"
#include "platform/FileOperations.h"
#include "platform/Keys.h"
#include "platform/Paths.h"
#include "platform/SortUndo.h"
#include "platform/Trash.h"
#include "shell/FolderTreeView.h"

#include <QFile>
#include <QLabel>
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

QString displayName(const QByteArray &path)
{
    return paths::toDisplay(paths::lastComponent(path));
}

// Where an operation put its file, as the messages name it.
QString placeOf(sortjournal::Kind kind)
{
    switch (kind) {
    case sortjournal::Kind::Move:
        return QStringLiteral("移動先");
    case sortjournal::Kind::Copy:
        return QStringLiteral("複製先");
    case sortjournal::Kind::Reject:
        return QStringLiteral("ごみ箱");
    }
    return {};
}

// Why an undo did not happen, or what it could not do.
QString undoMessage(const sortundo::Result &result, const sortjournal::Entry &entry)
{
    using sortundo::Outcome;
    const QString name = displayName(entry.source);
    switch (result.outcome) {
    case Outcome::Undone:
        return {};
    case Outcome::TargetMissing:
        return QStringLiteral("%1 を元に戻せません。%2のファイルが見つかりません。").arg(name, placeOf(entry.kind));
    case Outcome::TargetChanged:
        return QStringLiteral("%1 を元に戻せません。%2のファイルはその後変更されています。").arg(name, placeOf(entry.kind));
    case Outcome::PlaceTaken:
        return QStringLiteral("%1 を元に戻せません。元の場所に同じ名前のファイルがあります。").arg(name);
    case Outcome::Failed:
        return QStringLiteral("%1 を元に戻せません（%2）。").arg(name, fileErrorText(result.error));
    case Outcome::ReplacedNotRestored:
        return QStringLiteral("置き換えられた %1 をごみ箱から戻せません（%2）。")
            .arg(displayName(entry.target), fileErrorText(result.error));
    }
    return {};
}

} // namespace

void TMainForm1::ClearButtonClick(int slot, QObject *Sender)
{
    showMessage(QString());
    const QByteArray target =
        paths::join(BrowseEdit[slot - 1]->Path(), paths::lastComponent(m_currentPath));
    // Nothing is current yet, the current file is gone (moved away before),
    // or the destination is the file's own folder: there is nothing to send.
    const bool sendable = FileOperations::isRegularFile(m_currentPath) && !FileOperations::sameFile(m_currentPath, target);

    if (RadioButton1->isChecked()) {
        const bool moved = sendable && sortInto(sortjournal::Kind::Move, target);
        advanceAfterMove(Sender, moved);
    } else if (RadioButton2->isChecked()) {
        if (sendable)
            sortInto(sortjournal::Kind::Copy, target);
        advanceToFollowing(Sender);
    }
}

bool TMainForm1::sortInto(sortjournal::Kind kind, const QByteArray &target)
{
    const QByteArray source = m_currentPath;
    const qint64 id = m_journal->begin(kind, source, target);
    // A same-named file in the destination is never destroyed: it goes to
    // the trash the moment before the sorted file takes its name.
    QByteArray replaced;
    bool trashRefused = false;
    const auto setAside = [&](const QByteArray &existing) -> std::error_code {
        replaced = trash::send(existing);
        if (replaced.isEmpty()) {
            trashRefused = true;
            return std::make_error_code(std::errc::permission_denied);
        }
        m_journal->replaced(id, replaced);
        return {};
    };
    const std::error_code error = kind == sortjournal::Kind::Move ? m_fileOps->move(source, target, setAside)
                                                                  : m_fileOps->copy(source, target, setAside);
    if (!error) {
        m_journal->done(id, target);
        return true;
    }
    // The destination gets back what it had.
    if (!replaced.isEmpty())
        trash::restore(*m_fileOps, replaced, target);
    const QString verb = kind == sortjournal::Kind::Move ? QStringLiteral("移動") : QStringLiteral("複製");
    showMessage(trashRefused
            ? QStringLiteral("%1 を%2できません。同じ名前のファイルをごみ箱に移せません。").arg(displayName(source), verb)
            : QStringLiteral("%1 を%2できません（%3）。").arg(displayName(source), verb, fileErrorText(error)));
    return false;
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
    showMessage(QString());
    // The desktop's trash keeps the file: it can always be brought back.
    const bool sendable = FileOperations::isRegularFile(m_currentPath);
    bool trashed = false;
    if (sendable) {
        const qint64 id = m_journal->begin(sortjournal::Kind::Reject, m_currentPath, QByteArray());
        const QByteArray inTrash = trash::send(m_currentPath);
        trashed = !inTrash.isEmpty();
        if (trashed)
            m_journal->done(id, inTrash);
        else
            m_showError(QStringLiteral("%1 をごみ箱に移せません。").arg(displayName(m_currentPath)));
    }
    advanceAfterMove(Sender, trashed);
}

void TMainForm1::undoLastSort(QObject *Sender)
{
    const sortjournal::Entry *latest = m_journal->latestUndoable();
    if (!latest) {
        showMessage(QStringLiteral("元に戻せる操作はありません。"));
        return;
    }
    const sortjournal::Entry entry = *latest;
    const sortundo::Result result = sortundo::undo(entry, *m_fileOps);
    if (result.outcome != sortundo::Outcome::Undone && result.outcome != sortundo::Outcome::ReplacedNotRestored) {
        showMessage(undoMessage(result, entry));
        return;
    }
    m_journal->undone(entry.id);
    showMessage(undoMessage(result, entry));
    makeCurrentAgain(entry.source, Sender);
}

void TMainForm1::makeCurrentAgain(const QByteArray &path, QObject *Sender)
{
    // The file's folder is shown (when it is not already) and read now.
    const QByteArray folder = paths::directoryPart(path);
    if (folder != FileListBox1->Directory()) {
        try {
            FolderTreeView0->setFolderName(folder);
        } catch (const std::exception &) {
        }
    }
    m_advancedFrom = -1;
    FileListBox1->Update();
    const int index = FileListBox1->indexOfName(paths::lastComponent(path));
    if (index < 0)
        return;
    FileListBox1->selectIndex(index);
    FileListBox1Click(Sender);
}

void TMainForm1::showMessage(const QString &message)
{
    MessageLine->setText(message);
    // The space is narrow: the whole text is also at hand under the mouse.
    MessageLine->setToolTip(message);
}

void TMainForm1::SpeedButton1Click(QObject *Sender)
{
    advanceToFollowing(Sender);
}

void TMainForm1::FormKeyDown(QObject *Sender, int &Key, Qt::KeyboardModifiers Shift)
{
    // In a destination field Delete and Ctrl+Z edit the text and never touch a file.
    const bool onList = Sender == FileListBox1 || Sender == RadioButton1 || Sender == RadioButton2;
    if (Key == keys::kVkDelete) {
        if (onList)
            rejectCurrentFile(this);
        return;
    }
    if (Key == 'Z' && (Shift & Qt::ControlModifier)) {
        if (onList)
            undoLastSort(this);
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
