#pragma once
// Stands in for the desktop's default handlers while it exists: every URL
// that the program opens, for the schemes given, is recorded instead.
#include <QDesktopServices>
#include <QObject>
#include <QStringList>
#include <QUrl>

class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    explicit UrlRecorder(QStringList schemes = {QStringLiteral("file"), QStringLiteral("http")})
        : m_schemes(std::move(schemes))
    {
        for (const QString &scheme : m_schemes)
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~UrlRecorder() override
    {
        for (const QString &scheme : m_schemes)
            QDesktopServices::unsetUrlHandler(scheme);
    }

    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened << url; }

private:
    QStringList m_schemes;
};
