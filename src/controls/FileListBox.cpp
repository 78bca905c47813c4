#include "controls/FileListBox.h"

#include "controls/FileListDelegate.h"
#include "controls/FileListModel.h"
#include "controls/ListText.h"
#include "platform/FileCalls.h"
#include "platform/FileMask.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <climits>
#include <unistd.h>

namespace {

QByteArray workingDirectory()
{
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) ? QByteArray(buffer) : QByteArray();
}

} // namespace

TFileListBox::TFileListBox(QWidget *parent)
    : UniformListView(parent)
    , m_model(new FileListModel(this))
    , m_fs(&FileSystem::posix())
    , m_mask(FileMask::kMedia)
    , m_fileMask(std::make_shared<const FileMask>(m_mask))
    , m_directory(workingDirectory())
    , m_reads(new FileCalls(this))
{
    setModel(m_model);
    setItemDelegate(new FileListDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_readDelay.setSingleShot(true);
    m_readDelay.setInterval(kReadDelayMs);
    connect(&m_readDelay, &QTimer::timeout, this, &TFileListBox::startBackgroundRead);
    connect(m_reads, &FileCalls::slow, this, [this] {
        m_loading = true;
        viewport()->update();
    });
    Update();
}

TFileListBox::~TFileListBox()
{
    // A read still under way must not change the working directory any more.
    ++*m_latestRead;
}

QByteArray TFileListBox::Mask() const
{
    return m_mask;
}

void TFileListBox::setMask(const QByteArray &mask)
{
    if (mask == m_mask)
        return;
    m_mask = mask;
    m_fileMask = std::make_shared<const FileMask>(m_mask);
    Update();
}

QByteArray TFileListBox::Directory() const
{
    return m_directory;
}

void TFileListBox::withhold(const QByteArray &path)
{
    m_withheld.insert(path);
}

void TFileListBox::release(const QByteArray &path)
{
    m_withheld.erase(path);
}

void TFileListBox::removeItem(int index)
{
    if (index < 0 || index >= count())
        return;
    // Its place in the last listing: past every row taken out before it.
    int place = index;
    auto at = m_removedSince.begin();
    for (; at != m_removedSince.end() && *at <= place; ++at)
        ++place;
    m_removedSince.insert(at, place);
    ++m_itemsVersion;
    m_model->removeName(index);
}

int TFileListBox::indexOfName(const QByteArray &name) const
{
    return m_model->rowOf(name);
}

int TFileListBox::count() const
{
    return m_model->count();
}

QByteArray TFileListBox::itemName(int index) const
{
    return index >= 0 && index < count() ? m_model->name(index) : QByteArray();
}

QString TFileListBox::itemText(int index) const
{
    return index >= 0 && index < count() ? m_model->text(index) : QString();
}

bool TFileListBox::isSelected(int index) const
{
    return index >= 0 && index < count() && selectionModel()->isRowSelected(index, QModelIndex());
}

int TFileListBox::selectedIndex() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QByteArray TFileListBox::FileName() const
{
    const int index = selectedIndex();
    return index < 0 ? QByteArray() : paths::join(m_directory, m_model->name(index));
}

void TFileListBox::selectIndex(int index)
{
    if (index < 0 || index >= count()) {
        selectionModel()->clearSelection();
        return;
    }
    // The caret moves along, so the arrow keys go on from the selected item.
    const QModelIndex item = m_model->index(index);
    selectionModel()->setCurrentIndex(item, QItemSelectionModel::ClearAndSelect);
    scrollTo(item);
}

int TFileListBox::selectString(const QByteArray &text, int start)
{
    const QByteArray key = listtext::sortKey(text);
    const int found = listtext::findPrefix(
        count(), [this](int row) -> const QByteArray & { return m_model->key(row); }, key, start);
    if (found >= 0)
        selectIndex(found);
    return found;
}

template <typename Handler>
void TFileListBox::userInput(Handler &&handler, bool clickOnItem)
{
    const int before = selectedIndex();
    handler();
    const int after = selectedIndex();
    if (after != before || (clickOnItem && after >= 0))
        emit OnClick(this);
}

void TFileListBox::paintEvent(QPaintEvent *event)
{
    UniformListView::paintEvent(event);
    if (!m_loading)
        return;
    // The items stay those of the folder shown, veiled, until the answer comes.
    QPainter painter(viewport());
    QColor veil = palette().color(QPalette::Base);
    veil.setAlpha(200);
    painter.fillRect(viewport()->rect(), veil);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(viewport()->rect(), Qt::AlignCenter, QStringLiteral("読み込み中…"));
}

void TFileListBox::mousePressEvent(QMouseEvent *event)
{
    // Only the left button selects; the right one opens the context menu.
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    const QModelIndex hit = indexAt(event->position().toPoint());
    // A press below the last item selects nothing and keeps the selection:
    // the current file must stay selected for the sorting keys.
    if (!hit.isValid()) {
        event->accept();
        return;
    }
    userInput([&] { UniformListView::mousePressEvent(event); }, selectionModel()->isSelected(hit));
}

void TFileListBox::mouseMoveEvent(QMouseEvent *event)
{
    userInput([&] { UniformListView::mouseMoveEvent(event); });
}

void TFileListBox::keyPressEvent(QKeyEvent *event)
{
    // Keypad digits and Space are the sorting keys, the keypad's + - * /
    // the listening keys. Typing them must not also jump to a name that
    // starts with that character: in a folder of numbered takes the jump
    // would skip the file the sort just made current.
    const bool keypad = event->modifiers().testFlag(Qt::KeypadModifier);
    const int key = event->key();
    const bool keypadDigit = keypad && key >= Qt::Key_0 && key <= Qt::Key_9;
    const bool keypadOperator = keypad
        && (key == Qt::Key_Plus || key == Qt::Key_Minus || key == Qt::Key_Asterisk || key == Qt::Key_Slash);
    if (keypadDigit || keypadOperator || key == Qt::Key_Space) {
        event->accept();
        return;
    }
    userInput([&] { UniformListView::keyPressEvent(event); });
}

QItemSelectionModel::SelectionFlags TFileListBox::selectionCommand(const QModelIndex &index,
    const QEvent *event) const
{
    // A single-selection list never drops its selection on a user's input
    // (Qt would on Ctrl+click or Ctrl+Space on the selected item).
    const QItemSelectionModel::SelectionFlags flags = UniformListView::selectionCommand(index, event);
    if (index.isValid() && (flags & QItemSelectionModel::Deselect))
        return QItemSelectionModel::ClearAndSelect;
    return flags;
}
