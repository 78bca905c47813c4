// Gallery section: history combo boxes over both stores.
#include "controls/HistoryComboBox.h"
#include "gallery/GallerySections.h"
#include "gallery/GalleryWindow.h"
#include "settings/UserRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

THistoryComboBox *historyBox(GalleryWindow &window, QWidget *parent, const QString &name)
{
    auto *box = new THistoryComboBox(parent);
    box->setObjectName(name);
    box->setMinimumWidth(320);
    box->lineEdit()->setPlaceholderText(QStringLiteral("入力して Enter で履歴に追加"));
    QObject::connect(box, &QComboBox::textActivated, &window, [&window](const QString &text) {
        window.report(QStringLiteral("履歴から選択: %1").arg(text));
    });
    return box;
}

} // namespace

void gallery::addHistoryComboSection(GalleryWindow &window)
{
    QGroupBox *section = window.addSection(QStringLiteral("履歴付きコンボボックス"));
    auto *column = new QVBoxLayout(section);
    auto *note = new QLabel(QStringLiteral(
        "入力して Enter を押すと履歴の先頭に入ります（同じ文字列は大文字小文字を区別せず先頭へ移ります）。"
        "ギャラリーを閉じると履歴が保存され、次に開いたときに戻ります。"), section);
    note->setWordWrap(true);
    column->addWidget(note);

    auto *form = new QFormLayout;
    column->addLayout(form);

    THistoryComboBox *file = historyBox(window, section, QStringLiteral("GalleryHistory"));
    file->SetSaveFileName(QStringLiteral("ondasort-gallery"));
    form->addRow(QStringLiteral("ファイルに保存:"), file);
    auto *fileWhere = new QLabel(QDir::toNativeSeparators(
        QCoreApplication::applicationDirPath() + QStringLiteral("/ondasort-gallery.ini")), section);
    fileWhere->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QStringLiteral("保存先:"), fileWhere);

    THistoryComboBox *registry = historyBox(window, section, QStringLiteral("History"));
    registry->SetSaveKeyName(QStringLiteral("Software\\Ondasort\\Gallery"));
    form->addRow(QStringLiteral("レジストリに保存:"), registry);
    auto *registryWhere = new QLabel(registry::openUser()->fileName()
        + QStringLiteral(" [Software/Ondasort/Gallery/History]"), section);
    registryWhere->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QStringLiteral("保存先:"), registryWhere);
}
