#include "platform/Paths.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>

namespace paths {

QByteArray join(const QByteArray &folder, const QByteArray &name)
{
    return folder + '/' + name;
}

QByteArray lastComponent(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? path : path.mid(slash + 1);
}

QByteArray directoryPart(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArray();
    // Keep a separator that starts the path or follows another one.
    if (slash == 0 || path.at(slash - 1) == '/')
        return path.left(slash + 1);
    return path.left(slash);
}

QByteArray directoryWithSeparator(const QByteArray &path)
{
    return path.left(path.lastIndexOf('/') + 1);
}

QByteArray folderName(const QByteArray &path)
{
    return lastComponent(path.endsWith('/') ? path.chopped(1) : path);
}

QByteArray dropExtension(const QByteArray &name)
{
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 ? name : name.left(dot);
}

QString toDisplay(const QByteArray &path)
{
    const bool ascii = std::all_of(path.begin(), path.end(), [](char c) { return uchar(c) < 0x80; });
    if (ascii)
        return QString::fromLatin1(path);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(path);
    if (!utf8.hasError())
        return text;
    // Old Japanese archives unpack to Shift_JIS names.
    QStringDecoder shiftJis("Shift_JIS", QStringDecoder::Flag::Stateless);
    if (shiftJis.isValid()) {
        const QString japanese = shiftJis.decode(path);
        if (!shiftJis.hasError() && !japanese.contains(QChar::ReplacementCharacter))
            return japanese;
    }
    return QFile::decodeName(path);
}

QByteArray fromDisplay(const QString &text)
{
    return QFile::encodeName(text);
}

} // namespace paths
