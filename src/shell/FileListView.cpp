// The file list view: construction, the four view styles, menus and the
// user's input.
#include "shell/FileListView.h"

#include "shell/FflFileStyleMenu.h"
#include "shell/FileListViewModel.h"
#include "shell/FileListViewParts.h"

#include "platform/FileCalls.h"
#include "platform/FolderWatch.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QStackedLayout>
#include <QTimer>
#include <QTreeView>

using namespace shellns;

namespace {

constexpr int kSmallIcon = 16;
constexpr int kLargeIcon = 48;
// Resting this long on an item selects it while hot tracking.
constexpr int kHotTrackDelayMs = 400;

} // namespace

TFileListView::TFileListView(QWidget *parent)
    : TFileListView(desktopFolder(), parent)
{
}

TFileListView::TFileListView(std::shared_ptr<ShellFolder> desktop, QWidget *parent)
    : QWidget(parent)
    , m_desktop(std::move(desktop))
{
    resize(257, 153);
    m_model = new FileListViewModel(this);
    m_selection = new QItemSelectionModel(m_model, this);

    m_iconView = new FileListIconView(this);
    m_iconView->setUniformItemSizes(true);
    m_iconView->setMovement(QListView::Static);
    m_iconView->setResizeMode(QListView::Adjust);
    m_iconView->setTextElideMode(Qt::ElideRight);
    m_iconView->setItemDelegate(new FileListCellDelegate(m_iconView));
    m_reportView = new FileListReportView(this);
    m_reportView->setRootIsDecorated(false);
    m_reportView->setItemsExpandable(false);
    m_reportView->setUniformRowHeights(true);
    m_reportView->setSortingEnabled(false);
    m_reportView->setAllColumnsShowFocus(false);
    m_reportView->setItemDelegate(new FileListReportDelegate(&m_rowSelect, m_reportView));
    for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(m_iconView),
                                    static_cast<QAbstractItemView *>(m_reportView)})
        setupView(view);
    QHeaderView *header = m_reportView->header();
    header->setStretchLastSection(false);
    header->setSectionsClickable(false);
    for (int column = 0; column < FileListViewModel::kColumnCount; ++column)
        header->setSectionResizeMode(column, QHeaderView::Interactive);
    fitColumns();

    m_stack = new QStackedLayout(this);
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_stack->addWidget(m_iconView);
    m_stack->addWidget(m_reportView);

    m_styleMenu = new TFflFileStyleMenu(this);
    m_styleMenu->setListView(this);

    m_folderWatch = new FolderWatch(this);
    m_pathCalls = new FileCalls(this);
    connect(m_folderWatch, &FolderWatch::vanished, this, &TFileListView::leaveVanishedFolder);

    m_hotTrackTimer = new QTimer(this);
    m_hotTrackTimer->setSingleShot(true);
    m_hotTrackTimer->setInterval(kHotTrackDelayMs);
    connect(m_hotTrackTimer, &QTimer::timeout, this, [this] {
        if (m_hotIndex.isValid())
            m_selection->setCurrentIndex(m_hotIndex, QItemSelectionModel::ClearAndSelect
                                                         | QItemSelectionModel::Rows);
    });

    connect(m_selection, &QItemSelectionModel::currentChanged, this, [this] { changeEvent(); });
    connect(m_selection, &QItemSelectionModel::selectionChanged, this, [this] { changeEvent(); });

    getShellSettings();
    applyViewStyle();
}

TFileListView::~TFileListView()
{
    m_filling = true;
    disconnect(m_selection, nullptr, this, nullptr);
}

void TFileListView::setupView(QAbstractItemView *view)
{
    view->setModel(m_model);
    QItemSelectionModel *own = view->selectionModel();
    view->setSelectionModel(m_selection);
    delete own;
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    view->setMouseTracking(true);
    view->viewport()->setMouseTracking(true);
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
    connect(view, &QAbstractItemView::customContextMenuRequested, this,
            [this, view](const QPoint &at) { showPopupMenu(view, at); });
    connect(view, &QAbstractItemView::doubleClicked, this, [this] { doubleClick(); });
    connect(view, &QAbstractItemView::clicked, this, [this] { emit OnClick(this); });
    connect(view, &QAbstractItemView::entered, this, &TFileListView::hotTrackTo);
}

QAbstractItemView *TFileListView::currentView() const
{
    return m_viewStyle == vsReport ? static_cast<QAbstractItemView *>(m_reportView)
                                   : static_cast<QAbstractItemView *>(m_iconView);
}

int TFileListView::count() const
{
    return m_model->count();
}

const std::shared_ptr<ShellFolder> &TFileListView::listedFolder() const
{
    return m_model->folder();
}

void TFileListView::setViewStyle(TViewStyle style)
{
    if (style != vsIcon && style != vsSmallIcon && style != vsReport)
        style = vsList;
    if (style == m_viewStyle)
        return;
    m_viewStyle = style;
    applyViewStyle();
}

void TFileListView::fitColumns()
{
    // The given widths, widened where this font needs more room for a
    // column's title or its widest text (a whole date, the status).
    QHeaderView *header = m_reportView->header();
    QStyleOptionViewItem cell;
    cell.initFrom(m_reportView->viewport());
    cell.font = m_reportView->font();
    cell.features = QStyleOptionViewItem::HasDisplay;
    cell.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    for (int column = 0; column < FileListViewModel::kColumnCount; ++column) {
        int width = std::max(FileListViewModel::columnWidth(column), header->sectionSizeHint(column));
        for (const QString &sample : FileListViewModel::columnSamples(column)) {
            cell.text = sample;
            width = std::max(width, m_reportView->style()->sizeFromContents(
                QStyle::CT_ItemViewItem, &cell, QSize(), m_reportView).width());
        }
        header->resizeSection(column, width);
    }
}

