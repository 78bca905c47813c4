// Gallery page: the destination field.
#include "controls/BrowseEdit.h"
#include "gallery/GallerySections.h"
#include "gallery/GalleryWindow.h"
#include "platform/Paths.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

void gallery::addBrowseEditSection(GalleryWindow &window)
{
    QGroupBox *box = window.addSection(QStringLiteral("フォルダ入力欄"));
    auto *layout = new QVBoxLayout(box);
    auto *edit = new TBrowseEdit(box);
    edit->setPlaceholderText(QStringLiteral("フォルダのパスを入力するか、右端のボタンで選びます"));
    layout->addWidget(edit);
    auto *enabled = new QCheckBox(QStringLiteral("Enabled"), box);
    enabled->setChecked(true);
    layout->addWidget(enabled);
    layout->addStretch(1);
    QObject::connect(enabled, &QCheckBox::toggled, edit, &QWidget::setEnabled);
    QObject::connect(edit, &TBrowseEdit::OnChange, &window, [&window, edit] {
        window.report(QStringLiteral("フォルダ入力欄 OnChange: %1").arg(paths::toDisplay(edit->Path())));
    });
}
