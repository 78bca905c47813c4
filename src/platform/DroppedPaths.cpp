#include "platform/DroppedPaths.h"

#include <QDropEvent>
#include <QMimeData>

#include <climits>
#include <utility>
#include <unistd.h>

namespace droppedpaths {

namespace {

bool isThisMachine(const QByteArray &host)
{
    if (host.isEmpty() || host.compare("localhost", Qt::CaseInsensitive) == 0)
        return true;
    char name[HOST_NAME_MAX + 1] {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return false;
    return host.compare(QByteArray(name), Qt::CaseInsensitive) == 0;
}

} // namespace

QByteArray fromFileUri(const QByteArray &uri)
{
    const QByteArray text = uri.trimmed();
    if (!text.startsWith("file:") && !text.startsWith("FILE:"))
        return {};
    QByteArray rest = text.mid(5);
    if (rest.startsWith("//")) {
        const qsizetype slash = rest.indexOf('/', 2);
        if (slash < 0 || !isThisMachine(rest.mid(2, slash - 2)))
            return {};
        rest = rest.mid(slash);
    }
    // A query or fragment is not part of the name: a literal "?" or "#" in a
    // name arrives percent-encoded.
    const qsizetype end = rest.indexOf('#');
    if (end >= 0)
        rest.truncate(end);
    if (const qsizetype query = rest.indexOf('?'); query >= 0)
        rest.truncate(query);
    if (!rest.startsWith('/'))
        return {};
    const QByteArray path = QByteArray::fromPercentEncoding(rest);
    // A NUL cannot be part of a path.
    if (path.contains('\0'))
        return {};
    return path;
}

QByteArrayList fromUriList(const QByteArray &uriList)
{
    QByteArrayList found;
    for (const QByteArray &line : uriList.split('\n')) {
        const QByteArray uri = line.trimmed();
        if (uri.isEmpty() || uri.startsWith('#'))
            continue;
        const QByteArray path = fromFileUri(uri);
        if (!path.isEmpty())
            found << path;
    }
    return found;
}

QByteArrayList fromMimeData(const QMimeData &data)
{
    static const QString uriList = QStringLiteral("text/uri-list");
    if (!data.hasFormat(uriList))
        return {};
    return fromUriList(data.data(uriList));
}

bool acceptAsReference(QDropEvent &event)
{
    for (const Qt::DropAction action : {Qt::LinkAction, Qt::CopyAction}) {
        if (event.possibleActions() & action) {
            event.setDropAction(action);
            event.accept();
            return true;
        }
    }
    event.ignore();
    return false;
}

QByteArrayList DragOffer::paths(const QDropEvent &event)
{
    if (event.type() == QEvent::Drop && !m_carried.isEmpty())
        return std::exchange(m_carried, {});
    QByteArrayList found = fromMimeData(*event.mimeData());
    m_carried = event.type() == QEvent::Drop ? QByteArrayList() : found;
    return found;
}

} // namespace droppedpaths
