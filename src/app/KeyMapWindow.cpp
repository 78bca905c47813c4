#include "app/KeyMapWindow.h"

#include "app/KeyGuide.h"
#include "platform/Fonts.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TKeyMapWindow::TKeyMapWindow(QWidget *parent)
    : QDialog(parent)
    , m_table(new QTableWidget(this))
{
    setObjectName(QStringLiteral("KeyMapWindow"));
    setWindowTitle(QStringLiteral("キー操作の一覧 - Ondasort"));
    setFont(fonts::make(fonts::kPGothic, 14));

    const std::vector<keyguide::Entry> &entries = keyguide::entries();
    m_table->setColumnCount(2);
    m_table->setRowCount(int(entries.size()));
    m_table->setHorizontalHeaderLabels({QStringLiteral("キー"), QStringLiteral("操作")});
    for (int row = 0; row < int(entries.size()); ++row) {
        m_table->setItem(row, 0, new QTableWidgetItem(entries[size_t(row)].keys));
        m_table->setItem(row, 1, new QTableWidgetItem(entries[size_t(row)].action));
    }
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setFocusPolicy(Qt::NoFocus);
    m_table->setWordWrap(true);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto *notes = new QLabel(this);
    notes->setObjectName(QStringLiteral("notes"));
    notes->setWordWrap(true);
    QStringList lines;
    for (const QString &note : keyguide::notes())
        lines << QStringLiteral("・") + note;
    notes->setText(lines.join(QLatin1Char('\n')));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("閉じる"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addWidget(notes);
    layout->addWidget(buttons);
    resize(620, 400);
}
