#include "controls/BrowseEdit.h"

#include "platform/Paths.h"

#include <QFileDialog>
#include <QStandardPaths>
#include <QStyle>
#include <QToolButton>

namespace {

QString pickWithDialog(QWidget *owner)
{
    // The picker starts at the desktop, not at the field's folder.
    const QString start = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return QFileDialog::getExistingDirectory(owner->window(), QString(), start,
        QFileDialog::ShowDirsOnly);
}

} // namespace

TBrowseEdit::TBrowseEdit(QWidget *parent)
    : QLineEdit(parent)
    , pickFolder(pickWithDialog)
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
}

void TBrowseEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    m_button->setGeometry(width() - kButtonWidth - frame, frame, kButtonWidth, height() - 2 * frame);
}

void TBrowseEdit::browse()
{
    const QString folder = pickFolder(this);
    if (!folder.isEmpty())
        setPath(paths::fromDisplay(folder));
}
