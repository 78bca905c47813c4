#include "shell/FflFileStyleMenu.h"

#include "shell/FileListView.h"
#include "shell/FolderFileToolBar.h"

#include <QActionGroup>

TFflFileStyleMenu::TFflFileStyleMenu(QWidget *owner)
    : QMenu(owner)
{
    m_group = new QActionGroup(this);
    m_group->setExclusive(true);
    const struct {
        const char *caption;
        TViewStyle style;
    } items[] = {
        {"並べて表示(&S)", vsSmallIcon},
        {"アイコン(&N)", vsIcon},
        {"一覧(&L)", vsList},
        {"詳細(&D)", vsReport},
    };
    for (size_t i = 0; i < m_items.size(); ++i) {
        QAction *action = addAction(QString::fromUtf8(items[i].caption));
        action->setCheckable(true);
        action->setData(int(items[i].style));
        m_group->addAction(action);
        connect(action, &QAction::triggered, this, [this, action] { clickStyleItem(action); });
        m_items[i] = action;
    }
    itemFor(vsList)->setChecked(true);
    connect(this, &QMenu::aboutToShow, this, &TFflFileStyleMenu::reflectViewStyle);
}

QAction *TFflFileStyleMenu::itemFor(TViewStyle style) const
{
    for (QAction *action : m_items) {
        if (action->data().toInt() == style)
            return action;
    }
    return nullptr;
}

void TFflFileStyleMenu::setListView(QObject *list)
{
    if (list) {
        auto *view = qobject_cast<TFileListView *>(list);
        if (!view)
            return;
        m_listView.set(view, this, [this] { setListView(nullptr); });
        reflectViewStyle();
        return;
    }
    m_listView.clear();
}

void TFflFileStyleMenu::reflectViewStyle()
{
    if (!m_listView.get())
        return;
    if (QAction *action = itemFor(m_listView.get()->ViewStyle()))
        action->setChecked(true);
}

void TFflFileStyleMenu::clickStyleItem(QAction *sender)
{
    const auto found = std::find(m_items.begin(), m_items.end(), sender);
    TViewStyle style = vsList;
    if (found != m_items.end()) {
        sender->setChecked(true);
        style = TViewStyle(sender->data().toInt());
    }
    if (TFileListView *list = m_listView.get())
        list->setViewStyle(style);
    if (auto *toolBar = qobject_cast<TFolderFileToolBar *>(parent()))
        emit toolBar->OnViewStyle(sender, style);
}
