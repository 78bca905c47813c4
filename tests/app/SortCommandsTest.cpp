#include "SortFixture.h"

#include <QLabel>

namespace {

enum class Mode { Move, Copy, Neither };
enum class Command { Slot1, Next };

struct AdvanceCase
{
    const char *what;
    Mode mode;
    Command command;
    int chosen;                 // list index made current first
    const char *becomesCurrent; // name current afterwards
    QStringList listedAfter;
    QStringList inDestination;
};

class SortAdvanceTest : public SortFixture, public ::testing::WithParamInterface<AdvanceCase> {};

TEST_P(SortAdvanceTest, SortsAndMakesTheIntendedFileCurrent)
{
    const AdvanceCase &c = GetParam();
    TMainForm1 &w = openSource({"a.mp3", "b.wav", "c.mid"});
    w.RadioButton1->setChecked(c.mode == Mode::Move);
    w.RadioButton2->setChecked(c.mode == Mode::Copy);
    if (c.mode == Mode::Neither) {
        w.RadioButton1->setAutoExclusive(false);
        w.RadioButton1->setChecked(false);
    }
    choose(c.chosen);

    if (c.command == Command::Slot1)
        w.ClearButton1Click(w.ClearButton[0]);
    else
        w.SpeedButton1Click(w.SpeedButton1);
    ASSERT_TRUE(settled());

    EXPECT_EQ(currentName(), QByteArray(c.becomesCurrent)) << c.what;
    EXPECT_EQ(player.URL(), w.currentPath()) << c.what;
    EXPECT_EQ(listed(), c.listedAfter) << c.what;
    EXPECT_EQ(QDir(QFile::decodeName(dest(1))).entryList(QDir::Files), c.inDestination) << c.what;
    for (const QString &name : c.inDestination)
        EXPECT_EQ(readFile(dest(1) + "/" + name.toUtf8()), name.toUtf8()) << c.what;
}

const QStringList all {"a.mp3", "b.wav", "c.mid"};

INSTANTIATE_TEST_SUITE_P(Advance, SortAdvanceTest, ::testing::Values(
    AdvanceCase {"move from the middle", Mode::Move, Command::Slot1, 1, "c.mid", {"a.mp3", "c.mid"}, {"b.wav"}},
    AdvanceCase {"move the first", Mode::Move, Command::Slot1, 0, "b.wav", {"b.wav", "c.mid"}, {"a.mp3"}},
    AdvanceCase {"move the last", Mode::Move, Command::Slot1, 2, "b.wav", {"a.mp3", "b.wav"}, {"c.mid"}},
    AdvanceCase {"copy from the middle", Mode::Copy, Command::Slot1, 1, "c.mid", all, {"b.wav"}},
    AdvanceCase {"copy the last", Mode::Copy, Command::Slot1, 2, "c.mid", all, {"c.mid"}},
    AdvanceCase {"next from the first", Mode::Move, Command::Next, 0, "b.wav", all, {}},
    AdvanceCase {"next on the last", Mode::Copy, Command::Next, 2, "c.mid", all, {}},
    AdvanceCase {"neither mode", Mode::Neither, Command::Slot1, 1, "b.wav", all, {}}));

class SortCommandsTest : public SortFixture {};

TEST_F(SortCommandsTest, OpeningAFolderMakesExactlyItsFirstItemCurrent)
{
    // A select-by-name search for "a.mp3" would land on "a.mp3.wav".
    TMainForm1 &w = openSource({"a.mp3", "a.mp3.wav", "b.mp3"});
    EXPECT_EQ(w.FileListBox1->selectedIndex(), 0);
    EXPECT_EQ(currentName(), QByteArray("a.mp3"));
    EXPECT_EQ(player.URL(), source() + "/a.mp3");
}

TEST_F(SortCommandsTest, MovingTheOnlyFileStopsThePlayer)
{
    TMainForm1 &w = openSource({"only.mp3"});
    w.ClearButton1Click(w.ClearButton[0]);
    EXPECT_EQ(w.FileListBox1->count(), 0);
    EXPECT_EQ(player.URL(), QByteArray());
    EXPECT_EQ(readFile(dest(1) + "/only.mp3"), QByteArray("only.mp3"));
    // The current path still names where the file was.
    EXPECT_EQ(w.currentPath(), source() + "/only.mp3");
}

TEST_F(SortCommandsTest, MoveReplacesASameNamedFileInTheDestination)
{
    QDir().mkpath(QFile::decodeName(dest(1)));
    writeFile(dest(1) + "/b.wav", "older b");
    TMainForm1 &w = openSource({"a.mp3", "b.wav"});
    choose(1);
    w.ClearButton1Click(w.ClearButton[0]);
    EXPECT_EQ(readFile(dest(1) + "/b.wav"), QByteArray("b.wav"));
    EXPECT_FALSE(exists(source() + "/b.wav"));
}

TEST_F(SortCommandsTest, CopyReplacesASameNamedFileInTheDestination)
{
    QDir().mkpath(QFile::decodeName(dest(1)));
    writeFile(dest(1) + "/a.mp3", "older a");
    TMainForm1 &w = openSource({"a.mp3", "b.wav"});
    w.RadioButton2->setChecked(true);
    w.ClearButton1Click(w.ClearButton[0]);
    ASSERT_TRUE(settled());
    EXPECT_EQ(readFile(dest(1) + "/a.mp3"), QByteArray("a.mp3"));
    EXPECT_EQ(readFile(source() + "/a.mp3"), QByteArray("a.mp3"));
}

TEST_F(SortCommandsTest, AfterRefreshAMoveNeverDestroysTheMovedFile)
{
    TMainForm1 &w = openSource({"a.mp3", "b.wav"});
    w.E1Click(w.E1);
    EXPECT_EQ(w.FileListBox1->selectedIndex(), -1);

    // With nothing selected the move still moves the current file, without advancing.
    w.ClearButton1Click(w.ClearButton[0]);
    EXPECT_EQ(readFile(dest(1) + "/a.mp3"), QByteArray("a.mp3"));
    EXPECT_EQ(w.currentPath(), source() + "/a.mp3");

    // Sorting the same (now missing) file again, to the same or another slot, loses nothing.
    w.ClearButton1Click(w.ClearButton[0]);
    w.ClearButtonClick(2, w.ClearButton[1]);
    EXPECT_EQ(readFile(dest(1) + "/a.mp3"), QByteArray("a.mp3"));
    EXPECT_FALSE(exists(dest(2) + "/a.mp3"));

    // Next does nothing until a file is chosen again.
    w.SpeedButton1Click(w.SpeedButton1);
    EXPECT_EQ(w.currentPath(), source() + "/a.mp3");
}

TEST_F(SortCommandsTest, SortingIntoTheSourceFolderChangesNothing)
{
    TMainForm1 &w = openSource({"a.mp3", "b.wav"});
    w.BrowseEdit[0]->setPath(source());
    choose(1);
    w.ClearButton1Click(w.ClearButton[0]);
    EXPECT_EQ(readFile(source() + "/b.wav"), QByteArray("b.wav"));
    EXPECT_EQ(listed(), QStringList({"a.mp3", "b.wav"}));
    EXPECT_EQ(currentName(), QByteArray("b.wav"));

    w.RadioButton2->setChecked(true);
    w.ClearButton1Click(w.ClearButton[0]);
    EXPECT_EQ(readFile(source() + "/b.wav"), QByteArray("b.wav"));
}

TEST_F(SortCommandsTest, RelativeDestinationIsTakenFromTheSourceFolder)
{
    TMainForm1 &w = openSource({"a.mp3", "b.wav"});
    w.BrowseEdit[0]->setPath("../dest1");
    w.ClearButton1Click(w.ClearButton[0]);
    ASSERT_TRUE(settled());
    EXPECT_EQ(readFile(dest(1) + "/a.mp3"), QByteArray("a.mp3"));
}

TEST_F(SortCommandsTest, ShorterListAfterOutsideRemovalsSelectsTheNewLast)
{
    TMainForm1 &w = openSource({"a.mp3", "b.wav", "c.mid", "d.au"});
    choose(3);
    QFile::remove(QFile::decodeName(source() + "/b.wav"));
    QFile::remove(QFile::decodeName(source() + "/c.mid"));
    w.ClearButton1Click(w.ClearButton[0]);
    ASSERT_TRUE(settled());
    EXPECT_EQ(readFile(dest(1) + "/d.au"), QByteArray("d.au"));
    EXPECT_EQ(listed(), QStringList({"a.mp3"}));
    EXPECT_EQ(currentName(), QByteArray("a.mp3"));
    EXPECT_EQ(player.URL(), source() + "/a.mp3");
}

TEST_F(SortCommandsTest, AMissingDestinationFolderLosesNothing)
{
    TMainForm1 &w = openSource({"a.mp3", "b.wav"});
    QDir(QFile::decodeName(dest(1))).removeRecursively();
    // The button still looks usable: the folder vanished after it was chosen.
    EXPECT_TRUE(w.ClearButton[0]->isEnabled());
    w.ClearButton1Click(w.ClearButton[0]);
    EXPECT_EQ(readFile(source() + "/a.mp3"), QByteArray("a.mp3"));
    // The failure is reported in the window, not hidden.
    EXPECT_EQ(w.MessageLine->text(),
        QStringLiteral("a.mp3 を移動できません（ファイルまたはフォルダーが見つかりません）。"));
    // The list is re-read and the same file is current again.
    EXPECT_EQ(currentName(), QByteArray("a.mp3"));
}

struct OutsideChangeCase
{
    const char *what;
    const char *added;       // made by another program just before the sort, or null
    QStringList removed;     // likewise
    QStringList listedAfter; // once the folder has been read again
    const char *becomesCurrent;
    bool playedAgain;        // the player was handed another file after the first
};

class NextFileFirstTest : public SortFixture, public ::testing::WithParamInterface<OutsideChangeCase> {};

TEST_P(NextFileFirstTest, TheNextFilePlaysBeforeTheFolderIsReadAndTheListThenShowsTheFolder)
{
    const OutsideChangeCase &c = GetParam();
    TMainForm1 &w = openSource({"a.mp3", "b.wav", "c.mid", "d.au"});
    choose(1);
    if (c.added)
        writeFile(source() + "/" + c.added, c.added);
    for (const QString &name : c.removed)
        QFile::remove(QFile::decodeName(source()) + "/" + name);
    const qsizetype writesBefore = player.writes.size();

    w.ClearButton1Click(w.ClearButton[0]);
    // At once, from the list in memory: the file that followed the moved one plays.
    EXPECT_EQ(player.writes.size(), writesBefore + 1) << c.what;
    EXPECT_EQ(player.URL(), source() + "/c.mid") << c.what;
    EXPECT_EQ(listed(), QStringList({"a.mp3", "c.mid", "d.au"})) << c.what;
    EXPECT_TRUE(w.FileListBox1->isUpdatePending()) << c.what;

    ASSERT_TRUE(settled()) << c.what;
    EXPECT_EQ(listed(), c.listedAfter) << c.what;
    EXPECT_EQ(currentName(), QByteArray(c.becomesCurrent)) << c.what;
    // An empty folder stops the player.
    EXPECT_EQ(player.URL(), c.listedAfter.isEmpty() ? QByteArray() : w.currentPath()) << c.what;
    EXPECT_EQ(player.writes.size(), writesBefore + (c.playedAgain ? 2 : 1)) << c.what;
    EXPECT_EQ(w.FileListBox1->selectedIndex(), c.listedAfter.indexOf(QString::fromUtf8(c.becomesCurrent)))
        << c.what;
}

INSTANTIATE_TEST_SUITE_P(OutsideChanges, NextFileFirstTest, ::testing::Values(
    OutsideChangeCase {"no change", nullptr, {}, {"a.mp3", "c.mid", "d.au"}, "c.mid", false},
    OutsideChangeCase {"a file appeared at the moved file's place", "bb.wav", {},
                       {"a.mp3", "bb.wav", "c.mid", "d.au"}, "bb.wav", true},
    OutsideChangeCase {"a later file vanished", nullptr, {"d.au"}, {"a.mp3", "c.mid"}, "c.mid", false},
    OutsideChangeCase {"the next file vanished", nullptr, {"c.mid"}, {"a.mp3", "d.au"}, "d.au", true},
    // As many names as before, one of them new.
    OutsideChangeCase {"a later file was renamed", "e.wav", {"d.au"}, {"a.mp3", "c.mid", "e.wav"}, "c.mid", false},
    OutsideChangeCase {"every other file vanished", nullptr, {"a.mp3", "c.mid", "d.au"}, {}, "c.mid", true}));

TEST_F(SortCommandsTest, AFileChosenWhileTheFolderIsReadStaysChosen)
{
    TMainForm1 &w = openSource({"a.mp3", "b.wav", "c.mid"});
    writeFile(source() + "/bb.wav", "bb.wav");
    w.ClearButton1Click(w.ClearButton[0]);
    EXPECT_EQ(currentName(), QByteArray("b.wav"));
    // The user picks the last file before the new listing arrives.
    w.FileListBox1->selectIndex(1);
    emit w.FileListBox1->OnClick(w.FileListBox1);
    ASSERT_TRUE(settled());
    EXPECT_EQ(listed(), QStringList({"b.wav", "bb.wav", "c.mid"}));
    EXPECT_EQ(currentName(), QByteArray("c.mid"));
    EXPECT_EQ(w.FileListBox1->selectedIndex(), 2);
}

TEST_F(SortCommandsTest, AfterSortsWithNothingElseChangedAnOutsideChangeIsStillSeen)
{
    TMainForm1 &w = openSource({"a.mp3", "b.wav", "c.mid", "d.au", "e.wav"});
    // Each sort's re-read finds only the sorts; the one after the last also
    // finds the renamed file, though the count of names is as it would be.
    for (const char *next : {"b.wav", "c.mid", "d.au"}) {
        w.ClearButton1Click(w.ClearButton[0]);
        ASSERT_TRUE(settled());
        EXPECT_EQ(currentName(), QByteArray(next));
    }
    ASSERT_TRUE(QFile::rename(QFile::decodeName(source()) + "/e.wav", QFile::decodeName(source()) + "/0.wav"));
    w.ClearButton1Click(w.ClearButton[0]);
    ASSERT_TRUE(settled());
    EXPECT_EQ(listed(), QStringList({"0.wav"}));
    EXPECT_EQ(currentName(), QByteArray("0.wav"));
}

TEST_F(SortCommandsTest, QuickSortsInARowEachPlayTheNextFile)
{
    TMainForm1 &w = openSource({"a.mp3", "b.wav", "c.mid", "d.au"});
    for (const char *next : {"b.wav", "c.mid", "d.au"}) {
        w.ClearButton1Click(w.ClearButton[0]);
        EXPECT_EQ(player.URL(), source() + "/" + next);
    }
    ASSERT_TRUE(settled());
    EXPECT_EQ(listed(), QStringList({"d.au"}));
    EXPECT_EQ(currentName(), QByteArray("d.au"));
    EXPECT_EQ(QDir(QFile::decodeName(dest(1))).entryList(QDir::Files), QStringList({"a.mp3", "b.wav", "c.mid"}));
}

} // namespace

namespace {

TEST_F(SortCommandsTest, WithoutATreeFolderTheListedFolderNamesTheCurrentFile)
{
    QDir().mkpath(QFile::decodeName(source()));
    writeFile(source() + "/a.mp3", "a.mp3");
    ASSERT_TRUE(QDir::setCurrent(QFile::decodeName(source())));
    TMainForm1 &w = createForm();
    ASSERT_EQ(w.FolderTreeView0->FolderName(), QByteArray());
    ASSERT_EQ(listed(), QStringList({"a.mp3"}));
    EXPECT_EQ(w.FileListBox1->selectedIndex(), -1);

    choose(0);
    EXPECT_EQ(w.currentPath(), source() + "/a.mp3");
    EXPECT_EQ(player.URL(), source() + "/a.mp3");
}

} // namespace
