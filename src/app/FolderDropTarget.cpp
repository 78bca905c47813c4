#include "app/FolderDropTarget.h"

#include "platform/DroppedPaths.h"

#include <QDropEvent>
#include <QWidget>

FolderDropTarget::FolderDropTarget(QWidget *control, Handler handler, Area area)
    : QObject(control)
    , m_handler(std::move(handler))
    , m_area(std::move(area))
{
    control->setAcceptDrops(true);
    control->installEventFilter(this);
}

bool FolderDropTarget::eventFilter(QObject *, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::DragLeave)
        m_offer.forget();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto *drag = static_cast<QDropEvent *>(event);
    const QPoint at = drag->position().toPoint();
    const QByteArrayList paths = m_offer.paths(*drag);
    if (paths.isEmpty() || (m_area && !m_area(at)) || !droppedpaths::acceptAsReference(*drag)) {
        drag->ignore();
        return true;
    }
    if (type == QEvent::Drop)
        m_handler(paths.first(), at);
    return true;
}
