#pragma once
// The gallery's browsing page: a folder tree and a folder drop-down that
// both drive one file list view and follow each other, a folder toolbar, a
// filter field, and switches for the properties that change how the
// controls behave (MultiSelect, RowSelect, HotTrack, ShowHidden,
// DropDownCount).
//
// The toolbar's Up button follows whichever folder control the user last
// picked a folder in, so Up goes to the parent in the tree after a pick in
// the tree and in the drop-down after a pick there. Every event of the
// components is reported through the given callback.
#include "namespace/ShellFolder.h"

#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QLineEdit;
class QSpinBox;
class TFileListView;
class TFolderDropDown;
class TFolderFileToolBar;
class TFolderTreeView;

namespace gallery {

class ShellBrowser : public QWidget
{
    Q_OBJECT

public:
    using Report = std::function<void(const QString &)>;

    ShellBrowser(std::shared_ptr<shellns::ShellFolder> desktop, Report report, QWidget *parent = nullptr);

    TFolderTreeView *tree() const { return m_tree; }
    TFolderDropDown *dropDown() const { return m_dropDown; }
    TFileListView *list() const { return m_list; }
    TFolderFileToolBar *toolBar() const { return m_toolBar; }
    QLineEdit *filterField() const { return m_filter; }
    QCheckBox *showHiddenSwitch() const { return m_showHidden; }
    QCheckBox *multiSelectSwitch() const { return m_multiSelect; }
    QCheckBox *rowSelectSwitch() const { return m_rowSelect; }
    QCheckBox *hotTrackSwitch() const { return m_hotTrack; }
    QSpinBox *dropDownCountField() const { return m_dropDownCount; }

private:
    QWidget *buildSwitches();
    void connectEvents();
    void applyFilter();
    void applyShowHidden(bool on);
    void followFolderControl();
    // The other folder control shows the folder the user just picked.
    void follow(QObject *leader);

    TFolderTreeView *m_tree = nullptr;
    TFolderDropDown *m_dropDown = nullptr;
    TFileListView *m_list = nullptr;
    TFolderFileToolBar *m_toolBar = nullptr;
    QLineEdit *m_filter = nullptr;
    QCheckBox *m_showHidden = nullptr;
    QCheckBox *m_multiSelect = nullptr;
    QCheckBox *m_rowSelect = nullptr;
    QCheckBox *m_hotTrack = nullptr;
    QSpinBox *m_dropDownCount = nullptr;
    Report m_report;
    // The folder control the user picked in last; the other follows it.
    QObject *m_leader = nullptr;
    bool m_following = false;
};

} // namespace gallery
