// The window over a file system that stops answering (a FUSE file system
// holding its calls, as a dead network share does): it appears, shows what
// waits, keeps sorting into the folders that answer, and loses no byte.
#include "SortFixture.h"

#include "app/SortTexts.h"
#include "namespace/ShellFolder.h"
#include "shell/FolderTreeNode.h"
#include "support/HeldFileSystem.h"

#include <QLabel>
#include <QTest>

namespace {

class DeadMountTest : public SortFixture
{
protected:
    void SetUp() override
    {
        if (!fuse.isMounted())
            GTEST_SKIP() << fuse.whyNot().toStdString();
    }
    void TearDown() override
    {
        // Whatever still waits goes on, then the window goes.
        fuse.release();
        form.reset();
    }

    // A path below the mount point, and the same file behind it.
    QByteArray mounted(const QByteArray &path) const { return fuse.mountPoint() + path; }
    QByteArray behind(const QByteArray &path) const { return fuse.backing() + path; }
    void makeBehind(const QByteArray &folder, const QList<QByteArray> &names = {})
    {
        QDir().mkpath(QFile::decodeName(behind(folder)));
        for (const QByteArray &name : names)
            writeFile(behind(folder + "/" + name), name);
    }
    void writeSettings(const QByteArray &folders)
    {
        writeFile(exeDir() + "/Ondasort.ini", "[SET1]\n" + folders);
    }
    void makeLocalSource(const QList<QByteArray> &names)
    {
        QDir().mkpath(QFile::decodeName(source()));
        for (int slot = 1; slot <= 3; ++slot)
            QDir().mkpath(QFile::decodeName(dest(slot)));
        for (const QByteArray &name : names)
            writeFile(source() + "/" + name, name);
    }
    static FolderTreeNode *child(FolderTreeNode *parent, const QByteArray &name)
    {
        for (int i = 0; parent && i < parent->childCount(); ++i) {
            if (parent->child(i)->info()->name == name)
                return parent->child(i);
        }
        return nullptr;
    }
    void doubleClick(FolderTreeNode *node)
    {
        TFolderTreeView *tree = form->FolderTreeView0;
        tree->scrollTo(tree->indexOf(node));
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, tree->nodeRect(node).center());
    }

    HeldFileSystem fuse;
};

TEST_F(DeadMountTest, AHeldDestinationWaitsWhileTheOtherSlotsSort)
{
    makeLocalSource({"a.mp3", "b.wav", "c.mid"});
    makeBehind("/held");
    writeSettings("LIST00=" + source() + "\nLIST01=" + dest(1) + "\nLIST02=" + mounted("/held") + "\nLIST03="
        + dest(3) + "\n");
    fuse.hold("/held", HeldFileSystem::Everything);

    // The window is made although one of its folders does not answer.
    TMainForm1 &w = createForm();
    w.show();
    EXPECT_TRUE(w.ClearButton[0]->isEnabled());
    EXPECT_TRUE(w.ClearButton[2]->isEnabled());
    EXPECT_FALSE(w.ClearButton[1]->isEnabled());
    ASSERT_TRUE(waitUntil([&] { return w.Label[1]->text() == QStringLiteral("応答待ち"); }));
    EXPECT_FALSE(w.ClearButton[1]->isEnabled());
    EXPECT_EQ(currentName(), QByteArray("a.mp3"));

    // Its key is refused at once, naming the folder; nothing waits behind it.
    QTest::keyPress(w.FileListBox1, Qt::Key_F2);
    EXPECT_EQ(w.MessageLine->text(), sorttexts::folderNotAnswering(mounted("/held")));
    EXPECT_TRUE(w.MessageLine->text().contains(QFile::decodeName(mounted("/held"))));
    EXPECT_TRUE(w.sortSession().isIdle());
    EXPECT_EQ(readFile(source() + "/a.mp3"), QByteArray("a.mp3"));
    EXPECT_EQ(currentName(), QByteArray("a.mp3"));

    // The other slots sort, and the next file plays.
    QTest::keyPress(w.FileListBox1, Qt::Key_F1);
    EXPECT_EQ(readFile(dest(1) + "/a.mp3"), QByteArray("a.mp3"));
    EXPECT_EQ(currentName(), QByteArray("b.wav"));
    EXPECT_EQ(player.URL(), source() + "/b.wav");

    // Once it answers, the slot is usable.
    fuse.release();
    ASSERT_TRUE(waitUntil([&] { return w.ClearButton[1]->isEnabled(); }));
    EXPECT_EQ(w.Label[1]->text(), QStringLiteral("held"));
    QTest::keyPress(w.FileListBox1, Qt::Key_F2);
    EXPECT_EQ(currentName(), QByteArray("c.mid"));
    ASSERT_TRUE(settled());
    EXPECT_EQ(readFile(behind("/held/b.wav")), QByteArray("b.wav"));
    EXPECT_FALSE(exists(source() + "/b.wav"));
}

