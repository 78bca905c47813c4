#include "SortFixture.h"

#include "app/WindowsMediaPlayer.h"
#include "platform/FileMask.h"
#include "platform/FileOperations.h"
#include "platform/FileSystem.h"
#include "support/Wait.h"

#include "skin/ClearButton.h"
#include "support/ShellFixtureTree.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>

#include <sys/stat.h>
#include <sys/wait.h>
#include <csignal>
#include <unistd.h>

namespace {

class SettingsTest : public SortFixture
{
protected:
    QByteArray iniPath() const { return exeDir() + "/Ondasort.ini"; }
    void writeIni(const QByteArray &text) { writeFile(iniPath(), text); }
};

TEST_F(SettingsTest, WithoutAFileEverythingKeepsItsLayoutState)
{
    TMainForm1 &w = createForm();
    EXPECT_TRUE(w.RadioButton1->isChecked());
    EXPECT_FALSE(w.RadioButton2->isChecked());
    EXPECT_EQ(w.FolderTreeView0->FolderName(), QByteArray());
    for (int slot = 1; slot <= TMainForm1::kSlotCount; ++slot) {
        EXPECT_TRUE(w.BrowseEdit[slot - 1]->text().isEmpty());
        EXPECT_FALSE(w.ClearButton[slot - 1]->isEnabled());
    }
    EXPECT_TRUE(player.writes.isEmpty());

    w.move(40, 30);
    ASSERT_TRUE(w.close());
    EXPECT_EQ(readFile(iniPath()),
        QByteArray("[SET]\nM_TOP=30\nM_LEFT=40\n[SET1]\nMODE1=1\nMODE2=0\nLIST00=\n"
                   "LIST01=\nLIST02=\nLIST03=\nLIST04=\nLIST05=\nLIST06=\nLIST07=\nLIST08=\nLIST09=\n"
                   "EXTMASK=" + QByteArray(FileMask::kCurrentMedia) + "\n"));
}

struct TopCase
{
    const char *stored;
    int top;
};

class StoredTopTest : public SettingsTest, public ::testing::WithParamInterface<TopCase> {};

TEST_P(StoredTopTest, ReadsIntegersOrKeepsTheTop)
{
    writeIni("[set]\nm_top=" + QByteArray(GetParam().stored) + "\nM_LEFT=7\n");
    TMainForm1 &w = createForm();
    EXPECT_EQ(w.y(), GetParam().top) << GetParam().stored;
    EXPECT_EQ(w.x(), 7);
}

// A fresh window sits at 0,0 until the settings move it.
INSTANTIATE_TEST_SUITE_P(Settings, StoredTopTest, ::testing::Values(
    TopCase {"abc", 0}, TopCase {"0x20", 32}, TopCase {"$20", 32}, TopCase {" -5", -5},
    TopCase {"-3000", -3000}, TopCase {"", 0}));

struct ModeCase
{
    int mode1;
    int mode2;
    bool move;
    bool copy;
};

class StoredModeTest : public SettingsTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(StoredModeTest, AppliesBothModesInOrderAndWritesThemBack)
{
    const ModeCase &c = GetParam();
    writeIni("[SET1]\nMODE1=" + QByteArray::number(c.mode1) + "\nMODE2=" + QByteArray::number(c.mode2) + "\n");
    TMainForm1 &w = createForm();
    EXPECT_EQ(w.RadioButton1->isChecked(), c.move);
    EXPECT_EQ(w.RadioButton2->isChecked(), c.copy);
    ASSERT_TRUE(w.close());
    const QByteArray ini = readFile(iniPath());
    EXPECT_TRUE(ini.contains("MODE1=" + QByteArray::number(c.move ? 1 : 0))) << ini.constData();
    EXPECT_TRUE(ini.contains("MODE2=" + QByteArray::number(c.copy ? 1 : 0))) << ini.constData();
}

INSTANTIATE_TEST_SUITE_P(Settings, StoredModeTest, ::testing::Values(
    ModeCase {1, 0, true, false}, ModeCase {0, 1, false, true},
    ModeCase {1, 1, false, true}, ModeCase {0, 0, false, false}));

TEST_F(SettingsTest, NeitherModeSortsNothing)
{
    writeIni("[SET1]\nMODE1=0\nMODE2=0\n");
    TMainForm1 &w = openSource({"a.mp3", "b.wav"});
    w.ClearButton1Click(w.ClearButton[0]);
    EXPECT_TRUE(exists(source() + "/a.mp3"));
    EXPECT_FALSE(exists(dest(1) + "/a.mp3"));
}

TEST_F(SettingsTest, MissingDestinationIsShownDisabledAndWrittenBack)
{
    writeIni("[SET1]\nLIST04=/no/such/folder\nLIST05=\"" + root() + "\"\n");
    TMainForm1 &w = createForm();
    EXPECT_EQ(w.BrowseEdit[3]->Path(), QByteArray("/no/such/folder"));
    EXPECT_FALSE(w.ClearButton[3]->isEnabled());
    EXPECT_EQ(w.BrowseEdit[4]->Path(), root());
    EXPECT_TRUE(w.ClearButton[4]->isEnabled());
    ASSERT_TRUE(w.close());
    EXPECT_TRUE(readFile(iniPath()).contains("LIST04=/no/such/folder\n"));
}

TEST_F(SettingsTest, RefusedWriteKeepsTheWindowOpenAndThePlayerPlaying)
{
    writeIni("[SET]\nM_TOP=5\n");
    QFile::setPermissions(QFile::decodeName(iniPath()), QFileDevice::ReadOwner);
    QStringList shown;
    TMainForm1::Surroundings surroundings;
    surroundings.executableDirectory = exeDir();
    surroundings.playerBackend = [this] { return RecordingBackend::make(player); };
    surroundings.showError = [&](const QString &message) { shown << message; };
    form = std::make_unique<TMainForm1>(surroundings);
    form->show();
    form->WindowsMediaPlayer1->setURL("/music/a.mp3");

    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0], QFile::decodeName(iniPath()) + QStringLiteral(" に書き込めません"));
    EXPECT_EQ(player.URL(), QByteArray("/music/a.mp3"));
    EXPECT_EQ(readFile(iniPath()), QByteArray("[SET]\nM_TOP=5\n"));
    // Each further attempt is refused the same way.
    EXPECT_FALSE(form->close());
    EXPECT_EQ(shown.size(), 2);
}

