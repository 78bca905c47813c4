#include "app/SourcePlace.h"

#include "platform/DroppedPaths.h"
#include "platform/PathResolve.h"
#include "platform/Paths.h"

#include <sys/stat.h>

SourcePlace SourcePlace::of(const QByteArray &path)
{
    SourcePlace place;
    QByteArray local = path;
    if (path.startsWith("file:")) {
        local = droppedpaths::fromFileUri(path);
        if (local.isEmpty()) {
            place.error = QStringLiteral("%1 はこのコンピュータのファイルではありません").arg(paths::toDisplay(path));
            return place;
        }
    }
    const QByteArray full = paths::absoluteClean(local);
    struct stat status {};
    if (local.isEmpty() || ::stat(full.constData(), &status) != 0) {
        place.error = QStringLiteral("%1 が見つかりません").arg(paths::toDisplay(path));
        return place;
    }
    if (S_ISDIR(status.st_mode)) {
        place.folder = full;
    } else if (S_ISREG(status.st_mode)) {
        place.folder = paths::directoryPart(full);
        place.fileName = paths::lastComponent(full);
    } else {
        place.error = QStringLiteral("%1 はフォルダでも通常のファイルでもありません").arg(paths::toDisplay(path));
    }
    return place;
}
