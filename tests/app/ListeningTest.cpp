// Listening from the keypad, through real key events on the window over the
// recording backend: the listening keys, where they act, the keyboard
// coming back after the player's controls are used with the mouse, where
// files start, and the two player settings across a restart.
#include "SortFixture.h"

#include "app/PlayerTransportBar.h"
#include "app/WindowsMediaPlayer.h"
#include "player/PlayerBackend.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <optional>
#include <vector>

namespace {

using startposition::Source;

class ListeningFixture : public SortFixture
{
protected:
    // The source folder's first file is three minutes long and plays.
    TMainForm1 &openLongFile()
    {
        player.media.insert(source() + "/a.mp3", {180, Source::File});
        return openSource({"a.mp3", "b.wav", "c.mid"});
    }

    PlayerBackend *backend() const { return form->WindowsMediaPlayer1->backend(); }

    // The player's context menu, opened as a right click does.
    QMenu *openPlayerMenu()
    {
        TWindowsMediaPlayer *control = form->WindowsMediaPlayer1;
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(50, 50), control->mapToGlobal(QPoint(50, 50)));
        QApplication::sendEvent(control, &event);
        return control->contextMenu();
    }

    QAction *menuAction(const QString &text)
    {
        for (QAction *action : form->WindowsMediaPlayer1->contextMenu()->actions()) {
            if (action->text() == text)
                return action;
            if (action->menu()) {
                for (QAction *inner : action->menu()->actions()) {
                    if (inner->text() == text)
                        return inner;
                }
            }
        }
        return nullptr;
    }

    void chooseInMenu(const QString &text)
    {
        QMenu *menu = openPlayerMenu();
        QAction *action = menuAction(text);
        ASSERT_NE(action, nullptr) << text.toStdString();
        action->trigger();
        menu->hide();
        QApplication::processEvents();
    }
};

struct ListeningCase
{
    const char *what;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    double from;
    std::optional<double> to; // none: no seek
    bool paused;
};

class ListeningKeyTest : public ListeningFixture, public ::testing::WithParamInterface<ListeningCase> {};

TEST_P(ListeningKeyTest, EachKeyDoesItsOneThingAndSortsNothing)
{
    const ListeningCase &c = GetParam();
    TMainForm1 &w = openLongFile();
    w.show();
    backend()->seek(c.from);
    player.seeks.clear();

    QTest::keyClick(w.FileListBox1, c.key, c.modifiers);

    // As std::vector: Qt 6.4's QList<double>::operator== hands memcmp the
    // null data of two empty lists, which UBSan stops on.
    const std::vector<double> seeks(player.seeks.begin(), player.seeks.end());
    EXPECT_EQ(seeks, c.to ? std::vector<double>({*c.to}) : std::vector<double>()) << c.what;
    EXPECT_EQ(backend()->isPaused(), c.paused) << c.what;
    // No file moved, the current file stays, and type-ahead jumped nowhere.
    EXPECT_EQ(listed().size(), 3) << c.what;
    EXPECT_EQ(currentName(), QByteArray("a.mp3")) << c.what;
    EXPECT_EQ(w.FileListBox1->selectedIndex(), 0) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Keys, ListeningKeyTest, ::testing::Values(
    ListeningCase {"+ jumps 10 s ahead", Qt::Key_Plus, Qt::KeypadModifier, 30, 40, false},
    ListeningCase {"Shift and + jump a minute", Qt::Key_Plus, Qt::KeypadModifier | Qt::ShiftModifier, 30, 90, false},
    ListeningCase {"- jumps 10 s back", Qt::Key_Minus, Qt::KeypadModifier, 30, 20, false},
    ListeningCase {"Shift and - stop at the start", Qt::Key_Minus, Qt::KeypadModifier | Qt::ShiftModifier, 30, 0, false},
    ListeningCase {"+ near the end does nothing", Qt::Key_Plus, Qt::KeypadModifier, 171, std::nullopt, false},
    ListeningCase {"Shift and + past the end do nothing", Qt::Key_Plus, Qt::KeypadModifier | Qt::ShiftModifier, 125, std::nullopt, false},
    ListeningCase {"* pauses", Qt::Key_Asterisk, Qt::KeypadModifier, 30, std::nullopt, true},
    ListeningCase {"/ goes back to the start", Qt::Key_Slash, Qt::KeypadModifier, 95, 0, false},
    ListeningCase {"the main keyboard's + is no listening key", Qt::Key_Plus, Qt::NoModifier, 30, std::nullopt, false},
    ListeningCase {"nor its /", Qt::Key_Slash, Qt::NoModifier, 30, std::nullopt, false}));

