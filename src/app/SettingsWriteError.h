#pragma once
// The settings file could not be written; the message names its full path.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <stdexcept>

class SettingsWriteError : public std::runtime_error
{
public:
    explicit SettingsWriteError(const QByteArray &path)
        : std::runtime_error(QStringLiteral("%1 に書き込めません").arg(QFile::decodeName(path)).toStdString())
    {
    }
};
