#pragma once
// TFolderFileToolBar: an Up button for a linked folder tree or drop-down
// and a View button with the view-style menu for a linked file list view.
//
// Each button shows only while its target is linked; links are not owned
// and drop when a target is destroyed. The toolbar owns its buttons, their
// pictures (cells of the toolbar strip) and its view-style menu, whose
// choices it reports through OnViewStyle.
#include "shell/ControlLink.h"
#include "shell/ViewStyle.h"

#include <QPixmap>
#include <QWidget>

#include <vector>

class QToolButton;
class TFflFileStyleMenu;
class TFileListView;

class TFolderFileToolBar : public QWidget
{
    Q_OBJECT

public:
    explicit TFolderFileToolBar(QWidget *parent = nullptr);
    ~TFolderFileToolBar() override;

    // The Up button's target: a TFolderTreeView or a TFolderDropDown.
    QObject *FolderControl() const { return m_folderControl.get(); }
    // Anything else, or null, unlinks it and hides the Up button.
    virtual void setFolderControl(QObject *control);
    TFileListView *FileListControl() const { return m_fileList.get(); }
    // Null unlinks; objects that are not a TFileListView are ignored.
    virtual void setFileListControl(QObject *list);

    int ButtonWidth() const { return m_buttonWidth; }
    void setButtonWidth(int width);
    int ButtonHeight() const { return m_buttonHeight; }
    void setButtonHeight(int height);

    QToolButton *upButton() const { return m_upButton; }
    QToolButton *viewButton() const { return m_viewButton; }
    TFflFileStyleMenu *styleMenu() const { return m_menu; }
    // The strip's cells; 1 is the Up picture, 3 the View picture.
    const std::vector<QPixmap> &images() const { return m_images; }

signals:
    // A style was chosen from this toolbar's menu; `sender` is the chosen item.
    void OnViewStyle(QObject *sender, TViewStyle viewStyle);
    // After a button's own action: 1 for Up, 3 for View.
    void OnButtonClick(QObject *sender, int button);

private:
    void clickSelectParent();
    void clickViewStyle();
    void applySize();

    std::vector<QPixmap> m_images;
    TFflFileStyleMenu *m_menu = nullptr;
    QToolButton *m_upButton = nullptr;
    QToolButton *m_viewButton = nullptr;
    ControlLink<QObject> m_folderControl;
    ControlLink<TFileListView> m_fileList;
    int m_buttonWidth = 23;
    int m_buttonHeight = 22;
    bool m_destroying = false;
};
