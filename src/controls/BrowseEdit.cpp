#include "controls/BrowseEdit.h"

#include "controls/FolderPicker.h"
#include "platform/DroppedPaths.h"
#include "platform/FileSystem.h"
#include "platform/FolderProbe.h"
#include "platform/PathResolve.h"
#include "platform/Paths.h"

#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStyle>
#include <QStyleHints>
#include <QToolButton>

namespace {

// How long the picker waits for its start folder to answer on a share or a
// drive that may hang (on local disks it waits as a busy disk needs).
constexpr int kPickerWaitMs = 15;

} // namespace

TBrowseEdit::TBrowseEdit(QWidget *parent)
    : QLineEdit(parent)
    , pickFolder([this](QWidget *owner) {
        return folderpicker::pick(owner, QStringLiteral("フォルダの参照"), pickerStartFolder());
    })
    , m_button(new QToolButton(this))
{
    m_button->setObjectName(QStringLiteral("browseButton"));
    m_button->setIcon(style()->standardIcon(QStyle::SP_DirIcon));
    m_button->setIconSize(QSize(14, 14));
    m_button->setCursor(Qt::ArrowCursor);
    m_button->setFocusPolicy(Qt::NoFocus);
    m_button->setAutoRaise(true);
    setTextMargins(0, 0, kButtonWidth, 0);

    connect(m_button, &QToolButton::clicked, this, &TBrowseEdit::browse);
    connect(this, &QLineEdit::textChanged, this, [this] { emit OnChange(this); });
}

TBrowseEdit::~TBrowseEdit()
{
    restoreDesktopBlinkRate();
}

QByteArray TBrowseEdit::Path() const
{
    // Bytes written by the program stay exact while the text shows them
    // unchanged, even when they are no valid UTF-8; typed text is encoded.
    if (!m_path.isEmpty() && text() == paths::toDisplay(m_path))
        return m_path;
    return paths::fromDisplay(text());
}

void TBrowseEdit::setPath(const QByteArray &path)
{
    if (path == Path())
        return;
    m_path = path;
    setText(paths::toDisplay(path));
    // A long path shows where it starts, not its last characters.
    setCursorPosition(0);
}

void TBrowseEdit::setCaretBlinkRate(int milliseconds)
{
    m_caretBlinkRate = qMax(0, milliseconds);
    if (hasFocus())
        applyBlinkRate();
}

QString TBrowseEdit::pickerStartFolder() const
{
    // A name the picker cannot show as text would come back as another folder.
    const QByteArray path = Path();
    const QString folder = QFile::decodeName(path);
    // A folder on a share that does not answer is not waited for: the
    // picker starts at home then.
    if (!path.isEmpty() && QFile::encodeName(folder) == path
        && folderprobe::lookPatiently(path, kPickerWaitMs) == folderprobe::Answer::Folder)
        return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    return QDir::homePath();
}

void TBrowseEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    m_button->setGeometry(width() - kButtonWidth - frame, frame, kButtonWidth, height() - 2 * frame);
}

void TBrowseEdit::setPathFromDrop(const QByteArray &path)
{
    // An item on a mount that does not answer is taken as the folder it most
    // likely is: the slot then shows that it waits.
    const bool notFolder = folderprobe::lookPatiently(path, droppedpaths::kFolderLookMs) == folderprobe::Answer::NotFolder;
    setPath(notFolder ? paths::directoryPart(path) : path);
}

bool TBrowseEdit::answerFileDrag(QDropEvent *event)
{
    // A drag of files is taken whole; one of web addresses or other places
    // is no folder of this machine and is refused rather than typed in.
    if (!event->mimeData()->hasUrls())
        return false;
    if (m_dragOffer.paths(*event).isEmpty())
        event->ignore();
    else
        droppedpaths::acceptAsReference(*event);
    return true;
}

void TBrowseEdit::dragEnterEvent(QDragEnterEvent *event)
{
    if (!answerFileDrag(event))
        QLineEdit::dragEnterEvent(event);
}

void TBrowseEdit::dragMoveEvent(QDragMoveEvent *event)
{
    if (!answerFileDrag(event))
        QLineEdit::dragMoveEvent(event);
}

void TBrowseEdit::dragLeaveEvent(QDragLeaveEvent *event)
{
    m_dragOffer.forget();
    QLineEdit::dragLeaveEvent(event);
}

void TBrowseEdit::dropEvent(QDropEvent *event)
{
    if (event->mimeData()->hasUrls()) {
        const QByteArrayList dropped = m_dragOffer.paths(*event);
        if (dropped.isEmpty() || !droppedpaths::acceptAsReference(*event)) {
            event->ignore();
            return;
        }
        setPathFromDrop(dropped.first());
        return;
    }
    QLineEdit::dropEvent(event);
}

void TBrowseEdit::focusInEvent(QFocusEvent *event)
{
    applyBlinkRate();
    QLineEdit::focusInEvent(event);
}

void TBrowseEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    restoreDesktopBlinkRate();
}

void TBrowseEdit::applyBlinkRate()
{
    // The caret's rate is the desktop's, so it is ours only while we have
    // the focus. Qt's flash time is a whole cycle: shown, then hidden.
    if (m_caretBlinkRate == 0) {
        restoreDesktopBlinkRate();
        return;
    }
    QStyleHints *hints = QGuiApplication::styleHints();
    if (m_desktopFlashTime < 0)
        m_desktopFlashTime = hints->cursorFlashTime();
    hints->setCursorFlashTime(2 * m_caretBlinkRate);
}

void TBrowseEdit::restoreDesktopBlinkRate()
{
    if (m_desktopFlashTime < 0)
        return;
    QGuiApplication::styleHints()->setCursorFlashTime(m_desktopFlashTime);
    m_desktopFlashTime = -1;
}

void TBrowseEdit::browse()
{
    const QString folder = pickFolder(this);
    if (!folder.isEmpty())
        setPath(paths::fromDisplay(folder));
}
