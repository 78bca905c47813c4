#include "settings/UserRegistry.h"

#include <QStringList>

namespace registry {

std::unique_ptr<QSettings> openUser()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
        QStringLiteral("Ondasort"), QStringLiteral("registry"));
}

QString groupPath(const QString &keyPath)
{
    QString path = keyPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path.split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/'));
}

} // namespace registry
