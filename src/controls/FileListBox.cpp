#include "controls/FileListBox.h"

#include "controls/FileListDelegate.h"
#include "controls/FileListModel.h"
#include "platform/FileMask.h"
#include "platform/FileDescriptor.h"
#include "platform/FileSystem.h"
#include "platform/FolderFiles.h"
#include "controls/ListText.h"
#include "platform/Paths.h"
#include "platform/ThreadPriority.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace {

QByteArray workingDirectory()
{
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) ? QByteArray(buffer) : QByteArray();
}

// Takes the withheld files of folder out of names.
void dropWithheld(std::vector<QByteArray> &names, const QByteArray &folder, const std::set<QByteArray> &withheld)
{
    if (withheld.empty())
        return;
    std::erase_if(names, [&](const QByteArray &name) { return withheld.count(paths::join(folder, name)) != 0; });
}

} // namespace

TFileListBox::TFileListBox(QWidget *parent)
    : QListView(parent)
    , m_model(new FileListModel(this))
    , m_fs(&FileSystem::posix())
    , m_mask(FileMask::kMedia)
    , m_fileMask(std::make_unique<FileMask>(m_mask))
    , m_directory(workingDirectory())
{
    setModel(m_model);
    setItemDelegate(new FileListDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_reader.setMaxThreadCount(1);
    m_readDelay.setSingleShot(true);
    m_readDelay.setInterval(kReadDelayMs);
    connect(&m_readDelay, &QTimer::timeout, this, &TFileListBox::startBackgroundRead);
    Update();
}

// A read still under way posts to this list: wait for it while the list exists.
TFileListBox::~TFileListBox()
{
    m_reader.clear();
    m_reader.waitForDone();
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
    m_fileMask = std::make_unique<FileMask>(m_mask);
    Update();
}

QByteArray TFileListBox::Directory() const
{
    return m_directory;
}

bool TFileListBox::readFolder(const QByteArray &folder, bool enter)
{
    // Whatever a background read would bring is older than this.
    m_pendingRead = 0;
    m_readDelay.stop();
    const FileDescriptor fd(m_fs->open(folder.constData(), O_RDONLY | O_DIRECTORY, 0), *m_fs);
    if (!fd.isOpen())
        return false;
    folderfiles::Listing listing = folderfiles::read(fd.get(), *m_fileMask);
    const bool entered = listing.error == 0 && (!enter || ::fchdir(fd.get()) == 0);
    if (!entered)
        return false;
    dropWithheld(listing.names, folder, m_withheld);
    m_model->setNames(std::move(listing.names));
    return true;
}

bool TFileListBox::setDirectory(const QByteArray &folder)
{
    if (folder.isEmpty())
        return false;
    // The same folder on disk, however spelt: names on Linux differ by case,
    // so a case-blind comparison of paths would keep another folder's files.
    if (m_fs->isDirectory(folder) && m_fs->sameFile(folder, m_directory))
        return true;
    if (!readFolder(folder, true))
        return false;
    const QByteArray entered = workingDirectory();
    m_directory = entered.isEmpty() ? folder : entered;
    return true;
}

bool TFileListBox::applyFilePath(const QByteArray &path)
{
    if (path.isEmpty())
        return true;
    const QByteArray selected = FileName();
    if (!selected.isEmpty() && (path == selected || m_fs->sameFile(path, selected)))
        return true;
    return setDirectory(path);
}

bool TFileListBox::Update()
{
    m_pendingRead = 0;
    m_readDelay.stop();
    if (m_directory.isEmpty() || !readFolder(m_directory, true)) {
        m_model->setNames({});
        return false;
    }
    return true;
}

void TFileListBox::UpdateLater()
{
    if (m_directory.isEmpty())
        return;
    m_pendingRead = ++m_readCount;
    m_readDelay.start();
}

void TFileListBox::startBackgroundRead()
{
    const quint64 read = m_pendingRead;
    if (read == 0)
        return;
    m_reader.start([this, read, &fs = *m_fs, folder = m_directory, mask = *m_fileMask, withheld = m_withheld] {
        // It yields to the player starting the next file.
        lowerThreadPriority();
        const FileDescriptor fd(fs.open(folder.constData(), O_RDONLY | O_DIRECTORY, 0), fs);
        folderfiles::Listing listing;
        if (fd.isOpen()) {
            listing = folderfiles::read(fd.get(), mask);
            dropWithheld(listing.names, folder, withheld);
        }
        // A folder that cannot be read shows as empty, as Update() leaves it.
        auto items = std::make_shared<FileListModel::Sorted>(
            FileListModel::sorted(fd.isOpen() && listing.error == 0 ? std::move(listing.names)
                                                                     : std::vector<QByteArray>()));
        QMetaObject::invokeMethod(this, [this, read, items] {
            if (read != m_pendingRead)
                return;
            m_pendingRead = 0;
            if (items->names == m_model->names())
                return;
            m_model->setSorted(std::move(*items));
            emit ListingChanged();
        }, Qt::QueuedConnection);
    });
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
    m_model->removeName(index);
}

int TFileListBox::indexOfName(const QByteArray &name) const
{
    const std::vector<QByteArray> &names = m_model->names();
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : int(found - names.begin());
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
    const int found = listtext::findPrefix(m_model->keys(), key, start);
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
    userInput([&] { QListView::mousePressEvent(event); }, selectionModel()->isSelected(hit));
}

void TFileListBox::mouseMoveEvent(QMouseEvent *event)
{
    userInput([&] { QListView::mouseMoveEvent(event); });
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
    userInput([&] { QListView::keyPressEvent(event); });
}

QItemSelectionModel::SelectionFlags TFileListBox::selectionCommand(const QModelIndex &index,
    const QEvent *event) const
{
    // A single-selection list never drops its selection on a user's input
    // (Qt would on Ctrl+click or Ctrl+Space on the selected item).
    const QItemSelectionModel::SelectionFlags flags = QListView::selectionCommand(index, event);
    if (index.isValid() && (flags & QItemSelectionModel::Deselect))
        return QItemSelectionModel::ClearAndSelect;
    return flags;
}
