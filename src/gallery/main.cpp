// The component gallery: every reusable control of Ondasort, live in one
// window, for trying them out by hand.
#include "gallery/GalleryWindow.h"
#include "platform/QtTranslations.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ondasort-gallery"));
    QApplication::setApplicationDisplayName(QStringLiteral("Ondasort 部品見本"));
    const auto japanese = qttranslations::installJapanese();
    GalleryWindow window;
    window.show();
    return app.exec();
}
