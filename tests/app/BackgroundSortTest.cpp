// Moves to another file system and copies run behind the window: the next
// file plays at once, a progress line tells what is under way, failures are
// reported, Ctrl+Z takes back what has not begun, and closing waits. The
// order and bookkeeping behind it are the sort session's own tests.
#include "SortFixture.h"

#include "settings/ProfileFile.h"
#include "settings/SettingsLocation.h"
#include "support/FaultyFileSystem.h"

#include <QLabel>
#include <QProgressBar>
#include <QTest>

namespace {

class BackgroundSortTest : public TrashSortFixture
{
protected:
    void SetUp() override
    {
        // The source folder stands for a tmpfs, the destinations and the trash for a disk.
        disk.otherFileSystem = source();
        fileSystem = &disk;
    }
    void TearDown() override
    {
        disk.letReadsGo();
        form.reset();
    }

    // Files large enough to take several reads; each holds its name first.
    TMainForm1 &openLargeSource(const QList<QByteArray> &names)
    {
        TMainForm1 &w = openSource(names);
        for (const QByteArray &name : names)
            writeFile(source() + "/" + name, contentsOf(name));
        return w;
    }
    static QByteArray contentsOf(const QByteArray &name) { return name + QByteArray(300 * 1024, 'x'); }

    // Holds the next copy at its first read, until letReadsGo().
    void holdCopies()
    {
        disk.holdReads();
    }
    bool copyWaiting() const
    {
        return waitUntil([this] { return disk.readWaiting(); });
    }
    QStringList filesIn(const QByteArray &folder) const
    {
        return QDir(QFile::decodeName(folder)).entryList(QDir::Files | QDir::Hidden);
    }

