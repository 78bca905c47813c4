// The file manager's side of a drag, as a program of its own: a small window
// at the given place that, when pressed, drags the given paths as file: URIs.
// Like a file manager it offers to copy, move or link them and prefers a move.
// It prints "ready" once its window is on screen, then the action the drop
// target took, and ends.
//
//   ondasort-drag-source X Y PATH...
#include <QApplication>
#include <QDrag>
#include <QFile>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>
#include <QWindow>

#include <cstdio>

namespace {

const char *actionName(Qt::DropAction action)
{
    switch (action) {
    case Qt::CopyAction:
        return "copy";
    case Qt::MoveAction:
        return "move";
    case Qt::LinkAction:
        return "link";
    default:
        return "ignore";
    }
}

class DragWindow : public QWidget
{
public:
    explicit DragWindow(QList<QUrl> urls)
        : m_urls(std::move(urls))
    {
    }

protected:
    void mousePressEvent(QMouseEvent *) override
    {
        auto *data = new QMimeData;
        data->setUrls(m_urls);
        auto *drag = new QDrag(this);
        drag->setMimeData(data);
        const Qt::DropAction taken = drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::MoveAction);
        std::printf("%s\n", actionName(taken));
        std::fflush(stdout);
        QCoreApplication::quit();
    }

private:
    QList<QUrl> m_urls;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s X Y PATH...\n", argv[0]);
        return 2;
    }
    QList<QUrl> urls;
    for (int i = 3; i < argc; ++i)
        urls << QUrl::fromLocalFile(QFile::decodeName(argv[i]));
    DragWindow window(urls);
    window.setGeometry(std::atoi(argv[1]), std::atoi(argv[2]), 120, 80);
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
