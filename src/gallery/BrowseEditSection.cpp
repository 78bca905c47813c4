// Gallery section: the destination field.
#include "controls/BrowseEdit.h"
#include "gallery/GallerySections.h"
#include "gallery/GalleryWindow.h"
#include "platform/Paths.h"

#include <QGroupBox>
#include <QVBoxLayout>

void gallery::addBrowseEditSection(GalleryWindow &window)
{
    QGroupBox *box = window.addSection(QStringLiteral("フォルダ入力欄"));
    auto *layout = new QVBoxLayout(box);
    auto *edit = new TBrowseEdit(box);
    edit->setPlaceholderText(QStringLiteral("フォルダのパスを入力するか、右端のボタンで選びます"));
    layout->addWidget(edit);
    QObject::connect(edit, &TBrowseEdit::OnChange, &window, [&window, edit] {
        window.report(QStringLiteral("フォルダ入力欄: %1").arg(paths::toDisplay(edit->Path())));
    });
}
