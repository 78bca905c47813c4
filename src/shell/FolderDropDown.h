#pragma once
// TFolderDropDown: a combo box whose drop-down shows part of the shell
// namespace as an indented tree.
//
// The Desktop, its folders (the documents folder first), the volumes below
// the drives folder and the chain of folders down to the current one, held
// as one flat list of entries with levels (FolderEntryList) parallel to the
// combo's rows. Deeper folders are added one at a time as the user goes
// into them. Picking an entry makes it the current folder, shows it in a
// linked file list view (not owned) and raises OnChange; a change made by
// the program raises it only where an operation says so. The drop-down owns
// its entries and its small icon list, rebuilt with the entries.
#include "shell/ControlLink.h"
#include "shell/FflShowHidden.h"
#include "shell/FolderEntryList.h"
#include "shell/ShellFolderReader.h"

#include "namespace/ShellFolder.h"
#include "namespace/ShellSettings.h"

#include <QByteArray>
#include <QComboBox>
#include <QMetaObject>
#include <QHash>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class FileCalls;
class FileListControl;
class TFileListView;
class IconExtractor;
class TFflIconList;

class TFolderDropDown : public QComboBox
{
    Q_OBJECT

public:
    explicit TFolderDropDown(QWidget *parent = nullptr);
    // A drop-down over the given namespace root instead of the user's Desktop.
    TFolderDropDown(std::shared_ptr<shellns::ShellFolder> desktop, QWidget *parent);
    ~TFolderDropDown() override;

    // Parsing path of the selected entry, "" when none.
    QByteArray FolderName() const { return m_folderName; }
    // Rebuilds the entries and walks down to the deepest entry along `path`.
    virtual void setFolderName(const QByteArray &path);

    bool OnlyFileSystem() const { return m_onlyFileSystem; }
    void setOnlyFileSystem(bool on) { m_onlyFileSystem = on; }
    TFflShowHidden ShowHidden() const { return m_showHidden; }
    // Applies to entries added from now on.
    virtual void setShowHidden(int mode);
    QObject *FileListControl() const;
    // Links a file list view and shows the selected folder in it; null unlinks.
    virtual void setFileListControl(QObject *list);
    int DropDownCount() const { return maxVisibleItems(); }
    void setDropDownCount(int count) { setMaxVisibleItems(count); }
    int ItemHeight() const { return m_itemHeight; }
    void setItemHeight(int height);

    // Selects the parent of the selected entry.
    virtual void SelectParent();
    // Goes into the child of the selected entry named `name`; false when
    // there is none, or when the folder has not answered yet (it goes in
    // once it does, if the entry is still selected then).
    virtual bool OpenFolder(const QByteArray &name);
    // Path of the walk that waits for a folder to answer, "" for none.
    QByteArray walkingTo() const;

    const FolderEntryList &entries() const { return m_entries; }
    TFflNodeInfo *getInfo(int index) const { return m_entries.at(index); }
    int documentsIndex() const { return m_documentsIndex; }
    TFflIconList *Images() const { return m_images; }
    // Draws one row as the list and the edit part show it.
    void drawRow(QPainter *painter, const QRect &rect, int index, bool selected, bool editPart) const;
    int rowWidth(int index) const;

    // The open list: at most DropDownCount rows, scrolling for the rest.
    void showPopup() override;
    void hidePopup() override;

signals:
    void OnChange(QObject *sender);
    // The list drops down and closes up again.
    void OnDropDown(QObject *sender);
    void OnCloseUp(QObject *sender);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // A folder bound and listed on a worker.
    struct FolderRead
    {
        std::shared_ptr<shellns::ShellFolder> folder;
        std::optional<std::vector<ShellFolderItem>> items;
    };
    // A walk down to a path, one folder read at a time.
    struct Walk
    {
        QByteArray path;
        bool parsed = false;
        std::uint32_t attributes = shellns::attr::kFolder;
        std::vector<shellns::ItemIdList> elements;
        std::size_t next = 0; // the element matched next
        std::shared_ptr<shellns::ShellFolder> current;
        // The first entry the next element is looked for from; none ends the walk.
        TFflNodeInfo *candidate = nullptr;
        QByteArray lastName;
    };
    using ReadDone = std::function<void(int index, FolderRead &read)>;

    void setupDelegate();
    void clear();
    void initialize();
    void fill();
    void getShellSettings();
    ShellItemFilter itemFilter() const;
    int insertNode(int position, int level, const std::shared_ptr<shellns::ShellFolder> &folder,
                   const ShellFolderItem &item);
    int getInsertPos(int parent, const shellns::ShellFolder &folder, const shellns::ItemIdList &itemId) const;
    void submitFolder(int index);
    int insertNewNode(int parent, int level, FolderRead &read, const QByteArray &name);
    void retrieveInitialNodes();
    // Walks to `path`; one that leads nowhere (cannot be parsed) raises a
    // change when the rebuilt list no longer shows `before`.
    void searchNode(const QByteArray &path, const QByteArray &before);
    void leadsNowhere(const QByteArray &before);
    // Reads the folders of the drop-down off the GUI thread.
    void createReaders();
    void cancelReads();
    // Binds and lists the folder of `entry` on a worker; `done` gets the
    // entry's index and what was read, at once when it answers in time.
    void readFolder(TFflNodeInfo *entry, FileCalls *calls, ReadDone done);
    void setReading(FileCalls *calls, TFflNodeInfo *entry);
    void showLoading(TFflNodeInfo *entry, bool on);
    void continueWalk();
    void finishWalk();
    // A pick by the user or a step up or down ends a walk or a step down
    // that waits for its folder.
    void endWalk();
    void reflectSelection();
    shellns::ShellFolder *getParentShellFolder(int index) const;
    // Shows the entry's folder in the linked file list, bound on a worker.
    void showInFileList(QObject *sender, int index);
    void changeEvent(QObject *sender);
    using QComboBox::changeEvent;

    std::shared_ptr<shellns::ShellFolder> m_desktop;
    std::optional<shellns::ItemIdList> m_documentsId;
    shellns::ShellSettings m_shellSettings;
    std::unique_ptr<IconExtractor> m_extractor;
    TFflIconList *m_images = nullptr;
    FolderEntryList m_entries;
    int m_documentsIndex = -1;
    QByteArray m_folderName;
    bool m_onlyFileSystem = true;
    TFflShowHidden m_showHidden = flhConformExplorer;
    int m_itemHeight = 0;
    ControlLink<TFileListView> m_fileList;

    FileCalls *m_rootCalls = nullptr;   // the Desktop's items
    FileCalls *m_drivesCalls = nullptr; // the volumes below the drives folder
    FileCalls *m_walkCalls = nullptr;
    FileCalls *m_openCalls = nullptr;
    FileCalls *m_listCalls = nullptr; // the folder for the linked file list
    QHash<FileCalls *, TFflNodeInfo *> m_reading;
    QList<TFflNodeInfo *> m_loading; // entries that say they are loading
    bool m_rootPending = false;
    bool m_drivesPending = false;
    std::unique_ptr<Walk> m_walk;
};
