#include "shell/FileListText.h"

#include "namespace/ShellFolder.h"

namespace filelisttext {

QString dateString(const QDateTime &time)
{
    if (!time.isValid())
        return QString();
    const QDateTime local = time.toLocalTime();
    const QDate date = local.date();
    const QTime clock = local.time();
    return QString::asprintf("%04d/%02d/%02d %2d:%02d", date.year(), date.month(), date.day(), clock.hour(),
                             clock.minute());
}

QString attributeString(std::uint32_t fileAttributes)
{
    QString text;
    if (fileAttributes & shellns::fileattr::kReadOnly)
        text += QLatin1Char('R');
    if (fileAttributes & shellns::fileattr::kHidden)
        text += QLatin1Char('H');
    if (fileAttributes & shellns::fileattr::kSystem)
        text += QLatin1Char('S');
    if (fileAttributes & kArchive)
        text += QLatin1Char('A');
    return text;
}

QString statusString(std::uint32_t fileAttributes)
{
    return (fileAttributes & kOffline) ? QStringLiteral("オフライン") : QStringLiteral("オンライン");
}

QString sizeString(std::uint64_t size, bool folder)
{
    if (folder && size == 0)
        return QString();
    const std::uint64_t kilobytes = size / 1024 + (size % 1024 != 0);
    return QString::number(kilobytes) + QStringLiteral("KB");
}

bool matchesFilter(const FileMask &filter, QByteArrayView name)
{
    // A filter of blanks alone is no filter.
    if (filter.text().trimmed().isEmpty())
        return true;
    for (int i = 0; i < filter.patternCount(); ++i) {
        if (filter.matches(i, name))
            return true;
    }
    return false;
}

} // namespace filelisttext
