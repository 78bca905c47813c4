// Gallery section: the folder tree, folder drop-down, file list view and
// folder toolbar working together.
#include "gallery/GallerySections.h"
#include "gallery/GalleryWindow.h"
#include "gallery/ShellBrowser.h"

#include <QGroupBox>
#include <QVBoxLayout>

void gallery::addShellSection(GalleryWindow &window)
{
    QGroupBox *box = window.addSection(QStringLiteral("フォルダとファイルの一覧"));
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(new ShellBrowser(shellns::desktopFolder(),
                                       [&window](const QString &text) { window.report(text); }, box));
}