TEST_F(SettingsTest, CloseAndStartAgainRestoresTheWindow)
{
    TMainForm1 &w = openSource({"a.mp3", "b.wav"});
    w.move(123, 45);
    w.RadioButton2->setChecked(true);
    for (int slot = 1; slot <= TMainForm1::kSlotCount; ++slot)
        w.BrowseEdit[slot - 1]->setPath(slot <= 3 ? dest(slot) : root() + "/missing" + QByteArray::number(slot));
    ASSERT_TRUE(w.close());
    form.reset();
    player.writes.clear();

    TMainForm1 &again = createForm();
    EXPECT_EQ(again.pos(), QPoint(123, 45));
    EXPECT_FALSE(again.RadioButton1->isChecked());
    EXPECT_TRUE(again.RadioButton2->isChecked());
    EXPECT_EQ(again.FolderTreeView0->FolderName(), source());
    EXPECT_EQ(again.FileListBox1->count(), 2);
    EXPECT_EQ(again.currentPath(), source() + "/a.mp3");
    ASSERT_FALSE(player.writes.isEmpty());
    EXPECT_EQ(player.writes.last(), source() + "/a.mp3");
    for (int slot = 1; slot <= TMainForm1::kSlotCount; ++slot) {
        EXPECT_EQ(again.BrowseEdit[slot - 1]->Path(),
            slot <= 3 ? dest(slot) : root() + "/missing" + QByteArray::number(slot));
        EXPECT_EQ(again.ClearButton[slot - 1]->isEnabled(), slot <= 3);
    }
    EXPECT_EQ(again.Label[1]->text(), QStringLiteral("dest2"));
}