TEST_F(DeadMountTest, ASourceFolderHeldAtStartShowsTheListLoadingAndPlaysOnceItAnswers)
{
    makeBehind("/music", {"a.mp3", "b.wav"});
    QDir().mkpath(QFile::decodeName(dest(1)));
    writeSettings("LIST00=" + mounted("/music") + "\n");
    fuse.hold("/music", HeldFileSystem::Everything);

    TMainForm1 &w = createForm();
    w.show();
    ASSERT_TRUE(waitUntil([&] { return w.FileListBox1->showsLoading(); }));
    EXPECT_FALSE(player.URL().startsWith(mounted("/music")));
    // The window goes on meanwhile.
    w.BrowseEdit[0]->setPath(dest(1));
    EXPECT_TRUE(w.ClearButton[0]->isEnabled());

    fuse.release();
    ASSERT_TRUE(waitUntil([&] { return player.URL() == mounted("/music/a.mp3"); }));
    EXPECT_EQ(currentName(), QByteArray("a.mp3"));
    EXPECT_EQ(listed(), QStringList({"a.mp3", "b.wav"}));
    EXPECT_FALSE(w.FileListBox1->showsLoading());
    ASSERT_TRUE(waitUntil([&] { return w.FolderTreeView0->FolderName() == mounted("/music"); }));
}

TEST_F(DeadMountTest, ATreeFolderThatDoesNotAnswerShowsLoadingAndTheWalkGoesOnOnceItDoes)
{
    makeBehind("/deep/inner", {"x.mp3"});
    makeBehind("/deep/other");
    TMainForm1 &w = createForm();
    w.show();
    TFolderTreeView *tree = w.FolderTreeView0;
    fuse.hold("/deep", HeldFileSystem::Listings);

    tree->setFolderName(mounted("/deep/inner"));
    EXPECT_EQ(tree->walkingTo(), mounted("/deep/inner"));
    FolderTreeNode *deep = tree->selectedNode();
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(deep->info()->name, QByteArray("deep"));
    ASSERT_TRUE(waitUntil([&] { return deep->isLoading(); }));
    EXPECT_TRUE(tree->model()->data(tree->indexOf(deep)).toString().endsWith(QStringLiteral("（読み込み中）")));
    // The list, pointed at the same folder, waits for it as well.
    ASSERT_TRUE(waitUntil([&] { return w.FileListBox1->showsLoading(); }));

    fuse.release();
    ASSERT_TRUE(waitUntil([&] { return tree->FolderName() == mounted("/deep/inner"); }));
    EXPECT_FALSE(deep->isLoading());
    EXPECT_EQ(deep->childCount(), 2);
    EXPECT_TRUE(tree->walkingTo().isEmpty());
    ASSERT_TRUE(waitUntil([&] { return currentName() == "x.mp3"; }));
    EXPECT_EQ(w.FileListBox1->Directory(), mounted("/deep/inner"));
}

TEST_F(DeadMountTest, AMountPointThatDoesNotAnswerIsListedDimmedAndOpensOnceItAnswers)
{
    makeBehind("/songs");
    TMainForm1 &w = createForm();
    w.show();
    TFolderTreeView *tree = w.FolderTreeView0;
    fuse.hold("/", HeldFileSystem::Everything);

    FolderTreeNode *computer = child(tree->rootNode(), "::drives");
    ASSERT_NE(computer, nullptr);
    doubleClick(computer);
    ASSERT_TRUE(waitUntil([&] { return child(computer, fuse.mountPoint()) != nullptr; }));
    FolderTreeNode *volume = child(computer, fuse.mountPoint());
    EXPECT_TRUE(volume->isCut());
    EXPECT_TRUE(volume->info()->attributes & shellns::attr::kIsSlow);
    EXPECT_FALSE(child(computer, "/")->isCut());

    // It is not opened while it does not answer.
    doubleClick(volume);
    ASSERT_TRUE(waitUntil([&] { return volume->isLoading(); }));
    EXPECT_EQ(volume->childCount(), 0);

    fuse.release();
    ASSERT_TRUE(waitUntil([&] { return !volume->isCut() && volume->childCount() == 1; }));
    EXPECT_FALSE(volume->info()->attributes & shellns::attr::kIsSlow);
    EXPECT_FALSE(volume->isLoading());
}

