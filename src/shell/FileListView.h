#pragma once
// TFileListView: the contents of one shell folder, in four view styles.
//
// One item per shell item with the shell's icons and overlays, hidden items
// drawn cut, and in report style seven columns. A wildcard filter narrows
// the files shown (folders and links always pass). A folder tree or a folder
// drop-down hands it a folder to list (OpenFolder, the file-list link they
// offer), or it is given a path (setFileName). Opening a folder or a link in
// the list goes on through that folder control when there is one, else
// within the list itself; files are never launched. When the listed folder
// is deleted or moved away, the list (and its folder control with it) goes
// to the nearest folder that still exists.
//
// The four styles share one model and one selection: a list view shows the
// icon, small-icon and list styles, a tree view the report style. The list
// owns its model, both views and its view-style menu (its built-in popup
// menu); the user's popup menu and the folder control are not owned.
#include "shell/ControlLink.h"
#include "shell/FflShowHidden.h"
#include "shell/FileListControl.h"
#include "shell/ViewStyle.h"

#include "platform/FileMask.h"
#include "namespace/ShellFolder.h"
#include "namespace/ShellSettings.h"

#include <QByteArray>
#include <QList>
#include <QMenu>
#include <QPersistentModelIndex>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

#include <memory>

class FileCalls;
class FileListViewModel;
class FolderWatch;
class QAbstractItemView;
class QItemSelectionModel;
class QListView;
class QMenu;
class QStackedLayout;
class QTimer;
class QTreeView;
class TFflFileStyleMenu;

class TFileListView : public QWidget, public FileListControl
{
    Q_OBJECT

public:
    explicit TFileListView(QWidget *parent = nullptr);
    // A list over the given namespace root instead of the user's Desktop.
    TFileListView(std::shared_ptr<shellns::ShellFolder> desktop, QWidget *parent);
    ~TFileListView() override;

    // Parsing path of the focused item, "" when none.
    QByteArray FileName() const { return m_fileName; }
    // Parsing paths of the selected items, in list order.
    QList<QByteArray> FileNames() const { return m_fileNames; }

    QByteArray Filter() const { return m_filter.text(); }
    // Stores the filter and lists the same folder again.
    virtual void setFilter(const QByteArray &filter);
    bool IncludeFolder() const { return m_includeFolder; }
    void setIncludeFolder(bool on) { m_includeFolder = on; }
    bool OnlyFileSystem() const { return m_onlyFileSystem; }
    void setOnlyFileSystem(bool on) { m_onlyFileSystem = on; }
    TFflShowHidden ShowHidden() const { return m_showHidden; }
    // Applies from the next listing on.
    virtual void setShowHidden(int mode);
    QMenu *PopupMenu() const { return m_userMenu.get(); }
    // A menu becomes the one shown on a right click; null restores the view-style menu.
    virtual void setPopupMenu(QObject *menu);
    TFflFileStyleMenu *StyleMenu() const { return m_styleMenu; }
    // The menu a right click shows now.
    QMenu *shownPopupMenu() const;

    TViewStyle ViewStyle() const { return m_viewStyle; }
    void setViewStyle(TViewStyle style);
    bool MultiSelect() const { return m_multiSelect; }
    void setMultiSelect(bool on);
    bool RowSelect() const { return m_rowSelect; }
    void setRowSelect(bool on);
    // The item under the pointer becomes selected after a short rest.
    bool HotTrack() const { return m_hotTrack; }
    void setHotTrack(bool on);

    // Lists `folder`; `sender` becomes the folder control when it is a folder tree or drop-down.
    void OpenFolder(QObject *sender, std::shared_ptr<shellns::ShellFolder> folder) override;
    // Lists the folder named by `path`, or the folder holding the named file and selects it.
    virtual void setFileName(const QByteArray &path);
    // Selects the first item whose in-folder name is `name`, ignoring case.
    bool SelectFile(const QByteArray &name) override;
    virtual void Deselect();
    virtual void Clear();

    QObject *FolderControl() const { return m_folderControl; }
    const std::shared_ptr<shellns::ShellFolder> &listedFolder() const;
    FileListViewModel *model() const { return m_model; }
    // The view that shows the current style.
    QAbstractItemView *currentView() const;
    QListView *iconView() const { return m_iconView; }
    QTreeView *reportView() const { return m_reportView; }
    int count() const;

signals:
    void OnChange(QObject *sender);
    void OnDblClick(QObject *sender);
    void OnClick(QObject *sender);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool openFolder(std::shared_ptr<shellns::ShellFolder> folder);
    void clear();
    void getShellSettings();
    void reflectSelection();
    void changeEvent();
    void doubleClick();
    void goUp();
    // Through the folder control when there is one, else here.
    void goTo(const QByteArray &path);
    QByteArray listedPath() const;
    void watchListedFolder();
    // Shows the nearest folder that still exists, in the folder control too.
    void leaveVanishedFolder(const QByteArray &path);
    void applyViewStyle();
    void fitColumns();
    void showPopupMenu(QAbstractItemView *view, const QPoint &at);
    QByteArray parsingName(int row) const;
    int focusedRow() const;
    void selectRow(int row);
    void setupView(QAbstractItemView *view);
    void hotTrackTo(const QModelIndex &index);

    std::shared_ptr<shellns::ShellFolder> m_desktop;
    shellns::ShellSettings m_shellSettings;
    FileListViewModel *m_model = nullptr;
    QItemSelectionModel *m_selection = nullptr;
    QStackedLayout *m_stack = nullptr;
    QListView *m_iconView = nullptr;
    QTreeView *m_reportView = nullptr;
    TFflFileStyleMenu *m_styleMenu = nullptr;
    ControlLink<QMenu> m_userMenu;
    QPointer<QObject> m_folderControl;
    QTimer *m_hotTrackTimer = nullptr;
    FolderWatch *m_folderWatch = nullptr;
    // setFileName's parse and bind of its path.
    FileCalls *m_pathCalls = nullptr;
    QPersistentModelIndex m_hotIndex;

    QByteArray m_fileName;
    QList<QByteArray> m_fileNames;
    FileMask m_filter{QByteArrayView()};
    bool m_includeFolder = true;
    bool m_onlyFileSystem = true;
    TFflShowHidden m_showHidden = flhConformExplorer;
    TViewStyle m_viewStyle = vsList;
    bool m_multiSelect = false;
    bool m_rowSelect = false;
    bool m_hotTrack = false;
    bool m_filling = false;
};
