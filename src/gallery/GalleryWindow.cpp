#include "gallery/GalleryWindow.h"

#include "gallery/GallerySections.h"

#include <QGroupBox>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QVBoxLayout>

GalleryWindow::GalleryWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Ondasort 部品見本"));
    QMenu *file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->addAction(QStringLiteral("終了(&X)"), QKeySequence::Quit, this, &QWidget::close);

    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    auto *page = new QWidget(scroll);
    m_column = new QVBoxLayout(page);
    m_column->addStretch(1);
    scroll->setWidget(page);
    setCentralWidget(scroll);
    statusBar()->showMessage(QStringLiteral("部品を操作すると、ここに結果が表示されます"));

    // One line per section, in the order they are shown.
    gallery::addBrowseEditSection(*this);
    gallery::addSpeedButtonSection(*this);
    gallery::addHistoryComboSection(*this);
    gallery::addShellSection(*this);

    resize(900, 720);
}

QGroupBox *GalleryWindow::addSection(const QString &title)
{
    auto *box = new QGroupBox(title);
    // Kept above the stretch that closes the column.
    m_column->insertWidget(m_column->count() - 1, box);
    return box;
}

void GalleryWindow::report(const QString &text)
{
    statusBar()->showMessage(text);
}
