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
#include <QSpinBox>
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
    auto *filterLabel = new QLabel(QStringLiteral("フィルタ(&I):"), this);
    m_filter = new QLineEdit(this);
    m_filter->setPlaceholderText(QStringLiteral("*.mp3; *.wav"));
    m_filter->setToolTip(QStringLiteral("表示するファイル名のパターンを ; で区切って入力し、Enter キーで適用します"));
    m_filter->setClearButtonEnabled(true);
    filterLabel->setBuddy(m_filter);
    row->addWidget(m_dropDown, 2);
    row->addWidget(m_toolBar);
    row->addSpacing(12);
    row->addWidget(filterLabel);
    row->addWidget(m_filter, 1);
    column->addLayout(row);
    column->addWidget(buildSwitches());

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
    m_dropDownCount->setValue(m_dropDown->DropDownCount());
    connectEvents();
}

QWidget *ShellBrowser::buildSwitches()
{
    auto *line = new QWidget(this);
    auto *layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto addSwitch = [line, layout](const QString &text, const QString &tip) {
        auto *box = new QCheckBox(text, line);
        box->setToolTip(tip);
        layout->addWidget(box);
        return box;
    };
    m_multiSelect = addSwitch(QStringLiteral("MultiSelect"), QStringLiteral("ファイル一覧で複数の項目を選べます"));
    m_rowSelect = addSwitch(QStringLiteral("RowSelect"), QStringLiteral("詳細表示で行全体を選択します"));
    m_hotTrack = addSwitch(QStringLiteral("HotTrack"), QStringLiteral("マウスを止めた項目が選択されます"));
    m_showHidden = addSwitch(QStringLiteral("隠しファイルを表示(&H)"), QStringLiteral("ShowHidden"));
    layout->addSpacing(12);
    auto *countLabel = new QLabel(QStringLiteral("DropDownCount:"), line);
    m_dropDownCount = new QSpinBox(line);
    m_dropDownCount->setRange(1, 50);
    m_dropDownCount->setToolTip(QStringLiteral("フォルダ選択の一覧に一度に表示する行数"));
    countLabel->setBuddy(m_dropDownCount);
    layout->addWidget(countLabel);
    layout->addWidget(m_dropDownCount);
    layout->addStretch(1);
    return line;
}

void ShellBrowser::connectEvents()
{
    const auto name = [](const QByteArray &path) { return paths::toDisplay(path); };
    connect(m_list, &TFileListView::OnChange, this, [this, name] {
        followFolderControl();
        const QByteArray file = m_list->FileName();
        if (!file.isEmpty())
            m_report(QStringLiteral("ファイル一覧: %1").arg(name(file)));
    });
    connect(m_list, &TFileListView::OnClick, this, [this] {
        m_report(QStringLiteral("ファイル一覧 OnClick: %1 件選択").arg(m_list->FileNames().size()));
    });
    connect(m_list, &TFileListView::OnDblClick, this, [this, name] {
        m_report(QStringLiteral("ファイル一覧 OnDblClick: %1").arg(name(m_list->FileName())));
    });
    connect(m_tree, &TFolderTreeView::OnChange, this, [this, name] {
        const QByteArray folder = m_tree->FolderName();
        m_report(QStringLiteral("フォルダツリー: %1")
                     .arg(folder.startsWith('/') ? name(folder) : m_tree->currentIndex().data().toString()));
        follow(m_tree);
    });
    connect(m_tree, &TFolderTreeView::OnClick, this,
        [this] { m_report(QStringLiteral("フォルダツリー OnClick")); });
    connect(m_tree, &TFolderTreeView::OnDblClick, this,
        [this] { m_report(QStringLiteral("フォルダツリー OnDblClick")); });
    connect(m_dropDown, &TFolderDropDown::OnChange, this, [this, name] {
        const QByteArray folder = m_dropDown->FolderName();
        m_report(QStringLiteral("フォルダ選択: %1").arg(folder.startsWith('/') ? name(folder) : m_dropDown->currentText()));
        follow(m_dropDown);
    });
    connect(m_dropDown, &TFolderDropDown::OnDropDown, this,
        [this] { m_report(QStringLiteral("フォルダ選択 OnDropDown")); });
    connect(m_dropDown, &TFolderDropDown::OnCloseUp, this,
        [this] { m_report(QStringLiteral("フォルダ選択 OnCloseUp")); });
    connect(m_toolBar, &TFolderFileToolBar::OnViewStyle, this, [this](QObject *, TViewStyle style) {
        m_report(QStringLiteral("表示: %1").arg(styleName(style)));
    });
    connect(m_filter, &QLineEdit::returnPressed, this, &ShellBrowser::applyFilter);
    // The field's clear button (or deleting all of it) shows every file at once.
    connect(m_filter, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (text.trimmed().isEmpty() && !m_list->Filter().isEmpty())
            applyFilter();
    });
    connect(m_showHidden, &QCheckBox::toggled, this, &ShellBrowser::applyShowHidden);
    const struct { QCheckBox *box; void (TFileListView::*apply)(bool); const char *name; } switches[] = {
        {m_multiSelect, &TFileListView::setMultiSelect, "MultiSelect"},
        {m_rowSelect, &TFileListView::setRowSelect, "RowSelect"},
        {m_hotTrack, &TFileListView::setHotTrack, "HotTrack"},
    };
    for (const auto &s : switches) {
        connect(s.box, &QCheckBox::toggled, this, [this, s](bool on) {
            (m_list->*s.apply)(on);
            m_report(QStringLiteral("%1 = %2").arg(QLatin1String(s.name), on ? QStringLiteral("True") : QStringLiteral("False")));
        });
    }
    connect(m_dropDownCount, &QSpinBox::valueChanged, this, [this](int count) {
        m_dropDown->setDropDownCount(count);
        m_report(QStringLiteral("DropDownCount = %1").arg(count));
    });
}

void ShellBrowser::applyFilter()
{
    const QString filter = m_filter->text().trimmed();
    m_list->setFilter(filter.toUtf8());
    m_report(QStringLiteral("フィルタ: %1 (%2 項目)")
                 .arg(filter.isEmpty() ? QStringLiteral("なし") : filter)
                 .arg(m_list->count()));
}

void ShellBrowser::follow(QObject *leader)
{
    if (m_following)
        return;
    m_leader = leader;
    const QByteArray folder = leader == m_tree ? m_tree->FolderName() : m_dropDown->FolderName();
    m_following = true;
    if (leader == m_tree && !folder.startsWith('/')) {
        // A folder outside the file system (the computer, the desktop) has
        // no path to look up: the drop-down's row of the same name is chosen.
        const int row = m_dropDown->findText(m_tree->currentIndex().data().toString());
        if (row >= 0 && row != m_dropDown->currentIndex()) {
            m_dropDown->setCurrentIndex(row);
            emit m_dropDown->activated(row);
        }
    } else if (leader == m_tree && m_dropDown->FolderName() != folder)
        m_dropDown->setFolderName(folder);
    else if (leader == m_dropDown && m_tree->FolderName() != folder)
        m_tree->setFolderName(folder);
    m_following = false;
    m_toolBar->setFolderControl(leader);
}

void ShellBrowser::followFolderControl()
{
    // Up goes up in the control the user picked in; before any pick, in
    // whichever control showed the listed folder.
    QObject *control = m_leader ? m_leader : m_list->FolderControl();
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
