// The sorting commands and the key map: a sort moves or copies the current
// file into a slot's folder and makes the next file current; the next
// command advances without sorting. The sort session does the work (at
// once, or in the background while the next file already plays); the
// window moves along its list, and shows progress and failures under the
// mode radios.
#include "app/MainForm1.h"

#include "app/SortTexts.h"
#include "app/WindowsMediaPlayer.h"
#include "controls/BrowseEdit.h"
#include "controls/FileListBox.h"
#include "platform/FileSystem.h"
#include "platform/Keys.h"
#include "platform/Paths.h"
#include "shell/FolderTreeView.h"
#include "sorting/SortSession.h"

#include <QLabel>
#include <QProgressBar>
#include <QRadioButton>

namespace {

using sortjournal::Kind;

// The slot a key code sorts into, or 0.
int slotForKey(int key)
{
    if (key >= keys::kVkNumpad0 + 1 && key <= keys::kVkNumpad0 + 9)
        return key - keys::kVkNumpad0;
    if (key >= keys::kVkF1 && key <= keys::kVkF1 + 8)
        return key - keys::kVkF1 + 1;
    return 0;
}

// path as it stands, or inside folder when relative.
QByteArray absoluteIn(const QByteArray &folder, const QByteArray &path)
{
    return path.startsWith('/') || folder.isEmpty() ? path : paths::join(folder, path);
}

bool sent(SortSession::Outcome outcome)
{
    return outcome == SortSession::Outcome::Done || outcome == SortSession::Outcome::Queued;
}

} // namespace

void TMainForm1::connectSortSession()
{
    SortSession *session = m_sortSession.get();
    connect(session, &SortSession::withheld, this, [this](const QByteArray &path) { FileListBox1->withhold(path); });
    connect(session, &SortSession::released, this, [this](const QByteArray &path) { FileListBox1->release(path); });
    connect(session, &SortSession::sortFailed, this, [this](const SortFailure &failure) {
        showFailure(sorttexts::failure(failure));
        // The source stayed where it was: it is listed again, and whatever
        // the user has chosen since stays chosen.
        if (failure.queued && failure.kind != Kind::Copy) {
            m_advancedFrom = -1;
            FileListBox1->UpdateLater();
        }
    });
    connect(session, &SortSession::undoFinished, this,
        [this](const sortjournal::Entry &entry, const sortundo::Result &result) {
            const QString text = sorttexts::undone(entry, result);
            if (result.outcome == sortundo::Outcome::Undone || result.outcome == sortundo::Outcome::ReplacedNotRestored)
                showMessage(text);
            else
                showFailure(text);
        });
    connect(session, &SortSession::fileBack, this, [this](const QByteArray &path) { makeCurrentAgain(path, this); });
    connect(session, &SortSession::journalWriteFailed, this,
        [this](std::error_code error) { showFailure(sorttexts::journalFailure(error)); });
    connect(session, &SortSession::progressChanged, this, [this] {
        showProgress();
        // The window waits to close for an operation that its device holds up.
        if (!m_closeRequested || m_askingToClose || !m_sortSession->progress().stalled)
            return;
        m_askingToClose = true;
        const bool giveUp = closeAnyway();
        m_askingToClose = false;
        if (giveUp && m_closeRequested) {
            m_sortSession->abandon();
            m_closeRequested = false;
            close();
        }
    });
    connect(session, &SortSession::drained, this, [this] {
        if (!m_closeRequested)
            return;
        m_closeRequested = false;
        // A failure is shown, not closed over; the next close goes ahead.
        if (!m_failedWhileClosing)
            close();
    });
}

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

    if (RadioButton1->isChecked()) {
        advanceAfterMove(Sender, sent(m_sortSession->sort(Kind::Move, m_currentPath, target)));
    } else if (RadioButton2->isChecked()) {
        m_sortSession->sort(Kind::Copy, m_currentPath, target);
        advanceToFollowing(Sender);
    }
}

void TMainForm1::showProgress()
{
    const SortSession::Progress progress = m_sortSession->progress();
    if (!progress.running) {
        ProgressLine->clear();
        ProgressLine->setToolTip(QString());
        ProgressBar1->hide();
        return;
    }
    const QString name = paths::toDisplay(paths::lastComponent(progress.file));
    const QString state = sorttexts::progressState(progress);
    const QString behind = progress.waiting > 0 ? QStringLiteral("あと %1 件").arg(progress.waiting) : QString();
    const QString elided = ProgressLine->fontMetrics().elidedText(name, Qt::ElideMiddle, ProgressLine->width());
    ProgressLine->setText(QStringList {state, elided, behind}.join(QLatin1Char('\n')).trimmed());
    ProgressLine->setToolTip(QStringList {sorttexts::progressTip(progress), name, behind}.join(QLatin1Char('\n')).trimmed());
    ProgressBar1->setValue(progress.percent);
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
    FileListBox1->Update([this, index, Sender](bool) { selectAfterMove(index, Sender); });
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
    advanceAfterMove(Sender, sent(m_sortSession->reject(m_currentPath)));
}

void TMainForm1::undoLastSort(QObject *)
{
    if (m_closeRequested)
        return;
    showMessage(QString());
    // A file that comes back is made current through fileBack, and how the
    // undo went is told through undoFinished; here only why nothing happened.
    const QString refused = sorttexts::undoRefused(m_sortSession->undo());
    if (!refused.isEmpty())
        showMessage(refused);
}

void TMainForm1::makeCurrentAgain(const QByteArray &path, QObject *Sender)
{
    // Undo goes straight to the file's folder: the tree shows it without
    // raising a change for every level on the way, and the list reads that
    // one folder.
    const QByteArray folder = paths::directoryPart(path);
    m_advancedFrom = -1;
    const auto select = [this, path, Sender](bool read) {
        const int index = read ? FileListBox1->indexOfName(paths::lastComponent(path)) : -1;
        if (index < 0)
            return;
        FileListBox1->selectIndex(index);
        FileListBox1Click(Sender);
    };
    if (folder == FileListBox1->Directory()) {
        FileListBox1->Update(select);
        return;
    }
    m_treeFollowsList = true;
    FolderTreeView0->setFolderName(folder);
    m_treeFollowsList = false;
    // A walk that waits for a folder goes on without moving the list.
    m_listLeadsTree = FolderTreeView0->walkingTo();
    FileListBox1->readDirectory(folder, select);
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
    if (const int slot = slotForKey(Key))
        sortWithKey(slot);
}
