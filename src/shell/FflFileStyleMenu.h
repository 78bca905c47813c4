#pragma once
// TFflFileStyleMenu: a popup menu that switches a linked file list view
// between its four view styles.
//
// Four radio items, each tagged with its style; the item of the linked
// list's style is checked whenever the menu pops up and whenever a list is
// linked. The link is not owned and drops when the list is destroyed. A
// menu owned by a folder toolbar also tells the toolbar what was chosen.
#include "shell/ControlLink.h"
#include "shell/ViewStyle.h"

#include <QMenu>

#include <array>

class QAction;
class QActionGroup;
class TFileListView;

class TFflFileStyleMenu : public QMenu
{
    Q_OBJECT

public:
    explicit TFflFileStyleMenu(QWidget *owner);

    TFileListView *ListView() const { return m_listView.get(); }
    // Links a TFileListView; null unlinks; other objects are ignored.
    virtual void setListView(QObject *list);
    // Checks the item of the linked list's current style.
    virtual void reflectViewStyle();

    // The four items in menu order: small icons, icons, list, details.
    QAction *item(int index) const { return m_items[size_t(index)]; }
    // The item that chooses `style`.
    QAction *itemFor(TViewStyle style) const;

private:
    void clickStyleItem(QAction *sender);

    std::array<QAction *, 4> m_items{};
    QActionGroup *m_group = nullptr;
    ControlLink<TFileListView> m_listView;
};
