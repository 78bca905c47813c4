#pragma once
// Takes files and folders dragged from a file manager onto a control that
// has no drops of its own (the file list, the folder tree, the panel under
// the sort buttons) and hands the first local path of the drag, with the
// point it was dropped at, to a handler. The drag is accepted as a
// reference, never as a move, so the source keeps its files. Drags without
// a local file (text, web addresses) are refused, and so are drops outside
// the part of the control that takes them.
//
// It lives as a child of the control and watches its drag events. Qt hands
// a disabled control's drags to its parent: drops on a disabled button are
// taken by a target on the panel that holds it.
#include "platform/DroppedPaths.h"

#include <QByteArray>
#include <QObject>
#include <QPoint>

#include <functional>

class QWidget;

class FolderDropTarget : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<void(const QByteArray &path, const QPoint &at)>;
    // Whether a point of the control takes drops.
    using Area = std::function<bool(const QPoint &at)>;

    // Drops anywhere on control, or only inside area when one is given.
    FolderDropTarget(QWidget *control, Handler handler, Area area = {});

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Handler m_handler;
    Area m_area;
    droppedpaths::DragOffer m_offer;
};