TEST_F(SettingsTest, SystemWideInstallKeepsTheSettingsInTheConfigFolder)
{
    // Below /usr, with no settings file there: the user's config folder, made when missing.
    const ScopedConfigHome config(root() + "/config");
    m_otherExeDir = "/usr/lib/ondasort-settings-test";
    createForm().move(61, 17);
    ASSERT_TRUE(form->close());
    EXPECT_TRUE(readFile(root() + "/config/Ondasort/Ondasort.ini").startsWith("[SET]\nM_TOP=17\nM_LEFT=61\n"));
    form.reset();
    EXPECT_EQ(createForm().pos(), QPoint(61, 17));
}

// A last line ending in a lone CR: the entries written after it at close
// start on lines of their own, so every slot survives the next start.
TEST_F(SettingsTest, LoneCarriageReturnAtTheEndCostsNoSlot)
{
    QDir().mkpath(QFile::decodeName(dest(1)));
    QDir().mkpath(QFile::decodeName(dest(2)));
    writeIni("[SET1]\nLIST01=" + dest(1) + "\r");
    TMainForm1 &w = createForm();
    EXPECT_EQ(w.BrowseEdit[0]->Path(), dest(1));
    w.BrowseEdit[1]->setPath(dest(2));
    ASSERT_TRUE(w.close());
    form.reset();

    TMainForm1 &again = createForm();
    EXPECT_EQ(again.BrowseEdit[0]->Path(), dest(1));
    EXPECT_EQ(again.BrowseEdit[1]->Path(), dest(2));
    EXPECT_TRUE(again.ClearButton[0]->isEnabled());
    EXPECT_TRUE(again.ClearButton[1]->isEnabled());
}

// A settings file from an old Mac, its lines ended by a bare CR: every entry
// is read, and closing updates them in place in the same style.
TEST_F(SettingsTest, ReturnOnlySettingsFileIsReadAndWrittenBackInItsStyle)
{
    QDir().mkpath(QFile::decodeName(dest(3)));
    writeIni("[SET]\rM_TOP=21\rM_LEFT=34\r[SET1]\rMODE1=0\rMODE2=1\rLIST03=" + dest(3) + "\r");
    TMainForm1 &w = createForm();
    EXPECT_EQ(w.pos(), QPoint(34, 21));
    EXPECT_TRUE(w.RadioButton2->isChecked());
    EXPECT_EQ(w.BrowseEdit[2]->Path(), dest(3));
    EXPECT_TRUE(w.ClearButton[2]->isEnabled());
    ASSERT_TRUE(w.close());
    const QByteArray written = readFile(iniPath());
    EXPECT_FALSE(written.contains('\n'));
    EXPECT_TRUE(written.startsWith("[SET]\rM_TOP=21\rM_LEFT=34\r[SET1]\rMODE1=0\rMODE2=1\rLIST03=" + dest(3) + "\r"))
        << written.constData();
    EXPECT_EQ(written.count("M_TOP="), 1);
    EXPECT_EQ(written.count("[SET1]"), 1);
}

