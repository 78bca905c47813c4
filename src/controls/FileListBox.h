#pragma once
// The file list of the main window: the files of one folder that match a
// mask (by default the 31 media patterns), as bare names in the list's
// case-insensitive order, one item selectable at a time.
//
// Each item keeps its name as the file system's bytes; the shown text is
// only for the eye, and a path is always built from itemName(). The list
// owns its model and its item delegate. Pointing it at a folder makes that
// folder the process's working directory. At creation it shows the
// working directory.
//
// OnClick is raised for every change of the selection that the user makes
// with the mouse or the keyboard (and for a click on the selected item);
// selections made from code (selectIndex, selectString, Update) raise
// nothing.
//
// Every read of a folder runs on a worker thread (FileCalls), so a folder
// on a share or a drive that does not answer never holds up the window. On
// a healthy disk the answer comes before the call returns, as if it were
// read in place; a read that does not answer within a short time leaves
// folder and items as they were and shows the list as loading
// ("読み込み中") until it does. The calls that read take an answer function
// that hears how the read came out, once, when it comes (before the call
// returns when it comes in time); a later read makes an earlier one's
// answer void. UpdateLater() reads in the background without waiting at
// all, so a folder of tens of thousands of files never holds up a key.
// Nothing waits for the workers when the list goes.
#include "controls/FileListModel.h"
#include "controls/UniformListView.h"

#include <QByteArray>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>
#include <set>
#include <vector>

class FileCalls;
class FileMask;
class FileSystem;

class TFileListBox : public UniformListView
{
    Q_OBJECT

public:
    explicit TFileListBox(QWidget *parent = nullptr);
    ~TFileListBox() override;

    // The file system the folder is read through; the real one unless
    // another is given. It must outlive the list.
    void setFileSystem(FileSystem &fileSystem) { m_fs = &fileSystem; }

    // The patterns, separated by ";". Changing them re-reads the folder.
    QByteArray Mask() const;
    void setMask(const QByteArray &mask);

    // The folder shown, as an absolute path; empty when the working
    // directory could not be determined at creation.
    QByteArray Directory() const;

    // Hears whether a read succeeded. The calls below return the same when
    // the answer came in time, and false while it has not come.
    using Answer = std::function<void(bool ok)>;

    // Shows the files of folder and makes it the working directory. When it
    // is the folder already shown (the same folder on disk), nothing is
    // read again. Fails, leaving folder and items as they were, when the
    // folder cannot be entered and read.
    bool setDirectory(const QByteArray &folder, Answer answer = {});

    // Points the list at a folder path: an empty path, or the full path of
    // the selected file, changes nothing and succeeds; otherwise as
    // setDirectory().
    bool applyFilePath(const QByteArray &path, Answer answer = {});

    // Reads the folder again, even when it is the one shown, and makes it
    // the working directory; afterwards no item is selected. Fails, leaving
    // folder and items as they were, when it cannot be entered and read.
    bool readDirectory(const QByteArray &folder, Answer answer = {});

    // Reads the folder again; afterwards no item is selected. Fails,
    // leaving the list empty, when the folder can no longer be read.
    bool Update(Answer answer = {});

    // A read has not answered yet (it shows as loading once it is slow).
    bool isReading() const;
    bool showsLoading() const { return m_loading; }

    // Reads the folder again in the background, shortly: the player starting
    // the next file goes first, and calls in quick succession make one read.
    // When the folder's files differ from the items, the items are replaced
    // (no item is selected afterwards) and ListingChanged is raised;
    // otherwise nothing changes. A later read of any kind, or pointing the
    // list elsewhere, makes an unfinished one void.
    static constexpr int kReadDelayMs = 250;
    void UpdateLater();
    // A read of any kind is waiting to start or for its answer.
    bool isUpdatePending() const;

    // Takes the item at index out of the list without reading the folder,
    // for a file known to be gone; the selection stays on the item it was on.
    void removeItem(int index);

    // Files on their way out of the folder (a move still copying them to
    // another file system), as full paths: no read lists them while they
    // are withheld, though they are still there.
    void withhold(const QByteArray &path);
    void release(const QByteArray &path);

    // The first item whose name is exactly name, or -1.
    int indexOfName(const QByteArray &name) const;

    int count() const;
    // The item's name (bytes) or shown text; empty for an index out of range.
    QByteArray itemName(int index) const;
    QString itemText(int index) const;
    bool isSelected(int index) const;
    // The selected item, or -1.
    int selectedIndex() const;
    // Directory() + "/" + the selected name, or empty when nothing is selected.
    QByteArray FileName() const;

    // Selects exactly the item at index and scrolls it into view; -1 (or any
    // index out of range) clears the selection. Raises no OnClick.
    void selectIndex(int index);

    // Select-by-name: selects the first item after start (wrapping round to
    // the start item itself) whose text begins with text, without regard to
    // letter case, and scrolls it into view. Returns its index, or -1 with
    // the selection unchanged. Raises no OnClick. Note that it can land on
    // another item than the one whose text was given ("a.mp3" finds
    // "a.mp3.wav" after it); selectIndex() picks an item exactly.
    int selectString(const QByteArray &text, int start = 0);

signals:
    void OnClick(QObject *sender);
    // A background read found the folder changed and replaced the items.
    void ListingChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
        const QEvent *event = nullptr) const override;

private:
    struct Request;
    struct Outcome;
    struct Listed;
    // On a worker: reads what request asks for into outcome.
    static void readFolder(FileSystem &fs, const Request &request, Outcome &outcome);
    // Reads on a worker what request asks for; answer hears of it.
    bool startRead(const Request &request, Answer answer);
    void applyRead(const Request &request, Outcome &outcome, const Answer &answer);
    // Replaces the items by a listing; `listed` holds the same names.
    void showListing(FileListModel::Sorted items, std::shared_ptr<const Listed> listed);
    // Keeps listed as the listing the items are, no row taken out since;
    // returns the one before, for the caller to free where it suits.
    std::shared_ptr<const Listed> keepListed(std::shared_ptr<const Listed> listed);
    void startBackgroundRead();
    // Runs a user's input and raises OnClick if it changed the selection.
    template <typename Handler>
    void userInput(Handler &&handler, bool clickOnItem = false);

    FileListModel *m_model;
    FileSystem *m_fs;
    QByteArray m_mask;
    std::shared_ptr<const FileMask> m_fileMask;
    QByteArray m_directory;
    std::set<QByteArray> m_withheld;
    // The reads; a later one makes an earlier one void.
    FileCalls *m_reads;
    // The number of the latest read, shared with the workers: only the
    // latest read may make its folder the working directory.
    std::shared_ptr<std::atomic<quint64>> m_latestRead = std::make_shared<std::atomic<quint64>>(0);
    // The names of the last listing shown, and the rows taken out of it
    // since (by their place in it, ascending): a background read compares
    // with these on its worker, so the GUI thread hears only of a change.
    std::shared_ptr<const Listed> m_listed;
    std::vector<int> m_removedSince;
    // Counts the changes of the items, so an answer compared with older items is known.
    quint64 m_itemsVersion = 0;
    QTimer m_readDelay;
    bool m_loading = false;
};
