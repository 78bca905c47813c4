#include "shell/IconExtractor.h"

#include "namespace/ShellFolder.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QPainter>
#include <QStyle>

namespace {

// Without a desktop session Qt names no theme; the one the program installs stands in.
void chooseTheme()
{
    static const bool chosen = [] {
        const QString current = QIcon::themeName();
        if ((current.isEmpty() || current == QLatin1String("hicolor"))
            && QDir(QStringLiteral("/usr/share/icons/Adwaita")).exists())
            QIcon::setThemeName(QStringLiteral("Adwaita"));
        QIcon::setFallbackThemeName(QStringLiteral("hicolor"));
        return true;
    }();
    Q_UNUSED(chosen);
}

QIcon styleIcon(const QString &name)
{
    QStyle::StandardPixmap which = QStyle::SP_FileIcon;
    if (name.startsWith(QLatin1String("folder")) || name.startsWith(QLatin1String("user-")))
        which = QStyle::SP_DirIcon;
    else if (name.startsWith(QLatin1String("drive-")))
        which = QStyle::SP_DriveHDIcon;
    else if (name == QLatin1String("computer"))
        which = QStyle::SP_ComputerIcon;
    return QApplication::style() ? QApplication::style()->standardIcon(which) : QIcon();
}

QIcon themeIcon(const QByteArray &location)
{
    chooseTheme();
    const QString name = QString::fromUtf8(location);
    QIcon icon = QIcon::fromTheme(name);
    if (icon.isNull()) {
        // "audio-mpeg" → "audio-x-generic"
        const qsizetype dash = name.indexOf(QLatin1Char('-'));
        if (dash > 0)
            icon = QIcon::fromTheme(name.left(dash) + QStringLiteral("-x-generic"));
    }
    return icon.isNull() ? styleIcon(name) : icon;
}

} // namespace

ThemeIconExtractor::ThemeIconExtractor()
{
    chooseTheme();
}

QPixmap ThemeIconExtractor::extract(const QByteArray &location, int, int size) const
{
    if (location.isEmpty())
        return QPixmap();
    const QIcon icon = themeIcon(location);
    return icon.isNull() ? QPixmap() : icon.pixmap(size, size);
}

QPixmap systemImage(int index, int size)
{
    const QByteArray name = shellns::systemImageName(index);
    if (name.isEmpty())
        return QPixmap();
    const QIcon emblem = themeIcon(name);
    if (emblem.isNull())
        return QPixmap();
    const int side = std::max(8, size * 5 / 8);
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.drawPixmap(0, size - side, emblem.pixmap(side, side));
    return picture;
}
