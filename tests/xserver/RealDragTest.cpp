// Drags from another program through the X server's drag-and-drop protocol,
// with the pointer moved by the X server's test extension: what a drag from a
// file manager really delivers, where the other drop tests send the events
// themselves.
#include "../app/SortFixture.h"

#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {

class RealDragTest : public SortFixture
{
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X server (runs under xvfb-run with QT_QPA_PLATFORM=xcb)";
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            GTEST_SKIP() << "needs xdotool to move the pointer";
    }

    QByteArray other() const { return root() + "/other folder"; }

    TMainForm1 &start()
    {
        QDir().mkpath(QFile::decodeName(other()));
        writeFile(other() + "/x.wav", "x");
        TMainForm1 &w = openSource({"a.mp3", "b.mp3"});
        w.move(0, 0);
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        return w;
    }

    // Starts a drag of path in the other program, carries it to the middle
    // of target and lets go. Returns the action the other program was told
    // the drop took ("link", "copy", "move" or "ignore").
    QByteArray dragOnto(QWidget *target, const QByteArray &path)
    {
        const QPoint from(1150, 940);
        QProcess source;
        source.start(QStringLiteral(ONDASORT_DRAG_SOURCE),
            {QString::number(from.x() - 60), QString::number(from.y() - 40), QFile::decodeName(path)});
        if (!waitUntil([&] { return source.canReadLine() || source.state() == QProcess::NotRunning; })
            || source.readLine().trimmed() != "ready") {
            ADD_FAILURE() << "the drag source did not start: " << source.readAllStandardError().constData();
            return {};
        }
        const QPoint to = target->mapToGlobal(target->rect().center());
        auto at = [](const QPoint &p) { return QStringList{QString::number(p.x()), QString::number(p.y())}; };
        QStringList moves = QStringList{QStringLiteral("mousemove")} + at(from);
        moves << QStringLiteral("mousedown") << QStringLiteral("1");
        moves << QStringLiteral("mousemove") << at(from + QPoint(20, 20)) << QStringLiteral("sleep") << QStringLiteral("0.3");
        moves << QStringLiteral("mousemove") << at(to) << QStringLiteral("sleep") << QStringLiteral("0.3");
        moves << QStringLiteral("mousemove") << at(to + QPoint(2, 2)) << QStringLiteral("sleep") << QStringLiteral("0.3");
        moves << QStringLiteral("mouseup") << QStringLiteral("1");
        QProcess hand;
        hand.start(QStringLiteral("xdotool"), moves);
        // The window answers the drag from its own event loop, so that loop runs meanwhile.
        EXPECT_TRUE(waitUntil([&] { return source.state() == QProcess::NotRunning; }, 20000));
        EXPECT_TRUE(waitUntil([&] { return hand.state() == QProcess::NotRunning; }));
        if (source.state() != QProcess::NotRunning) {
            source.kill();
            source.waitForFinished();
        }
        return source.readAllStandardOutput().trimmed();
    }
};

TEST_F(RealDragTest, AFolderDraggedOntoTheListBecomesTheSourceAndStaysWhereItIs)
{
    TMainForm1 &w = start();
    ASSERT_EQ(player.URL(), source() + "/a.mp3");

    // Taken as a reference: a file manager that is told "move" deletes its files.
    EXPECT_EQ(dragOnto(w.FileListBox1->viewport(), other()), "link");
    EXPECT_TRUE(waitUntil([&] { return w.FolderTreeView0->FolderName() == other(); }))
        << w.FolderTreeView0->FolderName().constData();
    EXPECT_EQ(player.URL(), other() + "/x.wav");
    EXPECT_TRUE(exists(other() + "/x.wav"));
}

TEST_F(RealDragTest, AFolderDraggedOntoADestinationFieldOrItsButtonReplacesThatSlot)
{
    TMainForm1 &w = start();
    struct Case
    {
        int slot;
        QWidget *target;
    };
    // Slot 2's field holds a folder already; slot 6 is empty and its button disabled.
    const Case cases[] = {{2, w.BrowseEdit[1]}, {6, w.ClearButton[5]}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.slot);
        EXPECT_EQ(dragOnto(c.target, other()), "link");
        EXPECT_TRUE(waitUntil([&] { return w.BrowseEdit[c.slot - 1]->Path() == other(); }))
            << w.BrowseEdit[c.slot - 1]->Path().constData();
        EXPECT_TRUE(w.ClearButton[c.slot - 1]->isEnabled());
    }
    EXPECT_EQ(w.FolderTreeView0->FolderName(), source());
}

} // namespace