void TFileListView::applyViewStyle()
{
    QAbstractItemView *before = qobject_cast<QAbstractItemView *>(m_stack->currentWidget());
    const bool hadFocus = before && before->hasFocus();
    if (m_viewStyle == vsReport) {
        m_reportView->setIconSize(QSize(kSmallIcon, kSmallIcon));
    } else {
        const QFontMetrics metrics(m_iconView->font());
        if (m_viewStyle == vsIcon) {
            m_iconView->setViewMode(QListView::IconMode);
            m_iconView->setFlow(QListView::LeftToRight);
            m_iconView->setIconSize(QSize(kLargeIcon, kLargeIcon));
            m_iconView->setWordWrap(true);
            // Room for the icon and two lines of the name.
            const QSize grid(kLargeIcon + 52, kLargeIcon + 2 * metrics.height() + 12);
            m_iconView->setGridSize(grid);
            auto *delegate = static_cast<FileListCellDelegate *>(m_iconView->itemDelegate());
            delegate->cell = grid - QSize(4, 2);
            delegate->iconLabels = true;
        } else {
            m_iconView->setViewMode(QListView::ListMode);
            m_iconView->setIconSize(QSize(kSmallIcon, kSmallIcon));
            m_iconView->setWordWrap(false);
            m_iconView->setFlow(m_viewStyle == vsSmallIcon ? QListView::LeftToRight : QListView::TopToBottom);
            m_iconView->setWrapping(true);
            // Columns as wide as the longest name, within reason.
            const int text = std::clamp(m_model->widestLabel(metrics) + 24, 60, 340);
            const QSize cell(kSmallIcon + 10 + text, std::max(kSmallIcon, metrics.height()) + 4);
            auto *delegate = static_cast<FileListCellDelegate *>(m_iconView->itemDelegate());
            delegate->cell = cell;
            delegate->iconLabels = false;
            m_iconView->setGridSize(cell);
        }
        m_iconView->setMovement(QListView::Static);
        m_iconView->setResizeMode(QListView::Adjust);
    }
    QAbstractItemView *after = currentView();
    m_stack->setCurrentWidget(after);
    setFocusProxy(after);
    if (hadFocus)
        after->setFocus();
    if (m_selection->currentIndex().isValid())
        after->scrollTo(m_selection->currentIndex());
    m_styleMenu->reflectViewStyle();
}

void TFileListView::setMultiSelect(bool on)
{
    m_multiSelect = on;
    const auto mode = on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection;
    m_iconView->setSelectionMode(mode);
    m_reportView->setSelectionMode(mode);
    if (!on && m_selection->selectedRows().size() > 1) {
        const QModelIndex current = m_selection->currentIndex();
        m_selection->select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
}

void TFileListView::setRowSelect(bool on)
{
    m_rowSelect = on;
    m_reportView->setAllColumnsShowFocus(on);
    m_reportView->viewport()->update();
}

void TFileListView::setHotTrack(bool on)
{
    m_hotTrack = on;
    for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(m_iconView),
                                    static_cast<QAbstractItemView *>(m_reportView)})
        view->viewport()->setAttribute(Qt::WA_Hover, on);
    if (!on)
        m_hotTrackTimer->stop();
}

void TFileListView::hotTrackTo(const QModelIndex &index)
{
    if (!m_hotTrack)
        return;
    m_hotIndex = index;
    m_hotTrackTimer->start();
}

void TFileListView::setPopupMenu(QObject *menu)
{
    if (menu) {
        auto *popup = qobject_cast<QMenu *>(menu);
        if (!popup)
            return;
        m_userMenu.set(popup, this, [this] { setPopupMenu(nullptr); });
        return;
    }
    m_userMenu.clear();
}

QMenu *TFileListView::shownPopupMenu() const
{
    return m_userMenu.get() ? m_userMenu.get() : static_cast<QMenu *>(m_styleMenu);
}

void TFileListView::showPopupMenu(QAbstractItemView *view, const QPoint &at)
{
    shownPopupMenu()->popup(view->viewport()->mapToGlobal(at));
}

bool TFileListView::eventFilter(QObject *watched, QEvent *event)
{
    const bool view = watched == m_iconView || watched == m_reportView;
    if (view && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
            doubleClick();
            return true;
        }
        if (key->key() == Qt::Key_Backspace && key->modifiers() == Qt::NoModifier) {
            goUp();
            return true;
        }
    }
    const bool viewport = watched == m_iconView->viewport() || watched == m_reportView->viewport();
    if (viewport && event->type() == QEvent::MouseButtonDblClick) {
        // A double click off the items opens nothing, yet the user still hears of it.
        const auto *mouse = static_cast<QMouseEvent *>(event);
        auto *owner = static_cast<QAbstractItemView *>(watched->parent());
        if (mouse->button() == Qt::LeftButton && !owner->indexAt(mouse->position().toPoint()).isValid())
            emit OnDblClick(this);
    }
    if (viewport && event->type() == QEvent::Leave)
        m_hotTrackTimer->stop();
    return QWidget::eventFilter(watched, event);
}
