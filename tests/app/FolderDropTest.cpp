// Folders and files from outside the window: named on the command line, or
// dragged from a file manager onto the list, the tree, a sort button or a
// destination field.
#include "SortFixture.h"

#include "app/SourcePlace.h"
#include "platform/DroppedPaths.h"

#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

#include <memory>

namespace {

class FolderDropTest : public SortFixture
{
protected:
    QByteArray other() const { return root() + "/other folder"; }
    QByteArray iniPath() const { return exeDir() + "/Ondasort.ini"; }

    // The source folder stored in the settings holds a.mp3 and b.mp3;
    // "other folder" holds x.wav, y.wav and notes.txt.
    TMainForm1 &start()
    {
        QDir().mkpath(QFile::decodeName(other()));
        for (const QByteArray name : {"x.wav", "y.wav", "notes.txt"})
            writeFile(other() + "/" + name, name);
        QDir().mkpath(QFile::decodeName(source()));
        writeFile(iniPath(), "[SET1]\nLIST00=" + source() + "\n");
        return openSource({"a.mp3", "b.mp3"});
    }

    QByteArray storedSourceFolder() const
    {
        for (const QByteArray &line : readFile(iniPath()).split('\n')) {
            if (line.startsWith("LIST00="))
                return line.mid(7);
        }
        return "<none>";
    }

    // Drags files over target and drops them, as the window system does;
    // returns whether the drop was taken.
    static bool dropOn(QWidget *target, const QMimeData &data)
    {
        const QPoint middle = target->rect().center();
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
        QDragEnterEvent enter(middle, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDragMoveEvent move(middle, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &move);
        EXPECT_TRUE(move.isAccepted());
        QDropEvent drop(middle, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        // The file manager must never take it as a move and delete its files.
        EXPECT_EQ(drop.dropAction(), Qt::LinkAction);
        return drop.isAccepted();
    }

    static bool dropOn(QWidget *target, const QByteArray &path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QFile::decodeName(path))});
        return dropOn(target, data);
    }
};

TEST_F(FolderDropTest, AFolderOnTheCommandLineIsTheSourceForThisRunOnly)
{
    TMainForm1 &w = start();
    EXPECT_EQ(player.URL(), source() + "/a.mp3");

    w.openForThisRun(SourcePlace::of(other()));
    EXPECT_EQ(w.FolderTreeView0->FolderName(), other());
    EXPECT_EQ(player.URL(), other() + "/x.wav");
    ASSERT_TRUE(w.close());
    EXPECT_EQ(storedSourceFolder(), source());

    // Another folder chosen during the run is kept as usual.
    TMainForm1 &again = createForm();
    again.openForThisRun(SourcePlace::of(other()));
    again.FolderTreeView0->setFolderName(dest(1));
    ASSERT_TRUE(again.close());
    EXPECT_EQ(storedSourceFolder(), dest(1));
}

TEST_F(FolderDropTest, AFileOnTheCommandLineOpensItsFolderWithThatFileCurrent)
{
    TMainForm1 &w = start();
    w.openForThisRun(SourcePlace::of(other() + "/y.wav"));
    EXPECT_EQ(player.URL(), other() + "/y.wav");
    EXPECT_EQ(w.FileListBox1->itemName(w.FileListBox1->selectedIndex()), QByteArray("y.wav"));
    EXPECT_TRUE(w.MessageLine->text().isEmpty());

    // A file the list does not show: its folder opens at the first file, and the line says why.
    w.openForThisRun(SourcePlace::of(other() + "/notes.txt"));
    EXPECT_EQ(player.URL(), other() + "/x.wav");
    EXPECT_TRUE(w.MessageLine->text().contains(QStringLiteral("notes.txt"))) << w.MessageLine->text().toStdString();
}

TEST_F(FolderDropTest, AFolderInsideAHiddenOneIsListedAllTheSame)
{
    const QByteArray hidden = root() + "/.hidden/inner";
    QDir().mkpath(QFile::decodeName(hidden));
    writeFile(hidden + "/h.mp3", "h");
    TMainForm1 &w = start();
    w.openForThisRun(SourcePlace::of(hidden));
    EXPECT_EQ(player.URL(), hidden + "/h.mp3");
    EXPECT_EQ(w.FileListBox1->Directory(), hidden);
}

