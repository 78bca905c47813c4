#pragma once
// The program's one window: a frameless 796 x 704 form that owns every
// control and every handler of the sorter.
//
// The constructor builds the controls (MainForm1Layout.cpp), stores the
// executable's directory and runs FormCreate. The window is dragged by its
// bare surface: the blue strip on the left and the margin around Panel1.
// Handlers keep the names of the controls and events they serve; the nine
// look-alike slot handlers share one implementation taking the slot number.
#include <QByteArray>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class FileCalls;
class FileSystem;
class PlayerBackend;
class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QRadioButton;
class QToolButton;
class SortSession;
class TAppHint;
class TBrowseEdit;
class TClearButton;
class TFileListBox;
class TFolderTreeView;
class TGlintFadeButton;
class TPanel;
class TShape;
class TTechnicalLine;
class TWindowsMediaPlayer;

// The host and port of the information page; the page path and query are fixed.
inline constexpr char kInformationServer[] = "ondasort.example.org";

class TMainForm1 : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kSlotCount = 9;
    static constexpr int kClientWidth = 796;
    static constexpr int kClientHeight = 704;

    // What a test may put in place of the real surroundings.
    struct Surroundings
    {
        // Where the settings file and the user's guide live; empty means the
        // executable's own directory.
        QByteArray executableDirectory;
        // Makes the backend WindowsMediaPlayer1 plays through; none means libmpv.
        std::function<std::unique_ptr<PlayerBackend>()> playerBackend;
        // The file system the sort commands move and copy on; none means the real one.
        FileSystem *fileSystem = nullptr;
        // Shows an error no handler caught; none means a message box.
        std::function<void(const QString &message)> showError;
        // Asks whether to close although an operation waits for a device
        // that does not answer; none means a message box.
        std::function<bool(const QString &question)> askCloseAnyway;
    };

    explicit TMainForm1(QWidget *parent = nullptr);
    explicit TMainForm1(const Surroundings &surroundings, QWidget *parent = nullptr);
    ~TMainForm1() override;

    // The directory the executable lives in, without a trailing "/"
    // (except for the root itself).
    QByteArray executableDirectory() const { return m_executableDirectory; }

    // Address of the information page for an executable's file name.
    static QString informationUrl(const QByteArray &executableName);
    // The user's guide beside the executable.
    static QByteArray usersGuidePath(const QByteArray &executableDirectory);

    // Controls placed directly on the window.
    TShape *Shape1 = nullptr;
    TShape *Shape0 = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *Label11 = nullptr;
    TPanel *Panel1 = nullptr;
    TPanel *Panel2 = nullptr;
    TPanel *Panel3 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *E1 = nullptr;
    TAppHint *AppHint1 = nullptr;
    TGlintFadeButton *FadeButton1 = nullptr;
    TGlintFadeButton *FadeButton2 = nullptr;
    TGlintFadeButton *FadeButton3 = nullptr;
    TGlintFadeButton *FadeButton4 = nullptr;

    // Controls on Panel1.
    TFolderTreeView *FolderTreeView0 = nullptr;
    TWindowsMediaPlayer *WindowsMediaPlayer1 = nullptr;
    TFileListBox *FileListBox1 = nullptr;
    QRadioButton *RadioButton1 = nullptr;
    QRadioButton *RadioButton2 = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    QLabel *Label0 = nullptr;
    // Under the mode radios: the move or copy under way in the background
    // (file, share done, how many wait) and its bar, empty when none waits;
    // below them, what went wrong with a sort or an undo.
    QLabel *ProgressLine = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QLabel *MessageLine = nullptr;
    // Slot N lives at index N - 1.
    std::array<TClearButton *, kSlotCount> ClearButton {};
    std::array<TBrowseEdit *, kSlotCount> BrowseEdit {};
    std::array<QLabel *, kSlotCount> Label {};
    std::array<TTechnicalLine *, kSlotCount> TechnicalLine {};

    // Lifecycle.
    void FormCreate(QObject *Sender);
    void FormActivate(QObject *Sender);
    void FormClose(QObject *Sender);
    void FormKeyDown(QObject *Sender, int &Key, Qt::KeyboardModifiers Shift);

    // Window chrome.
    void FadeButton1Click(QObject *Sender);
    void FadeButton2Click(QObject *Sender);
    void FadeButton3Click(QObject *Sender);
    void FadeButton4Click(QObject *Sender);

    // Source folder and file list.
    void FolderTreeView0Change(QObject *Sender);
    void FileListBox1Click(QObject *Sender);
    void E1Click(QObject *Sender);

    // Sorting commands: ClearButtonNClick for slots 1..9 and the next command.
    void ClearButtonClick(int slot, QObject *Sender);
    void ClearButton1Click(QObject *Sender) { ClearButtonClick(1, Sender); }
    void ClearButton2Click(QObject *Sender) { ClearButtonClick(2, Sender); }
    void ClearButton3Click(QObject *Sender) { ClearButtonClick(3, Sender); }
    void ClearButton4Click(QObject *Sender) { ClearButtonClick(4, Sender); }
    void ClearButton5Click(QObject *Sender) { ClearButtonClick(5, Sender); }
    void ClearButton6Click(QObject *Sender) { ClearButtonClick(6, Sender); }
    void ClearButton7Click(QObject *Sender) { ClearButtonClick(7, Sender); }
    void ClearButton8Click(QObject *Sender) { ClearButtonClick(8, Sender); }
    void ClearButton9Click(QObject *Sender) { ClearButtonClick(9, Sender); }
    void SpeedButton1Click(QObject *Sender);
    // The reject command (Delete): the current file goes to the desktop's
    // trash and the list advances as after a move, in either mode.
    void rejectCurrentFile(QObject *Sender);
    // Undo (Ctrl+Z): the latest sort or reject not yet undone is taken back
    // and its file becomes current again.
    void undoLastSort(QObject *Sender);

    // Sorts, rejects and undoes; what copies runs in the background, and
    // the window closes only once that is all done.
    SortSession &sortSession() const { return *m_sortSession; }

    // The file being previewed and sorted ("" before the first one); its
    // path also shows as the caption of the hidden Label0.
    QByteArray currentPath() const { return m_currentPath; }

    // Destination slots: BrowseEditNChange for slots 1..9. A slot's folder
    // is checked on a worker; one that does not answer shows as waiting
    // ("応答待ち") with its button disabled until it does.
    void BrowseEditChange(int slot, QObject *Sender);
    void BrowseEdit1Change(QObject *Sender) { BrowseEditChange(1, Sender); }
    void BrowseEdit2Change(QObject *Sender) { BrowseEditChange(2, Sender); }
    void BrowseEdit3Change(QObject *Sender) { BrowseEditChange(3, Sender); }
    void BrowseEdit4Change(QObject *Sender) { BrowseEditChange(4, Sender); }
    void BrowseEdit5Change(QObject *Sender) { BrowseEditChange(5, Sender); }
    void BrowseEdit6Change(QObject *Sender) { BrowseEditChange(6, Sender); }
    void BrowseEdit7Change(QObject *Sender) { BrowseEditChange(7, Sender); }
    void BrowseEdit8Change(QObject *Sender) { BrowseEditChange(8, Sender); }
    void BrowseEdit9Change(QObject *Sender) { BrowseEditChange(9, Sender); }

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void buildLayout();
    void buildChrome();
    void buildWorkingArea();
    void buildSlots();
    void connectHandlers();
    void setTabOrder();
    void setCurrentPath(const QByteArray &path);
    QByteArray settingsPath() const;
    void advanceAfterMove(QObject *Sender, bool moved);
    void selectAfterMove(int index, QObject *Sender);
    void followReread();
    void advanceToFollowing(QObject *Sender);
    void connectSortSession();
    void showProgress();
    void makeCurrentAgain(const QByteArray &path, QObject *Sender);
    void showMessage(const QString &message);
    // A failure of an operation in the background.
    void showFailure(const QString &message);
    // Slot keys: the folder is checked at the press; one that does not
    // answer in time refuses the key at once.
    void sortWithKey(int slot);
    QByteArray slotFolder(int slot) const;
    void showSlot(int slot, const QByteArray &text, bool exists);
    void showSlotWaiting(int slot);
    // The tree is walking to the folder the list was pointed at first.
    bool treeFollowsList();
    // Closing while a task waits for a device: whether to close anyway.
    bool closeAnyway();

    QByteArray m_executableDirectory;
    std::function<std::unique_ptr<PlayerBackend>()> m_makePlayerBackend;
    std::function<void(const QString &message)> m_showError;
    // What the sorts, the slot checks and the list go through.
    FileSystem *m_fileSystem = nullptr;
    std::unique_ptr<SortSession> m_sortSession;
    // The window was asked to close while operations waited: it closes
    // once they are done, unless one of them failed.
    bool m_closeRequested = false;
    bool m_failedWhileClosing = false;
    // The question whether to close anyway is open.
    bool m_askingToClose = false;
    QByteArray m_currentPath;
    // The list index of the file last moved away while the folder's new
    // listing is being read in the background; -1 when none is awaited or
    // the user has chosen another file since.
    int m_advancedFrom = -1;
    // The tree is being pointed at the list's folder: its changes are not
    // handed on to the list, also while the walk waits for a folder
    // (m_listLeadsTree, the folder it walks to).
    bool m_treeFollowsList = false;
    QByteArray m_listLeadsTree;
    std::array<FileCalls *, kSlotCount> m_slotCalls {};
    std::function<bool(const QString &question)> m_askCloseAnyway;
    // Patterns listed beside the 31 media patterns, as the settings file
    // holds them ("EXTMASK"; empty for none).
    QByteArray m_extraMask;
    // The settings file was refused at start (no regular file, too large).
    bool m_keepSettingsFile = false;
    bool m_activated = false;
    // Window-relative press point while the window is dragged by hand
    // (when the window system offers no move of its own).
    QPoint m_dragOffset;
    bool m_dragging = false;
};

// The single main window, set while it exists.
extern TMainForm1 *MainForm1;