TEST_F(DeadMountTest, AMoveWhoseDestinationStopsMidCopyWaitsAndClosingAnywayLeavesTheSourceWhole)
{
    makeBehind("/dest");
    TMainForm1 &w = openSource({"a.mp3", "b.wav", "c.mid"});
    const QByteArray contents = QByteArray(8 << 20, 'a');
    writeFile(source() + "/a.mp3", contents);
    w.BrowseEdit[0]->setPath(mounted("/dest"));
    w.show();
    // The tree's walk passes the computer, which lists the FUSE mount: on a
    // busy machine that read may answer after the window is up.
    ASSERT_TRUE(waitUntil([&] { return currentName() == "a.mp3" && w.ClearButton[0]->isEnabled(); }));
    closeAnyway = true;
    // The copy starts, then its writes stop being answered.
    fuse.hold("/dest", HeldFileSystem::Writes, 3);

    QTest::keyPress(w.FileListBox1, Qt::Key_F1);
    EXPECT_EQ(currentName(), QByteArray("b.wav"));
    EXPECT_EQ(player.URL(), source() + "/b.wav");
    ASSERT_TRUE(fuse.waitForHeldCall());
    ASSERT_TRUE(waitUntil([&] { return w.ProgressLine->text().startsWith(QStringLiteral("応答待ち")); }));
    EXPECT_TRUE(w.ProgressLine->text().contains(QStringLiteral("a.mp3")));
    EXPECT_TRUE(w.ProgressLine->toolTip().startsWith(QStringLiteral("移動中")));
    EXPECT_TRUE(w.ProgressLine->toolTip().contains(QStringLiteral("装置の応答待ち")));
    // The window stays in use.
    QTest::keyPress(w.FileListBox1, Qt::Key_Space);
    EXPECT_EQ(currentName(), QByteArray("c.mid"));

    // Closing asks, and closes anyway.
    EXPECT_TRUE(w.close());
    EXPECT_EQ(questions.size(), 1);
    EXPECT_EQ(readFile(source() + "/a.mp3"), contents);
    form.reset();

    // When the device answers again, the copy given up goes no further.
    fuse.release();
    ASSERT_TRUE(waitUntil([&] { return QDir(QFile::decodeName(behind("/dest"))).isEmpty(QDir::Files | QDir::Hidden); }));
    EXPECT_EQ(readFile(source() + "/a.mp3"), contents);
}

TEST_F(DeadMountTest, ARenameThatIsHeldGoesOnInTheBackgroundWhileTheNextFilePlays)
{
    makeBehind("/src", {"a.mp3", "b.wav", "c.mid"});
    makeBehind("/dest");
    TMainForm1 &w = createForm();
    w.BrowseEdit[0]->setPath(mounted("/dest"));
    w.FolderTreeView0->setFolderName(mounted("/src"));
    w.show();
    // A FUSE server on a busy machine may answer later than a local disk.
    ASSERT_TRUE(waitUntil([&] { return currentName() == "a.mp3" && w.ClearButton[0]->isEnabled(); }));
    fuse.hold("/", HeldFileSystem::Renames);

    QTest::keyPress(w.FileListBox1, Qt::Key_F1);
    EXPECT_EQ(currentName(), QByteArray("b.wav"));
    EXPECT_EQ(player.URL(), mounted("/src/b.wav"));
    ASSERT_TRUE(fuse.waitForHeldCall());
    EXPECT_FALSE(w.sortSession().isIdle());
    ASSERT_TRUE(waitUntil([&] { return w.ProgressLine->text().startsWith(QStringLiteral("応答待ち")); }));
    QTest::keyPress(w.FileListBox1, Qt::Key_Space);
    EXPECT_EQ(currentName(), QByteArray("c.mid"));

    fuse.release();
    ASSERT_TRUE(settled());
    EXPECT_EQ(readFile(behind("/dest/a.mp3")), QByteArray("a.mp3"));
    EXPECT_FALSE(exists(behind("/src/a.mp3")));
    EXPECT_EQ(listed(), QStringList({"b.wav", "c.mid"}));
    EXPECT_TRUE(w.MessageLine->text().isEmpty());
    EXPECT_TRUE(w.ProgressLine->text().isEmpty());
}

} // namespace
