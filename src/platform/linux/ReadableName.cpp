#include "platform/linux/ReadableName.h"

#include <QStringDecoder>

namespace shellns {

QString readableName(QByteArrayView name)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(name);
    if (!utf8.hasError())
        return text;
    QStringDecoder sjis("Shift_JIS", QStringDecoder::Flag::Stateless);
    if (sjis.isValid()) {
        QString japanese = sjis.decode(name);
        if (!sjis.hasError() && !japanese.contains(QChar::ReplacementCharacter))
            return japanese;
    }
    return text;
}

} // namespace shellns