TEST_F(FolderDropTest, AFolderDroppedOnTheListOrTheTreeBecomesTheSource)
{
    TMainForm1 &w = start();
    for (QWidget *target : {w.FileListBox1->viewport(), w.FolderTreeView0->viewport()}) {
        SCOPED_TRACE(target->parent()->objectName().toStdString());
        w.FolderTreeView0->setFolderName(source());
        ASSERT_EQ(player.URL(), source() + "/a.mp3");

        // The walk passes the Computer node, whose volumes get the short
        // patience of a call that may touch any mount: on a loaded machine
        // the walk may end a moment after the drop returns.
        ASSERT_TRUE(dropOn(target, other()));
        EXPECT_TRUE(waitUntil([&] { return w.FolderTreeView0->FolderName() == other(); }));
        EXPECT_TRUE(waitUntil([&] { return player.URL() == other() + "/x.wav"; })) << player.URL().constData();

        // A file: its folder, with that file current.
        ASSERT_TRUE(dropOn(target, source() + "/b.mp3"));
        EXPECT_TRUE(waitUntil([&] { return w.FolderTreeView0->FolderName() == source(); }));
        EXPECT_TRUE(waitUntil([&] { return player.URL() == source() + "/b.mp3"; })) << player.URL().constData();
    }
    // A dropped folder is a choice like one made in the tree, and is kept.
    ASSERT_TRUE(dropOn(w.FileListBox1->viewport(), other()));
    ASSERT_TRUE(w.close());
    EXPECT_EQ(storedSourceFolder(), other());
}

TEST_F(FolderDropTest, AFolderDroppedOnASortButtonOrAFieldIsThatSlotsDestination)
{
    TMainForm1 &w = start();
    const int slot = 5;
    ASSERT_FALSE(w.ClearButton[slot - 1]->isEnabled());
    ASSERT_TRUE(dropOn(w.ClearButton[slot - 1], other()));
    EXPECT_EQ(w.BrowseEdit[slot - 1]->Path(), other());
    EXPECT_TRUE(w.ClearButton[slot - 1]->isEnabled());
    EXPECT_EQ(w.Label[slot - 1]->text(), QStringLiteral("other folder"));

    // A file gives its folder; the field takes drops as its button does.
    ASSERT_TRUE(dropOn(w.ClearButton[slot - 1], source() + "/a.mp3"));
    EXPECT_EQ(w.BrowseEdit[slot - 1]->Path(), source());
    ASSERT_TRUE(dropOn(w.BrowseEdit[slot], other()));
    EXPECT_EQ(w.BrowseEdit[slot]->Path(), other());
    EXPECT_TRUE(w.ClearButton[slot]->isEnabled());
    // The source is left as it was.
    EXPECT_EQ(w.FolderTreeView0->FolderName(), source());
}

TEST_F(FolderDropTest, DragsWithoutALocalFileAreRefused)
{
    TMainForm1 &w = start();
    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("https://example.org/music/"))});
    QMimeData text;
    text.setText(QStringLiteral("/tmp"));
    for (const QMimeData *data : {&web, &text}) {
        for (QWidget *target : {w.FileListBox1->viewport(), w.FolderTreeView0->viewport(),
                 static_cast<QWidget *>(w.ClearButton[0])})
            EXPECT_FALSE(dropOn(target, *data)) << target->objectName().toStdString();
    }
    EXPECT_EQ(w.FolderTreeView0->FolderName(), source());
    EXPECT_EQ(w.BrowseEdit[0]->Path(), dest(1));

    // A folder that has gone by the time it is dropped is named in the message line.
    const QByteArray gone = root() + "/gone";
    QDir().mkpath(QFile::decodeName(gone));
    QMimeData late;
    late.setUrls({QUrl::fromLocalFile(QFile::decodeName(gone))});
    QDir().rmdir(QFile::decodeName(gone));
    EXPECT_TRUE(dropOn(w.FileListBox1->viewport(), late));
    EXPECT_EQ(w.FolderTreeView0->FolderName(), source());
    EXPECT_TRUE(w.MessageLine->text().contains(QStringLiteral("gone")));
}

TEST(DroppedPathsTest, ADragIsTakenAsAReferenceNeverAsAMove)
{
    QMimeData data;
    struct ActionCase
    {
        Qt::DropActions offered;
        bool accepted;
        Qt::DropAction taken;
    };
    const ActionCase cases[] = {
        {Qt::MoveAction | Qt::CopyAction | Qt::LinkAction, true, Qt::LinkAction},
        {Qt::MoveAction | Qt::CopyAction, true, Qt::CopyAction},
        {Qt::MoveAction, false, Qt::IgnoreAction},
    };
    for (const ActionCase &c : cases) {
        QDropEvent event(QPointF(1, 1), c.offered, &data, Qt::LeftButton, Qt::NoModifier);
        EXPECT_EQ(droppedpaths::acceptAsReference(event), c.accepted);
        EXPECT_EQ(event.isAccepted(), c.accepted);
        if (c.accepted) {
            EXPECT_EQ(event.dropAction(), c.taken);
        }
    }
}

} // namespace
