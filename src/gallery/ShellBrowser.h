#pragma once
// The gallery's browsing section: a folder tree and a folder drop-down that
// both drive one file list view, a folder toolbar, a filter field and a
// show-hidden switch.
//
// The toolbar's Up button follows whichever folder control last showed a
// folder in the list, so Up goes to the parent in the tree after a pick in
// the tree and in the drop-down after a pick there. What the components do
// is reported through the given callback.
#include "namespace/ShellFolder.h"

#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QLineEdit;
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

private:
    void applyShowHidden(bool on);
    void followFolderControl();

    TFolderTreeView *m_tree = nullptr;
    TFolderDropDown *m_dropDown = nullptr;
    TFileListView *m_list = nullptr;
    TFolderFileToolBar *m_toolBar = nullptr;
    QLineEdit *m_filter = nullptr;
    QCheckBox *m_showHidden = nullptr;
    Report m_report;
};

} // namespace gallery
