#include "gallery/ShellBrowser.h"

#include "shell/FileListView.h"
#include "shell/FolderDropDown.h"
#include "shell/FolderFileToolBar.h"
#include "shell/FolderTreeView.h"

#include "platform/Paths.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QVBoxLayout>

namespace gallery {

namespace {

QString styleName(TViewStyle style)
{
    switch (style) {
    case vsIcon:
        return QStringLiteral("アイコン");
    case vsSmallIcon:
        return QStringLiteral("並べて表示");
    case vsReport:
        return QStringLiteral("詳細");
    default:
        return QStringLiteral("一覧");
    }
}

} // namespace

ShellBrowser::ShellBrowser(std::shared_ptr<shellns::ShellFolder> desktop, Report report, QWidget *parent)
    : QWidget(parent)
    , m_report(std::move(report))
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);

    auto *row = new QHBoxLayout;
    m_dropDown = new TFolderDropDown(desktop, this);
    m_dropDown->setAccessibleName(QStringLiteral("フォルダの選択"));
    m_toolBar = new TFolderFileToolBar(this);
    auto *filterLabel = new QLabel(QStringLiteral("フィルタ(&F):"), this);
    m_filter = new QLineEdit(this);
    m_filter->setPlaceholderText(QStringLiteral("*.mp3; *.wav"));
    m_filter->setToolTip(QStringLiteral("表示するファイル名のパターンを ; で区切って入力し、Enter キーで適用します"));
    m_filter->setClearButtonEnabled(true);
    filterLabel->setBuddy(m_filter);
    m_showHidden = new QCheckBox(QStringLiteral("隠しファイルを表示(&H)"), this);
    row->addWidget(m_dropDown, 2);
    row->addWidget(m_toolBar);
    row->addSpacing(12);
    row->addWidget(filterLabel);
    row->addWidget(m_filter, 1);
    row->addWidget(m_showHidden);
    column->addLayout(row);

    auto *split = new QSplitter(Qt::Horizontal, this);
    m_tree = new TFolderTreeView(desktop, split);
    m_list = new TFileListView(desktop, split);
    split->addWidget(m_tree);
    split->addWidget(m_list);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 2);
    split->setMinimumHeight(320);
    column->addWidget(split, 1);

    m_toolBar->setFileListControl(m_list);
    m_toolBar->setFolderControl(m_dropDown);
    m_dropDown->setFileListControl(m_list);
    m_tree->setFileListControl(m_list);

    connect(m_list, &TFileListView::OnChange, this, [this] {
        followFolderControl();
        const QByteArray file = m_list->FileName();
        if (!file.isEmpty())
            m_report(QStringLiteral("ファイル一覧: %1").arg(paths::toDisplay(file)));
    });
    connect(m_tree, &TFolderTreeView::OnChange, this, [this] {
        m_report(QStringLiteral("フォルダツリー: %1").arg(paths::toDisplay(m_tree->FolderName())));
    });
    connect(m_dropDown, &TFolderDropDown::OnChange, this, [this] {
        m_report(QStringLiteral("フォルダ選択: %1").arg(paths::toDisplay(m_dropDown->FolderName())));
    });
    connect(m_toolBar, &TFolderFileToolBar::OnViewStyle, this, [this](QObject *, TViewStyle style) {
        m_report(QStringLiteral("表示: %1").arg(styleName(style)));
    });
    connect(m_filter, &QLineEdit::returnPressed, this, [this] {
        m_list->setFilter(m_filter->text().trimmed().toUtf8());
        m_report(QStringLiteral("フィルタ: %1 (%2 項目)")
                     .arg(m_filter->text().trimmed().isEmpty() ? QStringLiteral("なし") : m_filter->text().trimmed())
                     .arg(m_list->count()));
    });
    connect(m_showHidden, &QCheckBox::toggled, this, &ShellBrowser::applyShowHidden);
}

void ShellBrowser::followFolderControl()
{
    // Up goes up in whichever control showed the listed folder.
    QObject *control = m_list->FolderControl();
    if (control && control != m_toolBar->FolderControl())
        m_toolBar->setFolderControl(control);
}

void ShellBrowser::applyShowHidden(bool on)
{
    const TFflShowHidden mode = on ? flhForceShow : flhConformExplorer;
    m_list->setShowHidden(mode);
    m_dropDown->setShowHidden(mode);
    m_tree->setShowHidden(mode);
    // The tree is read again from the top; it shows its folder in the list
    // when it is the list's folder control, else the list reads its own again.
    if (m_list->FolderControl() == m_tree)
        m_tree->Refresh();
    else
        m_list->setFilter(m_list->Filter());
    m_report(on ? QStringLiteral("隠しファイルを表示します") : QStringLiteral("隠しファイルはデスクトップの設定に従います"));
}

} // namespace gallery
