#include "SortFixture.h"

#include "skin/ClearButton.h"

#include <QToolButton>

#include <QLabel>
#include <QTest>

namespace {

struct KeyCase
{
    const char *what;
    int qtKey;
    Qt::KeyboardModifiers modifiers;
    int sortedToSlot;   // 0: nothing sorted
    bool advances;      // the next command ran
};

class KeyMapTest : public SortFixture, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyMapTest, KeysSortOrSkipFromTheFileList)
{
    const KeyCase &c = GetParam();
    TMainForm1 &w = openSource({"a.mp3", "b.wav", "c.mid"});
    w.show();
    w.FileListBox1->setFocus();

    QTest::keyPress(w.FileListBox1, Qt::Key(c.qtKey), c.modifiers);

    for (int slot = 1; slot <= 3; ++slot)
        EXPECT_EQ(exists(dest(slot) + "/a.mp3"), slot == c.sortedToSlot) << c.what << " slot " << slot;
    // One key press is one command, whichever control saw it first.
    const bool moved = c.sortedToSlot != 0;
    EXPECT_EQ(listed().size(), moved ? 2 : 3) << c.what;
    EXPECT_EQ(currentName(), QByteArray(moved || c.advances ? "b.wav" : "a.mp3")) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyMapTest, ::testing::Values(
    KeyCase {"keypad 1", Qt::Key_1, Qt::KeypadModifier, 1, false},
    KeyCase {"keypad 3 with shift held", Qt::Key_3, Qt::KeypadModifier | Qt::ShiftModifier, 3, false},
    KeyCase {"F2", Qt::Key_F2, Qt::NoModifier, 2, false},
    KeyCase {"main keyboard 1", Qt::Key_1, Qt::NoModifier, 0, false},
    KeyCase {"keypad 4 without a folder", Qt::Key_4, Qt::KeypadModifier, 0, false},
    KeyCase {"F10", Qt::Key_F10, Qt::NoModifier, 0, false},
    KeyCase {"space", Qt::Key_Space, Qt::NoModifier, 0, true},
    KeyCase {"keypad 0", Qt::Key_0, Qt::KeypadModifier, 0, true}));

class KeyMapFocusTest : public SortFixture {};

TEST_F(KeyMapFocusTest, KeysActFromModeRadiosAndDestinationFieldsToo)
{
    TMainForm1 &w = openSource({"a.mp3", "b.wav", "c.mid", "d.au"});
    w.show();
    QTest::keyPress(w.RadioButton2, Qt::Key_Space);
    EXPECT_EQ(currentName(), QByteArray("b.wav"));

    QTest::keyPress(w.BrowseEdit[4], Qt::Key_2, Qt::KeypadModifier);
    EXPECT_TRUE(exists(dest(2) + "/b.wav"));
    // The field still receives the typed character.
    EXPECT_EQ(w.BrowseEdit[4]->text(), QStringLiteral("2"));
}

TEST_F(KeyMapFocusTest, SortingKeysNeverJumpToANumberedName)
{
    // Type-ahead on "0" or "1" would skip 002 or land on 1-b after the command.
    TMainForm1 &w = openSource({"001.wav", "002.wav", "003.wav", "1-a.wav", "1-b.wav"});
    w.show();
    QTest::keyPress(w.FileListBox1, Qt::Key_0, Qt::KeypadModifier);
    EXPECT_EQ(currentName(), QByteArray("002.wav"));
    QTest::keyPress(w.FileListBox1, Qt::Key_Space);
    EXPECT_EQ(currentName(), QByteArray("003.wav"));
    QTest::keyPress(w.FileListBox1, Qt::Key_1, Qt::KeypadModifier);
    EXPECT_TRUE(exists(dest(1) + "/003.wav"));
    EXPECT_EQ(currentName(), QByteArray("1-a.wav"));
    EXPECT_EQ(player.URL(), source() + "/1-a.wav");
}

