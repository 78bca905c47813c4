#include "player/mpv/AsxPlaylist.h"

#include "platform/RegularFile.h"
#include "player/mpv/PlaylistReference.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {

QList<QStringList> parseStrict(const QByteArray &content, bool *ok)
{
    QList<QStringList> entries;
    QStringList *current = nullptr;
    QXmlStreamReader xml(content);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QString name = xml.name().toString().toLower();
            QString href;
            for (const QXmlStreamAttribute &attribute : xml.attributes()) {
                if (attribute.name().compare(QLatin1String("href"), Qt::CaseInsensitive) == 0)
                    href = attribute.value().toString().trimmed();
            }
            if (name == QLatin1String("entry")) {
                entries.append(QStringList());
                current = &entries.last();
            } else if (name == QLatin1String("ref") && current && !href.isEmpty()) {
                current->append(href);
            } else if (name == QLatin1String("entryref") && !href.isEmpty()) {
                entries.append(QStringList{href});
                current = nullptr;
            }
        } else if (xml.isEndElement()
                   && xml.name().compare(QLatin1String("entry"), Qt::CaseInsensitive) == 0) {
            current = nullptr;
        }
    }
    *ok = !xml.hasError();
    return entries;
}

// Makes the usual hand-written ASX acceptable to a strict XML reader.
QByteArray normalised(const QByteArray &content)
{
    QString text = QString::fromUtf8(content);
    static const QRegularExpression tagName(QStringLiteral("<(/?)\\s*([A-Za-z][A-Za-z0-9]*)"));
    QString lowered;
    qsizetype last = 0;
    for (const QRegularExpressionMatch &match : tagName.globalMatch(text)) {
        lowered += QStringView(text).mid(last, match.capturedStart() - last);
        lowered += QLatin1Char('<') + match.captured(1) + match.captured(2).toLower();
        last = match.capturedEnd();
    }
    lowered += QStringView(text).mid(last);
    static const QRegularExpression bareAmpersand(
        QStringLiteral("&(?!(amp|lt|gt|quot|apos|#[0-9]+|#x[0-9A-Fa-f]+);)"));
    lowered.replace(bareAmpersand, QStringLiteral("&amp;"));
    // The text is now UTF-16 inside Qt; a declared encoding would mislead the reader.
    static const QRegularExpression declaration(QStringLiteral("^\\s*<\\?xml[^>]*\\?>"));
    lowered.remove(declaration);
    return lowered.toUtf8();
}

} // namespace

QList<QStringList> AsxPlaylist::parse(const QByteArray &content)
{
    bool ok = false;
    QList<QStringList> entries = parseStrict(content, &ok);
    if (!ok) {
        bool lenientOk = false;
        QList<QStringList> lenient = parseStrict(normalised(content), &lenientOk);
        // Whatever was read before an error still counts; take the richer reading.
        if (lenient.size() >= entries.size())
            entries = lenient;
    }
    entries.removeIf([](const QStringList &refs) { return refs.isEmpty(); });
    return entries;
}

QByteArray AsxPlaylist::resolve(const QString &href, const QByteArray &baseDir)
{
    return PlaylistReference::resolve(href.toUtf8(), baseDir);
}

QList<QByteArrayList> AsxPlaylist::read(const QByteArray &path)
{
    const regularfile::Contents file = regularfile::read(path, kMaxFileSize);
    if (!file.ok())
        return {};
    return entries(file.bytes, path);
}

QList<QByteArrayList> AsxPlaylist::entries(const QByteArray &content, const QByteArray &path)
{
    const QByteArray baseDir = PlaylistReference::baseFolder(path);

    QList<QByteArrayList> result;
    for (const QStringList &refs : parse(content)) {
        QByteArrayList resolved;
        for (const QString &href : refs) {
            const QByteArray address = resolve(href, baseDir);
            if (!address.isEmpty())
                resolved << address;
        }
        if (!resolved.isEmpty())
            result << resolved;
    }
    return result;
}
