// Gallery page: history combo boxes over both stores, each with its save
// mode and buttons to store, restore and empty its list by hand.
#include "controls/HistoryComboBox.h"
#include "gallery/GallerySections.h"
#include "gallery/GalleryWindow.h"
#include "settings/UserRegistry.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct Store
{
    QString title;
    // Stores or restores the box's list; false when it failed.
    bool (THistoryComboBox::*save)();
    bool (THistoryComboBox::*load)();
};

THistoryComboBox *historyBox(GalleryWindow &window, QWidget *parent, const QString &name, const QString &title)
{
    auto *box = new THistoryComboBox(parent);
    box->setObjectName(name);
    box->setMinimumWidth(320);
    box->lineEdit()->setPlaceholderText(QStringLiteral("入力して Enter で履歴に追加"));
    QObject::connect(box, &QComboBox::textActivated, &window, [&window, title](const QString &text) {
        window.report(QStringLiteral("%1: 選択 %2").arg(title, text));
    });
    return box;
}

QComboBox *modeChooser(THistoryComboBox *box, QWidget *parent)
{
    auto *mode = new QComboBox(parent);
    mode->setObjectName(box->objectName() + QStringLiteral("Mode"));
    mode->addItem(QStringLiteral("自動で保存と復元 (hsAuto)"), hsAuto);
    mode->addItem(QStringLiteral("手動 (hsManual)"), hsManual);
    mode->addItem(QStringLiteral("自動で保存のみ (hsAutoSave)"), hsAutoSave);
    mode->addItem(QStringLiteral("自動で復元のみ (hsAutoLoad)"), hsAutoLoad);
    mode->setCurrentIndex(mode->findData(box->SaveMode()));
    mode->setToolTip(QStringLiteral("自動の保存はギャラリーを閉じたとき、自動の復元は最初に表示したときに行われます"));
    QObject::connect(mode, &QComboBox::currentIndexChanged, box,
        [box, mode] { box->SetSaveMode(static_cast<THistoryMode>(mode->currentData().toInt())); });
    return mode;
}

void addRow(GalleryWindow &window, QGridLayout *grid, THistoryComboBox *box, const Store &store,
    const QString &where)
{
    QWidget *parent = grid->parentWidget();
    const int row = grid->rowCount();
    grid->addWidget(new QLabel(store.title + QStringLiteral(":"), parent), row, 0);
    grid->addWidget(box, row, 1);
    grid->addWidget(modeChooser(box, parent), row, 2);
    const struct { QString text; bool (THistoryComboBox::*run)(); QString done; } actions[] = {
        {QStringLiteral("保存"), store.save, QStringLiteral("保存しました")},
        {QStringLiteral("読み込み"), store.load, QStringLiteral("読み込みました")},
    };
    int column = 3;
    for (const auto &action : actions) {
        auto *button = new QPushButton(action.text, parent);
        button->setObjectName(box->objectName() + (column == 3 ? QStringLiteral("Save") : QStringLiteral("Load")));
        grid->addWidget(button, row, column++);
        QObject::connect(button, &QPushButton::clicked, box, [&window, box, store, action] {
            const bool ok = (box->*action.run)();
            window.report(ok ? QStringLiteral("%1: %2（%3 件）").arg(store.title, action.done).arg(box->count())
                             : QStringLiteral("%1: %2できません。%3").arg(store.title, action.text, box->errorString()));
        });
    }
    auto *clear = new QPushButton(QStringLiteral("一覧を空に"), parent);
    clear->setObjectName(box->objectName() + QStringLiteral("Clear"));
    grid->addWidget(clear, row, column);
    QObject::connect(clear, &QPushButton::clicked, box, [&window, box, store] {
        box->clear();
        window.report(QStringLiteral("%1: 一覧を空にしました").arg(store.title));
    });
    auto *whereLabel = new QLabel(QStringLiteral("保存先: ") + where, parent);
    whereLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(whereLabel, row + 1, 1, 1, 5);
}

} // namespace

void gallery::addHistoryComboSection(GalleryWindow &window)
{
    QGroupBox *section = window.addSection(QStringLiteral("履歴付きコンボボックス"));
    auto *column = new QVBoxLayout(section);
    auto *note = new QLabel(QStringLiteral(
        "入力して Enter を押すと履歴の先頭に入ります（同じ文字列は大文字小文字を区別せず先頭へ移ります）。"
        "保存の方法を選び、保存・読み込みのボタンで手動でも保存と復元ができます。"), section);
    note->setWordWrap(true);
    column->addWidget(note);
    auto *grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    column->addLayout(grid);
    column->addStretch(1);

    const QString fileTitle = QStringLiteral("ファイルに保存");
    THistoryComboBox *file = historyBox(window, section, QStringLiteral("GalleryHistory"), fileTitle);
    file->SetSaveFileName(QStringLiteral("ondasort-gallery"));
    addRow(window, grid, file, {fileTitle, &THistoryComboBox::SaveToFile, &THistoryComboBox::LoadFromFile},
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + QStringLiteral("/ondasort-gallery.ini")));

    const QString registryTitle = QStringLiteral("レジストリに保存");
    THistoryComboBox *registry = historyBox(window, section, QStringLiteral("History"), registryTitle);
    registry->SetSaveKeyName(QStringLiteral("Software\\Ondasort\\Gallery"));
    addRow(window, grid, registry,
        {registryTitle, &THistoryComboBox::SaveToRegistry, &THistoryComboBox::LoadFromRegistry},
        registry::openUser()->fileName() + QStringLiteral(" [Software/Ondasort/Gallery/History]"));
}
