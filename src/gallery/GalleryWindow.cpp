#include "gallery/GalleryWindow.h"

#include "gallery/GallerySections.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTime>
#include <QVBoxLayout>

namespace {

// The log keeps this many lines, the latest at the bottom.
constexpr int kLogLines = 2000;

QWidget *logPane(QPlainTextEdit *log, QWidget *parent)
{
    auto *pane = new QWidget(parent);
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *head = new QHBoxLayout;
    auto *title = new QLabel(QStringLiteral("イベントログ(&L):"), pane);
    title->setBuddy(log);
    auto *clear = new QPushButton(QStringLiteral("ログを消去(&C)"), pane);
    QObject::connect(clear, &QPushButton::clicked, log, &QPlainTextEdit::clear);
    head->addWidget(title);
    head->addStretch(1);
    head->addWidget(clear);
    layout->addLayout(head);
    layout->addWidget(log);
    return pane;
}

} // namespace

GalleryWindow::GalleryWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_pages(new QTabWidget)
    , m_log(new QPlainTextEdit)
{
    setWindowTitle(QStringLiteral("Ondasort 部品見本"));
    QMenu *file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->addAction(QStringLiteral("終了(&X)"), QKeySequence::Quit, this, &QWidget::close);

    m_log->setReadOnly(true);
    m_log->setMaximumBlockCount(kLogLines);
    m_log->setPlaceholderText(QStringLiteral("部品を操作すると、その出来事がここに順に記録されます"));

    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_pages);
    split->addWidget(logPane(m_log, split));
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 0);
    split->setSizes({640, 140});
    split->setChildrenCollapsible(false);
    setCentralWidget(split);
    statusBar()->showMessage(QStringLiteral("部品を操作すると、ここに結果が表示されます"));

    // One line per page, in the order of their tabs.
    gallery::addSpeedButtonSection(*this);
    gallery::addBrowseEditSection(*this);
    gallery::addHistoryComboSection(*this);
    gallery::addShellSection(*this);

    resize(1100, 820);
}

GalleryWindow::~GalleryWindow()
{
    m_closing = true;
}

QGroupBox *GalleryWindow::addSection(const QString &title)
{
    auto *scroll = new QScrollArea(m_pages);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *page = new QWidget(scroll);
    auto *column = new QVBoxLayout(page);
    auto *box = new QGroupBox(title, page);
    column->addWidget(box, 1);
    scroll->setWidget(page);
    m_pages->addTab(scroll, title);
    return box;
}

void GalleryWindow::report(const QString &text)
{
    if (m_closing)
        return;
    statusBar()->showMessage(text);
    m_log->appendPlainText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz  ")) + text);
}