// A FIFO or a link to a device where the settings file should be: the window
// starts at once with its defaults, says so, and leaves the thing alone.
TEST_F(SettingsTest, SettingsFileThatIsNoRegularFileIsReportedAndKept)
{
    for (const char *kind : {"fifo", "device"}) {
        ::unlink(iniPath().constData());
        if (QByteArray(kind) == "fifo")
            ASSERT_EQ(::mkfifo(iniPath().constData(), 0644), 0);
        else
            ASSERT_EQ(::symlink("/dev/zero", iniPath().constData()), 0);
        errors.clear();
        TMainForm1 &w = createForm();
        EXPECT_TRUE(w.RadioButton1->isChecked()) << kind;
        EXPECT_TRUE(w.BrowseEdit[0]->Path().isEmpty()) << kind;
        QCoreApplication::processEvents();
        ASSERT_EQ(errors.size(), 1) << kind;
        EXPECT_TRUE(errors[0].startsWith(QStringLiteral("設定ファイル ") + QFile::decodeName(iniPath())));
        EXPECT_TRUE(errors[0].contains(QStringLiteral("通常のファイルではありません")));

        w.BrowseEdit[0]->setPath(dest(1));
        EXPECT_TRUE(w.close()) << kind;
        struct stat status {};
        ASSERT_EQ(::lstat(iniPath().constData(), &status), 0);
        EXPECT_TRUE(QByteArray(kind) == "fifo" ? S_ISFIFO(status.st_mode) : S_ISLNK(status.st_mode));
        form.reset();
    }
}

struct ExtraMaskCase
{
    const char *what;
    const char *stored;          // the settings file's text
    QStringList listed;          // of a.wav, b.mp4, c.flac, d.xyz
    const char *writtenBack;     // the EXTMASK line after closing
};

class ExtraMaskTest : public SettingsTest, public ::testing::WithParamInterface<ExtraMaskCase> {};

TEST_P(ExtraMaskTest, ListsTheFurtherPatternsAndWritesThemBack)
{
    const ExtraMaskCase &c = GetParam();
    if (*c.stored)
        writeIni(c.stored);
    TMainForm1 &w = openSource({"a.wav", "b.mp4", "c.flac", "d.xyz"});
    EXPECT_EQ(listed(), c.listed) << c.what;
    ASSERT_TRUE(w.close());
    EXPECT_TRUE(readFile(iniPath()).contains(QByteArray("\nEXTMASK=") + c.writtenBack + "\n")) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Settings, ExtraMaskTest, ::testing::Values(
    ExtraMaskCase {"no settings file", "", {"a.wav", "b.mp4", "c.flac"}, FileMask::kCurrentMedia},
    ExtraMaskCase {"no entry", "[SET1]\nMODE1=1\n", {"a.wav", "b.mp4", "c.flac"}, FileMask::kCurrentMedia},
    ExtraMaskCase {"emptied", "[SET1]\nEXTMASK=\n", {"a.wav"}, ""},
    ExtraMaskCase {"edited", "[SET1]\nEXTMASK=*.xyz; *.FLAC\n", {"a.wav", "c.flac", "d.xyz"}, "*.xyz; *.FLAC"}));

// A move across file systems killed half-way leaves its temporary file in
// the destination; the next start removes it while its source is intact.
TEST_F(SettingsTest, StartRemovesWhatAKilledMoveLeftBehind)
{
    QDir().mkpath(QFile::decodeName(source()));
    QDir().mkpath(QFile::decodeName(dest(1)));
    writeFile(source() + "/a.mp3", QByteArray(100000, 'a'));
    const pid_t child = ::fork();
    if (child == 0) {
        struct Killing : FileSystem {
            int rename(const char *, const char *) override { errno = EXDEV; return -1; }
            ssize_t write(int fd, const void *buffer, size_t size) override
            {
                FileSystem::write(fd, buffer, size / 2);
                ::raise(SIGKILL);
                return -1;
            }
        } killing;
        FileOperations(killing).move(source() + "/a.mp3", dest(1) + "/a.mp3");
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    const auto leftovers = [this] {
        return QDir(QFile::decodeName(dest(1))).entryList(QDir::Files | QDir::Hidden).size();
    };
    ASSERT_EQ(leftovers(), 1);

    writeIni("[SET1]\nLIST01=" + dest(1) + "\n");
    createForm();
    EXPECT_TRUE(waitUntil([&] { return leftovers() == 0; }));
    EXPECT_EQ(readFile(source() + "/a.mp3"), QByteArray(100000, 'a'));
}

} // namespace
