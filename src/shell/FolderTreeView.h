#pragma once
// Folder tree over the shell namespace.
//
// The single root is the Desktop; a folder's children are read from the
// namespace the first time the folder is opened (double click, a walk to a
// path through it, OpenFolder) and kept until the tree is rebuilt. Each
// node owns its shell record (FolderTreeNode); the tree's model owns the
// nodes, the tree owns its icon list, rebuilt with the tree, and keeps the
// path of its selected node in FolderName. Opening a folder reads it once
// through the folder reader and makes plain nodes; labels and icons are
// made for the rows that are painted. Every change of the selection, also from code and to no
// selection, raises OnChange after the tree's own handling; a linked file
// list view (not owned) is shown the selected folder.
//
// Folders are read on worker threads (FileCalls): on a healthy disk the
// answer comes before the call that asked for it returns, so a walk to a
// path selects every level before setFolderName returns. A folder that does
// not answer shows its node as loading ("読み込み中"), and the walk or the
// opening goes on when the answer comes, unless the user has chosen
// another node meanwhile. Volumes whose mount point did not answer are
// dimmed and asked again every second.
#include "shell/FflShowHidden.h"
#include "shell/ShellFolderReader.h"

#include "namespace/ShellFolder.h"
#include "namespace/ShellSettings.h"

#include <QByteArray>
#include <QIcon>
#include <QList>
#include <QHash>
#include <QPointer>
#include <QTimer>
#include <QTreeView>

#include <functional>
#include <memory>

class FileCalls;
class FileListControl;
class FolderTreeModel;
class FolderTreeNode;
class IconExtractor;
class TFflIconList;

class TFolderTreeView : public QTreeView
{
    Q_OBJECT

public:
    explicit TFolderTreeView(QWidget *parent = nullptr);
    // A tree over the given namespace root instead of the user's Desktop.
    TFolderTreeView(std::shared_ptr<shellns::ShellFolder> desktop, QWidget *parent);
    ~TFolderTreeView() override;

    // Parsing path of the selected node, "" when nothing is selected.
    QByteArray FolderName() const { return m_folderName; }
    // The path a walk under way goes to (its folder has not answered yet),
    // "" when no walk is under way.
    QByteArray walkingTo() const;
    // Parsing paths of the selected nodes.
    QList<QByteArray> FolderNames() const { return m_folderNames; }
    // Selects nothing, then walks down to the deepest node along `path`.
    virtual void setFolderName(const QByteArray &path);

    bool EmphasizeFocus() const { return m_emphasizeFocus; }
    void setEmphasizeFocus(bool on);
    bool IncludeFile() const { return m_includeFile; }
    void setIncludeFile(bool on) { m_includeFile = on; }
    bool OnlyFileSystem() const { return m_onlyFileSystem; }
    void setOnlyFileSystem(bool on) { m_onlyFileSystem = on; }
    TFflShowHidden ShowHidden() const { return m_showHidden; }
    // Applies to nodes added from now on, or to all after Refresh.
    virtual void setShowHidden(int mode);
    bool MultiSelect() const { return selectionMode() == QAbstractItemView::ExtendedSelection; }
    virtual void setMultiSelect(bool on);
    // The linked file list view; objects that are not one are ignored.
    QObject *FileListControl() const { return m_fileListObject; }
    virtual void setFileListControl(QObject *list);

    // Rebuilds the tree and walks back to the selected folder.
    virtual void Refresh();
    virtual void Deselect();
    virtual void SelectParent();
    // Selects the child of the selected folder named `name`; true when found.
    virtual bool OpenFolder(const QByteArray &name);

    // Deletes every node and the icon list.
    void clear();

    TFflIconList *Images() const { return m_images; }
    // The node's icon: its image with its overlay, the open image when selected, dimmed when cut.
    QIcon nodeIcon(FolderTreeNode &node) const;

    // The nodes: the Desktop root (none before the tree has a parent), the
    // selected node, and the node behind a model index or a client point.
    FolderTreeNode *rootNode() const;
    FolderTreeNode *selectedNode() const;
    void selectNode(FolderTreeNode *node);
    static FolderTreeNode *node(const QModelIndex &index);
    FolderTreeNode *nodeAt(const QPoint &point) const;
    QModelIndex indexOf(const FolderTreeNode *node) const;
    bool isNodeExpanded(const FolderTreeNode *node) const;
    bool isNodeSelected(const FolderTreeNode *node) const;
    // Adds to or takes from the multi-selection, leaving the selected node.
    void setNodeSelected(const FolderTreeNode *node, bool selected);
    QRect nodeRect(const FolderTreeNode *node) const;

