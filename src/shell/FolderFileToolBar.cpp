#include "shell/FolderFileToolBar.h"

#include "shell/FflFileStyleMenu.h"
#include "shell/FflIconList.h"
#include "shell/FileListView.h"
#include "shell/FolderDropDown.h"
#include "shell/FolderTreeView.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace {

constexpr int kCell = 16;
// Room for the View button's drop-down arrow.
constexpr int kArrowWidth = 14;

} // namespace

TFolderFileToolBar::TFolderFileToolBar(QWidget *parent)
    : QWidget(parent)
{
    const QPixmap strip = TFflIconList::resourceBitmap(QByteArrayLiteral("ToolBar-Normal"));
    for (int x = 0; x + kCell <= strip.width(); x += kCell)
        m_images.push_back(strip.copy(x, 0, kCell, kCell));
    auto picture = [this](size_t index) { return index < m_images.size() ? QIcon(m_images[index]) : QIcon(); };

    m_menu = new TFflFileStyleMenu(this);

    m_upButton = new QToolButton(this);
    m_upButton->setAutoRaise(true);
    m_upButton->setIcon(picture(1));
    m_upButton->setIconSize(QSize(kCell, kCell));
    m_upButton->setToolTip(QStringLiteral("1つ上のフォルダへ"));
    m_upButton->setAccessibleName(m_upButton->toolTip());
    m_upButton->hide();
    connect(m_upButton, &QToolButton::clicked, this, &TFolderFileToolBar::clickSelectParent);

    m_viewButton = new QToolButton(this);
    m_viewButton->setAutoRaise(true);
    m_viewButton->setIcon(picture(3));
    m_viewButton->setIconSize(QSize(kCell, kCell));
    m_viewButton->setToolTip(QStringLiteral("表示メニュー"));
    m_viewButton->setAccessibleName(m_viewButton->toolTip());
    m_viewButton->setMenu(m_menu);
    m_viewButton->setPopupMode(QToolButton::MenuButtonPopup);
    m_viewButton->hide();
    connect(m_viewButton, &QToolButton::clicked, this, &TFolderFileToolBar::clickViewStyle);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_upButton);
    layout->addWidget(m_viewButton);
    layout->addStretch(1);
    applySize();
}

TFolderFileToolBar::~TFolderFileToolBar()
{
    m_destroying = true;
    m_folderControl.clear();
    m_fileList.clear();
}

void TFolderFileToolBar::applySize()
{
    m_upButton->setFixedSize(m_buttonWidth, m_buttonHeight);
    m_viewButton->setFixedSize(m_buttonWidth + kArrowWidth, m_buttonHeight);
    setFixedSize(2 * m_buttonWidth + 18, m_buttonHeight);
}

void TFolderFileToolBar::setButtonWidth(int width)
{
    m_buttonWidth = std::max(1, width);
    applySize();
}

void TFolderFileToolBar::setButtonHeight(int height)
{
    m_buttonHeight = std::max(1, height);
    applySize();
}

void TFolderFileToolBar::setFolderControl(QObject *control)
{
    const bool known = qobject_cast<TFolderTreeView *>(control) || qobject_cast<TFolderDropDown *>(control);
    m_folderControl.set(known ? control : nullptr, this, [this] { setFolderControl(nullptr); });
    if (!m_destroying)
        m_upButton->setVisible(known);
}

void TFolderFileToolBar::setFileListControl(QObject *list)
{
    if (list) {
        auto *view = qobject_cast<TFileListView *>(list);
        if (!view)
            return;
        m_fileList.set(view, this, [this] { setFileListControl(nullptr); });
        m_menu->setListView(view);
        m_viewButton->setVisible(true);
        return;
    }
    m_fileList.clear();
    m_menu->setListView(nullptr);
    if (!m_destroying)
        m_viewButton->setVisible(false);
}

void TFolderFileToolBar::clickSelectParent()
{
    if (auto *tree = qobject_cast<TFolderTreeView *>(m_folderControl.get()))
        tree->SelectParent();
    else if (auto *dropDown = qobject_cast<TFolderDropDown *>(m_folderControl.get()))
        dropDown->SelectParent();
    emit OnButtonClick(m_upButton, 1);
}

void TFolderFileToolBar::clickViewStyle()
{
    m_menu->popup(m_viewButton->mapToGlobal(QPoint(0, m_viewButton->height())));
    emit OnButtonClick(m_viewButton, 3);
}