TEST_F(KeyMapFocusTest, CtrlRRereadsTheList)
{
    TMainForm1 &w = openSource({"a.mp3"});
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.FileListBox1->setFocus();
    writeFile(source() + "/b.wav", "b.wav");
    QTest::keyClick(w.FileListBox1, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(listed(), QStringList({"a.mp3", "b.wav"}));
    EXPECT_EQ(w.FileListBox1->selectedIndex(), -1);
    EXPECT_EQ(currentName(), QByteArray("a.mp3"));
}

TEST_F(KeyMapFocusTest, KeysTestTheFolderAtThePress)
{
    TMainForm1 &w = openSource({"a.mp3", "b.wav"});
    w.show();
    QDir(QFile::decodeName(dest(1))).removeRecursively();
    ASSERT_TRUE(w.ClearButton[0]->isEnabled());
    QTest::keyPress(w.FileListBox1, Qt::Key_F1);
    EXPECT_EQ(currentName(), QByteArray("a.mp3"));
    EXPECT_TRUE(exists(source() + "/a.mp3"));
}

struct SlotCase
{
    const char *what;
    const char *text;   // "<root>" is replaced by the test folder
    bool enabled;
    const char *label;
};

class SlotChangeTest : public SortFixture, public ::testing::WithParamInterface<SlotCase> {};

TEST_P(SlotChangeTest, ButtonAndLabelFollowTheText)
{
    const SlotCase &c = GetParam();
    TMainForm1 &w = openSource({"a.mp3"});
    writeFile(root() + "/a-file", "x");
    QByteArray text(c.text);
    text.replace("<root>", root());
    w.BrowseEdit[6]->setPath(text);
    EXPECT_EQ(w.ClearButton[6]->isEnabled(), c.enabled) << c.what;
    EXPECT_EQ(w.Label[6]->text(), QString::fromUtf8(c.label)) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Slots, SlotChangeTest, ::testing::Values(
    SlotCase {"folder", "<root>/dest2", true, "dest2"},
    SlotCase {"trailing separator", "<root>/dest2/", true, "dest2"},
    SlotCase {"root", "/", true, ""},
    SlotCase {"relative to the source folder", "../dest3", true, "dest3"},
    SlotCase {"file", "<root>/a-file", false, ""},
    SlotCase {"missing", "<root>/nowhere", false, ""},
    SlotCase {"empty", "", false, ""}));

TEST_F(KeyMapFocusTest, BrowseButtonPicksAFolder)
{
    TMainForm1 &w = openSource({"a.mp3"});
    w.BrowseEdit[8]->pickFolder = [this](QWidget *) { return QFile::decodeName(dest(3)); };
    QTest::mouseClick(w.BrowseEdit[8]->browseButton(), Qt::LeftButton);
    EXPECT_EQ(w.BrowseEdit[8]->Path(), dest(3));
    EXPECT_TRUE(w.ClearButton[8]->isEnabled());
    EXPECT_EQ(w.Label[8]->text(), QStringLiteral("dest3"));

    // A cancelled picker changes nothing.
    w.BrowseEdit[8]->pickFolder = [](QWidget *) { return QString(); };
    QTest::mouseClick(w.BrowseEdit[8]->browseButton(), Qt::LeftButton);
    EXPECT_EQ(w.BrowseEdit[8]->Path(), dest(3));
}

} // namespace

namespace {

// The desktop's trash lives in a temporary data folder while a test runs.
using RejectKeyTest = TrashSortFixture;

TEST_F(RejectKeyTest, DeleteSendsTheCurrentFileToTheTrashAndAdvancesInEitherMode)
{
    TMainForm1 &w = openSource({"a.mp3", "b.wav", "c.mid"});
    w.show();
    QTest::keyPress(w.FileListBox1, Qt::Key_Delete);
    EXPECT_EQ(readFile(inTrash("a.mp3")), QByteArray("a.mp3"));
    EXPECT_EQ(currentName(), QByteArray("b.wav"));
    EXPECT_EQ(player.URL(), source() + "/b.wav");

    // In copy mode, and from a mode radio, just the same.
    w.RadioButton2->setChecked(true);
    QTest::keyPress(w.RadioButton2, Qt::Key_Delete);
    EXPECT_EQ(readFile(inTrash("b.wav")), QByteArray("b.wav"));
    EXPECT_EQ(currentName(), QByteArray("c.mid"));
    ASSERT_TRUE(settled());
    EXPECT_EQ(listed(), QStringList({"c.mid"}));
    EXPECT_TRUE(errors.isEmpty());
}

// A trash that cannot be written: Delete answers at once with the reason,
// the file stays current and in its folder, and the next key works.
TEST_F(RejectKeyTest, DeleteWithATrashThatCannotBeWrittenSaysWhyAndTheNextKeyWorks)
{
    const QByteArray trash = QFile::encodeName(m_data.path()) + "/Trash";
    QDir().mkpath(QFile::decodeName(trash + "/files"));
    writeFile(trash + "/info", "not a folder");
    TMainForm1 &w = openSource({"a.mp3", "b.wav"});
    w.show();
    QTest::keyPress(w.FileListBox1, Qt::Key_Delete);
    ASSERT_TRUE(settled());
    EXPECT_EQ(w.MessageLine->text(), QStringLiteral("a.mp3 をごみ箱に移せません（アクセスが拒否されました）。"));
    EXPECT_EQ(readFile(source() + "/a.mp3"), QByteArray("a.mp3"));
    EXPECT_EQ(currentName(), QByteArray("a.mp3"));
    EXPECT_EQ(QDir(QFile::decodeName(trash + "/files")).entryList(QDir::Files), QStringList());

    QTest::keyPress(w.FileListBox1, Qt::Key_F1);
    ASSERT_TRUE(settled());
    EXPECT_EQ(readFile(dest(1) + "/a.mp3"), QByteArray("a.mp3"));
    EXPECT_EQ(currentName(), QByteArray("b.wav"));
}

TEST_F(RejectKeyTest, DeleteInADestinationFieldOnlyEditsTheText)
{
    TMainForm1 &w = openSource({"a.mp3", "b.wav"});
    w.show();
    w.BrowseEdit[3]->setText(QStringLiteral("xyz"));
    w.BrowseEdit[3]->setFocus();
    w.BrowseEdit[3]->setCursorPosition(0);
    QTest::keyPress(w.BrowseEdit[3], Qt::Key_Delete);
    EXPECT_EQ(w.BrowseEdit[3]->text(), QStringLiteral("yz"));
    EXPECT_EQ(readFile(source() + "/a.mp3"), QByteArray("a.mp3"));
    EXPECT_EQ(currentName(), QByteArray("a.mp3"));
}

} // namespace