TEST_F(ListeningFixture, PauseResumesAndTheStartKeyPlaysAPausedFileFromTheStart)
{
    TMainForm1 &w = openLongFile();
    w.show();
    backend()->seek(50);
    QTest::keyClick(w.FileListBox1, Qt::Key_Asterisk, Qt::KeypadModifier);
    EXPECT_TRUE(backend()->isPaused());
    QTest::keyClick(w.FileListBox1, Qt::Key_Asterisk, Qt::KeypadModifier);
    EXPECT_FALSE(backend()->isPaused());
    QTest::keyClick(w.FileListBox1, Qt::Key_Asterisk, Qt::KeypadModifier);
    QTest::keyClick(w.FileListBox1, Qt::Key_Slash, Qt::KeypadModifier);
    EXPECT_EQ(backend()->position(), 0);
    EXPECT_FALSE(backend()->isPaused());
}

TEST_F(ListeningFixture, KeysActFromTheModeRadiosAndStayTextInADestinationField)
{
    TMainForm1 &w = openLongFile();
    w.show();
    QTest::keyClick(w.RadioButton2, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(player.seeks, QList<double>({10}));

    player.seeks.clear();
    w.BrowseEdit[4]->setFocus();
    for (Qt::Key key : {Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Asterisk, Qt::Key_Slash})
        QTest::keyClick(w.BrowseEdit[4], key, Qt::KeypadModifier);
    EXPECT_EQ(w.BrowseEdit[4]->text(), QStringLiteral("+-*/"));
    EXPECT_TRUE(player.seeks.isEmpty());
    EXPECT_FALSE(backend()->isPaused());
}

// The mouse on the player, then keypad 1 where the keyboard is: it sorts.
class MouseThenKeypadTest : public ListeningFixture, public ::testing::WithParamInterface<const char *>
{
protected:
    void useThePlayer(const QString &what)
    {
        TWindowsMediaPlayer *control = form->WindowsMediaPlayer1;
        PlayerTransportBar *bar = control->transportBar();
        const auto click = [](QWidget *target, QPoint at) { QTest::mouseClick(target, Qt::LeftButton, {}, at); };
        if (what == "seek bar") {
            QSlider *slider = bar->positionSlider();
            click(slider, QPoint(slider->width() / 2, slider->height() / 2));
            EXPECT_EQ(player.seeks.size(), 1);
        } else if (what == "play button") {
            click(bar->playPauseButton(), bar->playPauseButton()->rect().center());
            click(bar->playPauseButton(), bar->playPauseButton()->rect().center());
        } else if (what == "volume") {
            click(bar->volumeSlider(), QPoint(2, bar->volumeSlider()->height() / 2));
            EXPECT_LT(backend()->volume(), 20);
        } else if (what == "picture") {
            click(control, control->videoRect().center());
        } else if (what == "menu") {
            QMenu *menu = openPlayerMenu();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
            menuAction(QStringLiteral("ミュート"))->trigger();
            menu->hide();
        }
    }
};

TEST_P(MouseThenKeypadTest, TheNextKeypadDigitSortsWhereverTheKeyboardWas)
{
    TMainForm1 &w = openLongFile();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    // The keys do nothing in the tree; the player's controls give them back.
    w.FolderTreeView0->setFocus();
    ASSERT_TRUE(waitUntil([&] { return QApplication::focusWidget() == w.FolderTreeView0; }));

    useThePlayer(QString::fromLatin1(GetParam()));
    ASSERT_TRUE(waitUntil([&] { return QApplication::focusWidget() == w.FileListBox1; })) << GetParam();

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_FALSE(player.seeks.isEmpty()) << GetParam();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_1, Qt::KeypadModifier);
    EXPECT_TRUE(exists(dest(1) + "/a.mp3")) << GetParam();
    EXPECT_EQ(currentName(), QByteArray("b.wav")) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Controls, MouseThenKeypadTest,
    ::testing::Values("seek bar", "play button", "volume", "picture", "menu"),
    [](const auto &info) {
        std::string name = info.param;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST_F(ListeningFixture, EachNewFileStartsAtTheChosenShareUnlessShortAListOrASong)
{
    player.media.insert(source() + "/1-long.wav", {120, Source::File});
    player.media.insert(source() + "/2-short.wav", {10, Source::File});
    player.media.insert(source() + "/3-list.m3u", {600, Source::Playlist});
    player.media.insert(source() + "/4-song.mid", {60, Source::Midi});
    player.media.insert(source() + "/5-edge.wav", {20, Source::File});
    player.media.insert(source() + "/0-first.wav", {120, Source::File});
    TMainForm1 &w = openSource({"0-first.wav", "1-long.wav", "2-short.wav", "3-list.m3u", "4-song.mid", "5-edge.wav"});
    w.show();
    // The first activation hands the file to the player once more.
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(player.starts.last(), 0);
    player.starts.clear();

    chooseInMenu(QStringLiteral("25 % の位置から"));
    EXPECT_EQ(w.WindowsMediaPlayer1->startPercent(), 25);
    // The file playing keeps its place; the next ones start later.
    EXPECT_TRUE(player.starts.isEmpty());
    for (int next = 1; next < 6; ++next)
        QTest::keyClick(w.FileListBox1, Qt::Key_0, Qt::KeypadModifier);
    EXPECT_EQ(player.starts, QList<double>({30, 0, 0, 0, 5}));
}

TEST_F(ListeningFixture, ThePlayerHearsOfTheFileLikelyToComeNext)
{
    TMainForm1 &w = openSource({"a.mp3", "b.wav", "c.mid"});
    w.show();
    EXPECT_EQ(player.prepared.last(), source() + "/b.wav");
    QTest::keyClick(w.FileListBox1, Qt::Key_Space);
    EXPECT_EQ(player.prepared.last(), source() + "/c.mid");
    // At the last file, a move would play the one before it.
    QTest::keyClick(w.FileListBox1, Qt::Key_Space);
    EXPECT_EQ(player.prepared.last(), source() + "/b.wav");
}

struct StoredPlayerCase
{
    const char *ini;
    int startPercent;
    bool levelling;
};

class StoredPlayerSettingsTest : public ListeningFixture, public ::testing::WithParamInterface<StoredPlayerCase> {};

TEST_P(StoredPlayerSettingsTest, AreReadAtStart)
{
    const StoredPlayerCase &c = GetParam();
    writeFile(exeDir() + "/Ondasort.ini", c.ini);
    TMainForm1 &w = createForm();
    EXPECT_EQ(w.WindowsMediaPlayer1->startPercent(), c.startPercent) << c.ini;
    EXPECT_EQ(w.WindowsMediaPlayer1->isLevelling(), c.levelling) << c.ini;
    EXPECT_EQ(player.startPercent, c.startPercent) << c.ini;
    EXPECT_EQ(player.levelling, c.levelling) << c.ini;
}

INSTANTIATE_TEST_SUITE_P(Settings, StoredPlayerSettingsTest, ::testing::Values(
    StoredPlayerCase {"[SET1]\nSTARTPOS=50\nLOUDNESS=1\n", 50, true},
    StoredPlayerCase {"[SET1]\nSTARTPOS=10\nLOUDNESS=0\n", 10, false},
    // Only the menu's choices are taken; anything else leaves the default.
    StoredPlayerCase {"[SET1]\nSTARTPOS=33\nLOUDNESS=abc\n", 0, false},
    StoredPlayerCase {"[SET1]\nSTARTPOS=-25\nLOUDNESS=7\n", 0, true},
    StoredPlayerCase {"[SET1]\nMODE1=1\n", 0, false}));

TEST_F(ListeningFixture, BothSettingsSurviveARestart)
{
    TMainForm1 &w = createForm();
    chooseInMenu(QStringLiteral("25 % の位置から"));
    chooseInMenu(QStringLiteral("音量をそろえる"));
    EXPECT_TRUE(player.levelling);
    EXPECT_EQ(player.startPercent, 25);
    ASSERT_TRUE(w.close());
    const QByteArray ini = readFile(exeDir() + "/Ondasort.ini");
    EXPECT_TRUE(ini.contains("\nSTARTPOS=25\n")) << ini.constData();
    EXPECT_TRUE(ini.contains("\nLOUDNESS=1\n")) << ini.constData();

    player.startPercent = 0;
    player.levelling = false;
    createForm();
    EXPECT_EQ(player.startPercent, 25);
    EXPECT_TRUE(player.levelling);
    EXPECT_TRUE(menuAction(QStringLiteral("25 % の位置から"))->isChecked());
    EXPECT_FALSE(menuAction(QStringLiteral("先頭から"))->isChecked());
    EXPECT_TRUE(menuAction(QStringLiteral("音量をそろえる"))->isChecked());
}

} // namespace
