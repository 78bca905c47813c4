// The sorting commands and the key map: a sort moves or copies the current
// file into a slot's folder and makes the next file current; the next
// command advances without sorting. A rename is done at once; whatever
// copies runs on the background queue while the next file already plays,
// its progress and failures shown under the mode radios.
#include "app/MainForm1.h"

#include "app/FileErrorText.h"
#include "app/WindowsMediaPlayer.h"
#include "controls/BrowseEdit.h"
#include "controls/FileListBox.h"
#include "platform/FileOperations.h"
#include "platform/Keys.h"
#include "platform/Paths.h"
#include "sorting/SortQueue.h"
#include "sorting/SortUndo.h"
#include "platform/Trash.h"
#include "shell/FolderTreeView.h"

#include <QFile>
#include <QLabel>
#include <QProgressBar>
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

// Why a sort failed; the source stayed where it was.
QString sortFailure(sortjournal::Kind kind, const QByteArray &source, const sortoperation::Result &result)
{
    if (kind == sortjournal::Kind::Reject)
        return QStringLiteral("%1 をごみ箱に移せません。").arg(displayName(source));
    const QString verb = kind == sortjournal::Kind::Move ? QStringLiteral("移動") : QStringLiteral("複製");
    return result.trashRefused
        ? QStringLiteral("%1 を%2できません。同じ名前のファイルをごみ箱に移せません。").arg(displayName(source), verb)
        : QStringLiteral("%1 を%2できません（%3）。").arg(displayName(source), verb, fileErrorText(result.error));
}

// path as it stands, or inside folder when relative.
QByteArray absoluteIn(const QByteArray &folder, const QByteArray &path)
{
    return path.startsWith('/') || folder.isEmpty() ? path : paths::join(folder, path);
}

// What a queued operation does, as the progress line names it.
QString operationName(bool undo, sortjournal::Kind kind)
{
    if (undo)
        return QStringLiteral("戻し");
    switch (kind) {
    case sortjournal::Kind::Move:
        break;
    case sortjournal::Kind::Copy:
        return QStringLiteral("複製");
    case sortjournal::Kind::Reject:
        return QStringLiteral("削除");
    }
    return QStringLiteral("移動");
}

} // namespace

void TMainForm1::ClearButtonClick(int slot, QObject *Sender)
{
    // The window closes as soon as the operations waiting are done.
    if (m_closeRequested)
        return;
    showMessage(QString());
    // A relative destination is taken from the listed folder now: the
    // operation may run after the list has moved on to another folder.
    const QByteArray target = absoluteIn(FileListBox1->Directory(),
        paths::join(BrowseEdit[slot - 1]->Path(), paths::lastComponent(m_currentPath)));
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
    // A move within one file system is a rename, done at once, unless
    // earlier operations still wait: they keep their order. So is a move
    // into a folder that is not there, which fails at once. Anything that
    // copies goes to the background; the list advances meanwhile.
    const QByteArray folder = paths::directoryPart(target);
    if (kind == sortjournal::Kind::Move && m_sortQueue->isIdle()
        && (!FileOperations::isDirectory(folder) || m_fileOps->sameFileSystem(source, folder))) {
        const sortoperation::Result result = sortoperation::perform(*m_journal, *m_fileOps, id, kind, source, target);
        if (result.error)
            showMessage(sortFailure(kind, source, result));
        return !result.error;
    }
    queueSort(id, kind, source, target);
    return true;
}

void TMainForm1::queueSort(qint64 id, sortjournal::Kind kind, const QByteArray &source, const QByteArray &target)
{
    QueuedOperation &queued = m_queued[id];
    queued.entry.id = id;
    queued.entry.kind = kind;
    queued.entry.source = source;
    queued.entry.target = target;
    queued.result = std::make_shared<sortoperation::Result>();
    // A file on its way out of the folder is not listed again meanwhile.
    if (kind != sortjournal::Kind::Copy)
        FileListBox1->withhold(source);
    m_sortQueue->add({id,
        [&journal = *m_journal, &fileOps = *m_fileOps, id, kind, source, target, result = queued.result](
            const FileOperations::Progress &progress) {
            *result = sortoperation::perform(journal, fileOps, id, kind, source, target, progress);
            return result->error;
        }});
    showProgress();
}

void TMainForm1::queueUndo(const sortjournal::Entry &entry)
{
    const qint64 id = -entry.id;
    QueuedOperation &queued = m_queued[id];
    queued.entry = entry;
    queued.undo = true;
    queued.undoResult = std::make_shared<sortundo::Result>();
    m_sortQueue->add({id,
        [&fileOps = *m_fileOps, entry, result = queued.undoResult](const FileOperations::Progress &progress) {
            *result = sortundo::undo(entry, fileOps, progress);
            return result->error;
        }});
    showProgress();
}

