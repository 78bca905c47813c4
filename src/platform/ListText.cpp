#include "platform/ListText.h"

#include <QFile>
#include <QStringDecoder>

namespace listtext {

namespace {

bool isAscii(const QByteArray &bytes)
{
    for (char c : bytes) {
        if (uchar(c) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

QString displayName(const QByteArray &name)
{
    if (isAscii(name))
        return QString::fromLatin1(name);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(name);
    if (!utf8.hasError())
        return text;
    QStringDecoder shiftJis("Shift_JIS", QStringDecoder::Flag::Stateless);
    if (shiftJis.isValid()) {
        QString japanese = shiftJis.decode(name);
        if (!shiftJis.hasError() && !japanese.contains(QChar::ReplacementCharacter))
            return japanese;
    }
    return QFile::decodeName(name);
}

QByteArray sortKey(const QByteArray &name)
{
    if (!isAscii(name))
        return displayName(name).toCaseFolded().toUtf8();
    // The common case, and a fast one: most names need no copy at all.
    qsizetype upper = 0;
    while (upper < name.size() && !(name[upper] >= 'A' && name[upper] <= 'Z'))
        ++upper;
    if (upper == name.size())
        return name;
    QByteArray key = name;
    char *data = key.data();
    for (qsizetype i = upper; i < key.size(); ++i) {
        if (data[i] >= 'A' && data[i] <= 'Z')
            data[i] = char(data[i] + ('a' - 'A'));
    }
    return key;
}

int findPrefix(const std::vector<QByteArray> &keys, const QByteArray &prefixKey, int start)
{
    const int count = int(keys.size());
    if (count == 0)
        return -1;
    if (start < -1 || start >= count)
        start = -1;
    for (int step = 1; step <= count; ++step) {
        const int i = (start + step) % count;
        if (keys[size_t(i)].startsWith(prefixKey))
            return i;
    }
    return -1;
}

} // namespace listtext