    // Shows the row; sideways, its icon and name come into view with as
    // much as fits of the tree's left edge.
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

signals:
    void OnChange(QObject *sender);
    void OnClick(QObject *sender);
    void OnDblClick(QObject *sender);
    void OnMouseUp(QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void updateGeometries() override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void initialize();
    // A walk to a path under way: what is parsed, and how far it has come.
    struct Walk
    {
        QByteArray path;
        bool parsed = false;
        shellns::ItemIdList ids;
        std::uint32_t attributes = shellns::attr::kFolder;
        // Where in ids the element to match next starts.
        qsizetype position = 0;
        std::shared_ptr<shellns::ShellFolder> current;
        FolderTreeNode *candidates = nullptr;
        QByteArray lastName;
    };
    void createReaders();
    void cancelReads();
    // The node calls is reading, shown as loading once the read is slow.
    void setReading(FileCalls *calls, FolderTreeNode *node);
    void retrieveRootFolders();
    FolderTreeNode newNode(FolderTreeNode *parent, ShellFolderItem item, const ShellItemFilter &filter) const;
    // The listing's items as nodes, in its order.
    std::vector<FolderTreeNode> newNodes(FolderTreeNode *parent, const ShellFolderListing &listing,
                                         const ShellItemFilter &filter) const;
    ShellItemFilter itemFilter() const;
    // Reads the node's children once through calls; `opened` hears whether
    // they are in (at once when the answer comes in time).
    void submitFolder(FolderTreeNode *node, FileCalls *calls, std::function<void(bool opened)> opened = {});
    void searchNode(const QByteArray &path);
    void continueWalk();
    void finishWalk();
    void endWalk();
    void watchSlowVolumes(FolderTreeNode *parent);
    void askSlowVolumes();
    void getShellSettings();
    shellns::ShellFolder *getParentShellFolder(FolderTreeNode *node) const;
    std::shared_ptr<shellns::ShellFolder> newShellFolder(FolderTreeNode *node) const;
    void reflectSelection();
    QList<FolderTreeNode *> selectedNodes() const;
    void setBold(FolderTreeNode *node, bool bold);
    void changingEvent(FolderTreeNode *node);
    using QTreeView::changeEvent;
    void changeEvent(QObject *sender, FolderTreeNode *node);
    void clickEvent();
    void doubleClick();
    void mouseUpEvent(QMouseEvent *event);
    void openInFileList(QObject *sender, FolderTreeNode *node);
    void selectNothing();
    FolderTreeNode *matchChild(FolderTreeNode *parent, const QByteArray &name) const;
    // Widens the column to the longest label among the rows in view.
    void fitColumnWidth(bool growOnly);

    FolderTreeModel *m_model = nullptr;
    std::shared_ptr<shellns::ShellFolder> m_desktop;
    std::optional<shellns::ItemIdList> m_documentsId;
    shellns::ShellSettings m_shellSettings;
    std::unique_ptr<IconExtractor> m_extractor;
    TFflIconList *m_images = nullptr;

    QByteArray m_folderName;
    QList<QByteArray> m_folderNames;
    bool m_emphasizeFocus = false;
    bool m_includeFile = false;
    bool m_onlyFileSystem = true;
    TFflShowHidden m_showHidden = flhConformExplorer;
    QPointer<QObject> m_fileListObject;
    ::FileListControl *m_fileList = nullptr;
    QMetaObject::Connection m_fileListGone;
    bool m_clearing = false;
    bool m_walking = false; // a walk to a path scrolls once, at its end

    FileCalls *m_rootCalls = nullptr;
    FileCalls *m_walkCalls = nullptr;
    FileCalls *m_openCalls = nullptr;
    FileCalls *m_volumeCalls = nullptr;
    QHash<FileCalls *, FolderTreeNode *> m_reading;
    std::unique_ptr<Walk> m_walk;
    bool m_walkSelects = false;
    // The Desktop's items have not come yet.
    bool m_rootPending = false;
    QList<FolderTreeNode *> m_slowVolumes;
    QTimer m_slowVolumePoll;
};