void TMainForm1::queuedFinished(qint64 id, std::error_code)
{
    const auto found = m_queued.find(id);
    if (found == m_queued.end())
        return;
    const QueuedOperation queued = found->second;
    m_queued.erase(found);
    const sortjournal::Entry &entry = queued.entry;

    if (queued.undo) {
        const sortundo::Result &result = *queued.undoResult;
        if (result.outcome == sortundo::Outcome::Undone || result.outcome == sortundo::Outcome::ReplacedNotRestored) {
            showMessage(undoMessage(result, entry));
            m_journal->undone(entry.id);
            makeCurrentAgain(entry.source, this);
        } else {
            showFailure(undoMessage(result, entry));
        }
        return;
    }

    if (entry.kind != sortjournal::Kind::Copy)
        FileListBox1->release(entry.source);
    if (!queued.result->error)
        return;
    // The source stayed where it was: it is listed again, and whatever the
    // user has chosen since stays chosen.
    showFailure(sortFailure(entry.kind, entry.source, *queued.result));
    if (entry.kind != sortjournal::Kind::Copy) {
        m_advancedFrom = -1;
        FileListBox1->UpdateLater();
    }
}

void TMainForm1::queueDrained()
{
    showProgress();
    if (!m_closeRequested)
        return;
    m_closeRequested = false;
    // A failure is shown, not closed over; the next close goes ahead.
    if (!m_failedWhileClosing)
        close();
}

void TMainForm1::withdrawNewestQueued(QObject *Sender)
{
    const auto found = m_queued.find(m_sortQueue->newest());
    if (found == m_queued.end())
        return;
    const qint64 newest = found->first;
    const QueuedOperation queued = found->second;
    if (!m_sortQueue->withdraw(newest)) {
        const QString name = displayName(queued.entry.source);
        showMessage(queued.undo
                ? QStringLiteral("%1 を元に戻しています。終わるまでお待ちください。").arg(name)
                : QStringLiteral("%1 の%2が終わってから元に戻せます。")
                      .arg(name, operationName(queued.undo, queued.entry.kind)));
        return;
    }
    // It never began: the file is where it was, and the journal entry stays
    // one that was never done.
    m_queued.erase(newest);
    showProgress();
    if (queued.entry.kind != sortjournal::Kind::Copy)
        FileListBox1->release(queued.entry.source);
    makeCurrentAgain(queued.entry.source, Sender);
}

void TMainForm1::showProgress()
{
    const qint64 running = m_sortQueue->oldest();
    const auto found = m_queued.find(running);
    if (found == m_queued.end()) {
        ProgressLine->clear();
        ProgressLine->setToolTip(QString());
        ProgressBar1->hide();
        return;
    }
    const int percent = running == m_progressId ? m_progressPercent : 0;
    const QString name = displayName(found->second.entry.source);
    const int waiting = m_sortQueue->pending() - 1;
    const QString state = QStringLiteral("%1中 %2%").arg(operationName(found->second.undo, found->second.entry.kind)).arg(percent);
    const QString behind = waiting > 0 ? QStringLiteral("あと %1 件").arg(waiting) : QString();
    const QString elided = ProgressLine->fontMetrics().elidedText(name, Qt::ElideMiddle, ProgressLine->width());
    ProgressLine->setText(QStringList {state, elided, behind}.join(QLatin1Char('\n')).trimmed());
    ProgressLine->setToolTip(QStringList {state, name, behind}.join(QLatin1Char('\n')).trimmed());
    ProgressBar1->setValue(percent);
    ProgressBar1->show();
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
    if (m_closeRequested)
        return;
    showMessage(QString());
    // The desktop's trash keeps the file: it can always be brought back.
    // Behind operations still waiting, the reject waits its turn as well.
    bool trashed = false;
    if (FileOperations::isRegularFile(m_currentPath)) {
        const sortjournal::Kind kind = sortjournal::Kind::Reject;
        const qint64 id = m_journal->begin(kind, m_currentPath, QByteArray());
        if (m_sortQueue->isIdle()) {
            const sortoperation::Result result = sortoperation::perform(*m_journal, *m_fileOps, id, kind, m_currentPath, {});
            trashed = !result.error;
            if (!trashed)
                showMessage(sortFailure(kind, m_currentPath, result));
        } else {
            queueSort(id, kind, m_currentPath, QByteArray());
            trashed = true;
        }
    }
    advanceAfterMove(Sender, trashed);
}

void TMainForm1::undoLastSort(QObject *Sender)
{
    if (m_closeRequested)
        return;
    // The latest operation may still wait in the queue: it is taken back
    // before it begins; one under way is undone once it is done.
    if (!m_sortQueue->isIdle()) {
        withdrawNewestQueued(Sender);
        return;
    }
    const std::optional<sortjournal::Entry> latest = m_journal->latestUndoable();
    if (!latest) {
        showMessage(QStringLiteral("元に戻せる操作はありません。"));
        return;
    }
    const sortjournal::Entry &entry = *latest;
    // Moving a file back to another file system copies it: in the background.
    if (sortundo::undoCopiesAcross(entry, *m_fileOps)) {
        showMessage(QString());
        queueUndo(entry);
        return;
    }
    const sortundo::Result result = sortundo::undo(entry, *m_fileOps);
    showMessage(undoMessage(result, entry));
    if (result.outcome != sortundo::Outcome::Undone && result.outcome != sortundo::Outcome::ReplacedNotRestored)
        return;
    m_journal->undone(entry.id);
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

void TMainForm1::showFailure(const QString &message)
{
    showMessage(message);
    // Closing does not hide it: the window stays open to show it.
    if (m_closeRequested)
        m_failedWhileClosing = true;
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