    FaultyFileSystem disk;
};

TEST_F(BackgroundSortTest, AMoveToAnotherFileSystemRunsBehindTheNextFileAndShowsItsProgress)
{
    TMainForm1 &w = openLargeSource({"a.mp3", "b.wav", "c.mid"});
    holdCopies();
    w.ClearButton1Click(w.ClearButton[0]);
    ASSERT_TRUE(copyWaiting());

    // The next file plays while a.mp3 is still being copied, and the list,
    // read again meanwhile, does not show a.mp3 though it is still there.
    EXPECT_EQ(currentName(), QByteArray("b.wav"));
    EXPECT_EQ(player.URL(), source() + "/b.wav");
    ASSERT_TRUE(waitUntil([&] { return !w.FileListBox1->isUpdatePending(); }));
    EXPECT_EQ(listed(), QStringList({"b.wav", "c.mid"}));
    EXPECT_TRUE(exists(source() + "/a.mp3"));
    EXPECT_EQ(w.ProgressLine->text(), QStringLiteral("移動中 0%\na.mp3"));
    EXPECT_TRUE(w.ProgressBar1->isVisibleTo(&w));

    // Another sort waits its turn, in order.
    w.ClearButton2Click(w.ClearButton[1]);
    EXPECT_EQ(currentName(), QByteArray("c.mid"));
    EXPECT_EQ(w.ProgressLine->text(), QStringLiteral("移動中 0%\na.mp3\nあと 1 件"));

    disk.letReadsGo();
    ASSERT_TRUE(settled());
    EXPECT_EQ(readFile(dest(1) + "/a.mp3"), contentsOf("a.mp3"));
    EXPECT_EQ(readFile(dest(2) + "/b.wav"), contentsOf("b.wav"));
    EXPECT_EQ(filesIn(source()), QStringList({"c.mid"}));
    EXPECT_EQ(listed(), QStringList({"c.mid"}));
    EXPECT_TRUE(w.ProgressLine->text().isEmpty());
    EXPECT_FALSE(w.ProgressBar1->isVisibleTo(&w));
    EXPECT_TRUE(w.MessageLine->text().isEmpty());
}

struct FullDiskCase
{
    const char *what;
    bool copy;
    QString message;
};

class FullDiskTest : public BackgroundSortTest, public ::testing::WithParamInterface<FullDiskCase> {};

TEST_P(FullDiskTest, AFailureIsReportedAndLeavesTheSourceAndNoPartialFile)
{
    const FullDiskCase &c = GetParam();
    TMainForm1 &w = openLargeSource({"a.mp3", "b.wav"});
    w.RadioButton2->setChecked(c.copy);
    disk.diskSpace = 100 * 1024;
    w.ClearButton1Click(w.ClearButton[0]);
    ASSERT_TRUE(settled());

    EXPECT_EQ(w.MessageLine->text(), c.message) << c.what;
    EXPECT_EQ(readFile(source() + "/a.mp3"), contentsOf("a.mp3")) << c.what;
    EXPECT_EQ(filesIn(dest(1)), QStringList()) << c.what;
    // The file is listed again; the one playing now stays current.
    EXPECT_EQ(listed(), QStringList({"a.mp3", "b.wav"})) << c.what;
    EXPECT_EQ(currentName(), QByteArray("b.wav")) << c.what;
    EXPECT_TRUE(w.ProgressLine->text().isEmpty()) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Operations, FullDiskTest, ::testing::Values(
    FullDiskCase {"move", false, QStringLiteral("a.mp3 を移動できません（空き容量が足りません）。")},
    FullDiskCase {"copy", true, QStringLiteral("a.mp3 を複製できません（空き容量が足りません）。")}));

// Another program makes a file of the same name at the destination while
// the move copies: neither file is lost, the message line says both stayed,
// and the next key works.
TEST_F(BackgroundSortTest, AFileMadeAtTheDestinationMeanwhileIsKeptBesideTheSource)
{
    TMainForm1 &w = openLargeSource({"a.mp3", "b.wav"});
    holdCopies();
    w.ClearButton1Click(w.ClearButton[0]);
    ASSERT_TRUE(copyWaiting());
    writeFile(dest(1) + "/a.mp3", "made meanwhile");
    disk.letReadsGo();
    ASSERT_TRUE(settled());

    EXPECT_EQ(w.MessageLine->text(),
        QStringLiteral("a.mp3 を移動できません。移動先に同じ名前のファイルが作られたため、両方ともそのまま残しました。"));
    EXPECT_EQ(readFile(dest(1) + "/a.mp3"), QByteArray("made meanwhile"));
    EXPECT_EQ(readFile(source() + "/a.mp3"), contentsOf("a.mp3"));
    EXPECT_EQ(filesIn(dest(1)), QStringList({"a.mp3"}));

    w.ClearButton2Click(w.ClearButton[1]);
    ASSERT_TRUE(settled());
    EXPECT_EQ(readFile(dest(2) + "/b.wav"), contentsOf("b.wav"));
}

TEST_F(BackgroundSortTest, CtrlZTakesBackASortThatHasNotBegunAndWaitsForOneUnderWay)
{
    TMainForm1 &w = openLargeSource({"a.mp3", "b.wav", "c.mid"});
    holdCopies();
    w.ClearButton1Click(w.ClearButton[0]);  // a.mp3: under way
    ASSERT_TRUE(copyWaiting());
    w.ClearButton2Click(w.ClearButton[1]);  // b.wav: waiting
    QTest::keyPress(w.FileListBox1, Qt::Key_Z, Qt::ControlModifier);

    // b.wav never left: it is listed, current and playing again.
    EXPECT_EQ(currentName(), QByteArray("b.wav"));
    EXPECT_EQ(player.URL(), source() + "/b.wav");
    EXPECT_EQ(listed(), QStringList({"b.wav", "c.mid"}));
    EXPECT_EQ(w.ProgressLine->text(), QStringLiteral("移動中 0%\na.mp3"));

    // a.mp3 is on its way: undone only once it has arrived.
    QTest::keyPress(w.FileListBox1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.MessageLine->text(), QStringLiteral("a.mp3 の移動が終わってから元に戻せます。"));
    EXPECT_EQ(currentName(), QByteArray("b.wav"));

    disk.letReadsGo();
    ASSERT_TRUE(settled());
    EXPECT_EQ(filesIn(dest(1)), QStringList({"a.mp3"}));
    EXPECT_TRUE(filesIn(dest(2)).isEmpty());

    // Moving it back crosses the file systems again: in the background too.
    holdCopies();
    QTest::keyPress(w.FileListBox1, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_TRUE(copyWaiting());
    EXPECT_EQ(w.ProgressLine->text(), QStringLiteral("戻し中 0%\na.mp3"));
    QTest::keyPress(w.FileListBox1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.MessageLine->text(), QStringLiteral("a.mp3 を元に戻しています。終わるまでお待ちください。"));
    disk.letReadsGo();
    ASSERT_TRUE(settled());
    EXPECT_EQ(readFile(source() + "/a.mp3"), contentsOf("a.mp3"));
    EXPECT_TRUE(filesIn(dest(1)).isEmpty());
    EXPECT_EQ(currentName(), QByteArray("a.mp3"));
    EXPECT_EQ(player.URL(), source() + "/a.mp3");
    EXPECT_EQ(listed(), QStringList({"a.mp3", "b.wav", "c.mid"}));
}

struct CloseCase
{
    const char *what;
    bool fails;
};

class CloseWhileSortingTest : public BackgroundSortTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseWhileSortingTest, ClosingFinishesTheQueueFirstAndStaysOpenAfterAFailure)
{
    const CloseCase &c = GetParam();
    TMainForm1 &w = openLargeSource({"a.mp3", "b.wav"});
    w.show();
    holdCopies();
    if (c.fails)
        disk.diskSpace = 100 * 1024;
    w.ClearButton1Click(w.ClearButton[0]);
    ASSERT_TRUE(copyWaiting());
    const QByteArray settings = settingslocation::settingsFile(exeDir());

    EXPECT_FALSE(w.close()) << c.what;
    EXPECT_TRUE(w.isVisible()) << c.what;
    EXPECT_FALSE(exists(settings)) << c.what;
    EXPECT_EQ(w.ProgressLine->text(), QStringLiteral("移動中 0%\na.mp3")) << c.what;
    // No further sort is taken while the window waits to close.
    w.ClearButton2Click(w.ClearButton[1]);
    EXPECT_EQ(currentName(), QByteArray("b.wav")) << c.what;

    disk.letReadsGo();
    ASSERT_TRUE(waitUntil([&] { return w.sortSession().isIdle(); })) << c.what;
    QCoreApplication::processEvents();
    EXPECT_EQ(w.isVisible(), c.fails) << c.what;
    EXPECT_EQ(exists(settings), !c.fails) << c.what;
    if (c.fails) {
        EXPECT_EQ(w.MessageLine->text(), QStringLiteral("a.mp3 を移動できません（空き容量が足りません）。"));
        EXPECT_TRUE(w.close()) << c.what;
    }
    EXPECT_EQ(ProfileFile(settings).snapshot().readString("SET1", "LIST01", ""), dest(1)) << c.what;
    EXPECT_EQ(filesIn(dest(2)), QStringList()) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Outcomes, CloseWhileSortingTest, ::testing::Values(
    CloseCase {"the move succeeds", false},
    CloseCase {"the move fails", true}));

} // namespace
