#include "SortFixture.h"

#include "support/FaultyFileSystem.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

using UndoTest = TrashSortFixture;

void undoKey(QWidget *widget)
{
    QTest::keyPress(widget, Qt::Key_Z, Qt::ControlModifier);
}

TEST_F(UndoTest, CtrlZAfterARestartWalksEverySortAndRejectBackByteForByte)
{
    {
        TMainForm1 &w = openSource({"a.mp3", "b.wav", "c.mid", "d.au", "e.wma"});
        writeFile(dest(1) + "/c.mid", "the older c");
        w.ClearButton1Click(w.ClearButton[0]);  // a.mp3 moved to 1
        w.ClearButton2Click(w.ClearButton[1]);  // b.wav moved to 2
        w.ClearButton1Click(w.ClearButton[0]);  // c.mid replaces the older c in 1
        QTest::keyPress(w.FileListBox1, Qt::Key_Delete);  // d.au rejected
        w.RadioButton2->setChecked(true);
        w.ClearButton3Click(w.ClearButton[2]);  // e.wma copied to 3
        ASSERT_TRUE(settled());
        EXPECT_EQ(listed(), QStringList({"e.wma"}));
        EXPECT_EQ(readFile(dest(1) + "/c.mid"), QByteArray("c.mid"));
        EXPECT_EQ(readFile(inTrash("c.mid")), QByteArray("the older c"));
        EXPECT_TRUE(w.MessageLine->text().isEmpty());
        form.reset();
    }

    TMainForm1 &w = createForm();
    w.FolderTreeView0->setFolderName(source());
    w.show();
    const char *undoneInTurn[] = {"e.wma", "d.au", "c.mid", "b.wav", "a.mp3"};
    for (const char *name : undoneInTurn) {
        SCOPED_TRACE(name);
        undoKey(w.FileListBox1);
        EXPECT_EQ(currentName(), QByteArray(name));
        EXPECT_EQ(player.URL(), source() + "/" + name);
        EXPECT_TRUE(w.MessageLine->text().isEmpty()) << w.MessageLine->text().toStdString();
    }
    EXPECT_EQ(listed(), QStringList({"a.mp3", "b.wav", "c.mid", "d.au", "e.wma"}));
    for (const char *name : undoneInTurn)
        EXPECT_EQ(readFile(source() + "/" + name), QByteArray(name));
    EXPECT_EQ(readFile(dest(1) + "/c.mid"), QByteArray("the older c"));
    EXPECT_EQ(QDir(QFile::decodeName(dest(1))).entryList(QDir::Files), QStringList({"c.mid"}));
    EXPECT_TRUE(QDir(QFile::decodeName(dest(2))).isEmpty());
    EXPECT_TRUE(QDir(QFile::decodeName(dest(3))).isEmpty());
    // The trash no longer lists what it gave back.
    EXPECT_FALSE(exists(inTrash("d.au")));
    EXPECT_FALSE(QFile::exists(m_data.path() + "/Trash/info/d.au.trashinfo"));

    undoKey(w.RadioButton1);
    EXPECT_EQ(w.MessageLine->text(), QStringLiteral("元に戻せる操作はありません。"));
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(UndoTest, UndoNeverOverwritesAndCtrlZInADestinationFieldEditsTheText)
{
    TMainForm1 &w = openSource({"a.mp3", "b.wav"});
    w.show();
    w.ClearButton1Click(w.ClearButton[0]);
    ASSERT_TRUE(settled());

    // In a destination field Ctrl+Z is the field's own undo.
    w.BrowseEdit[5]->setFocus();
    QTest::keyClicks(w.BrowseEdit[5], QStringLiteral("xy"));
    undoKey(w.BrowseEdit[5]);
    EXPECT_NE(w.BrowseEdit[5]->text(), QStringLiteral("xy"));
    EXPECT_EQ(readFile(dest(1) + "/a.mp3"), QByteArray("a.mp3"));

    // Another a.mp3 took the old place: nothing moves, the window says why.
    writeFile(source() + "/a.mp3", "another a");
    undoKey(w.FileListBox1);
    EXPECT_EQ(readFile(dest(1) + "/a.mp3"), QByteArray("a.mp3"));
    EXPECT_EQ(readFile(source() + "/a.mp3"), QByteArray("another a"));
    EXPECT_EQ(w.MessageLine->text(),
        QStringLiteral("a.mp3 を元に戻せません。元の場所に同じ名前のファイルがあります。"));

    // The moved file changed since: nothing moves either.
    QFile::remove(QFile::decodeName(source() + "/a.mp3"));
    writeFile(dest(1) + "/a.mp3", "edited");
    undoKey(w.FileListBox1);
    EXPECT_EQ(readFile(dest(1) + "/a.mp3"), QByteArray("edited"));
    EXPECT_FALSE(exists(source() + "/a.mp3"));
    EXPECT_EQ(w.MessageLine->text(),
        QStringLiteral("a.mp3 を元に戻せません。移動先のファイルはその後変更されています。"));
}

TEST_F(UndoTest, OneCtrlZReadsOneFolderAndLoadsOneFile)
{
    FaultyFileSystem counting;
    fileSystem = &counting;
    TMainForm1 &w = openSource({"a.mp3", "b.wav"});
    w.ClearButton1Click(w.ClearButton[0]);
    ASSERT_TRUE(settled());
    // The user has gone on to another folder since.
    w.FolderTreeView0->setFolderName(dest(2));
    ASSERT_EQ(w.FileListBox1->Directory(), dest(2));

    const int reads = counting.folderOpens;
    const qsizetype loads = player.writes.size();
    undoKey(w.FileListBox1);
    EXPECT_EQ(counting.folderOpens - reads, 1);
    EXPECT_EQ(player.writes.mid(loads), QByteArrayList({source() + "/a.mp3"}));
    // Tree and list agree on the folder the file came back to.
    EXPECT_EQ(w.FolderTreeView0->FolderName(), source());
    EXPECT_EQ(w.FileListBox1->Directory(), source());
    EXPECT_EQ(currentName(), QByteArray("a.mp3"));
    EXPECT_EQ(listed(), QStringList({"a.mp3", "b.wav"}));
    form.reset();
}

} // namespace
