#include "MainFormFixture.h"

#include "app/KeyMapWindow.h"
#include "controls/FileListBox.h"
#include "platform/PathResolve.h"
#include "skin/GlintFadeButton.h"
#include "support/ScopedEnvironment.h"
#include "support/UrlRecorder.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QTableWidget>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class MainForm1ChromeTest : public MainFormFixture {};

TEST_F(MainForm1ChromeTest, GuideMenuOpensReadmeBesideTheExecutable)
{
    // The second folder's name is Shift_JIS, not UTF-8: its bytes must reach the URL.
    const QByteArray sjis = exeDir() + "/\x83\x65\x83\x58\x83\x67";
    ASSERT_EQ(::mkdir(sjis.constData(), 0755), 0);
    for (const QByteArray &directory : {exeDir(), sjis}) {
        UrlRecorder recorder;
        m_otherExeDir = directory;
        TMainForm1 &w = createForm();
        w.show();
        QTest::mouseClick(w.FadeButton1, Qt::LeftButton);
        ASSERT_NE(w.GuideMenu, nullptr);
        EXPECT_TRUE(w.GuideMenu->isVisible());
        EXPECT_TRUE(recorder.opened.isEmpty()) << "the button only opens its menu";
        w.GuideAction->trigger();
        ASSERT_EQ(recorder.opened.size(), 1);
        const QUrl &url = recorder.opened[0];
        EXPECT_EQ(url.scheme(), QStringLiteral("file"));
        EXPECT_EQ(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()),
            directory + "/Readme.txt");
        w.GuideMenu->hide();
    }
    form.reset();
    ::rmdir(sjis.constData());
}

TEST_F(MainForm1ChromeTest, InstalledProgramFindsTheGuideWithTheDocumentation)
{
    // <prefix>/libexec/ondasort holds the program, the guide is with the
    // installed documentation; a guide beside the program still wins.
    const QByteArray root = QFile::encodeName(m_exeDir.path());
    m_otherExeDir = root + "/usr/libexec/ondasort";
    const QByteArray installed = paths::absoluteClean(ONDASORT_GUIDE_FOLDER "/Readme.txt", m_otherExeDir);
    ASSERT_TRUE(installed.startsWith(root + "/usr/share/doc/ondasort/")) << installed.constData();
    ASSERT_TRUE(QDir().mkpath(QFile::decodeName(m_otherExeDir)));
    ASSERT_TRUE(QDir().mkpath(QFile::decodeName(root + "/usr/share/doc/ondasort")));
    QFile(QFile::decodeName(installed)).open(QIODevice::WriteOnly);
    TMainForm1 &w = createForm();
    EXPECT_EQ(w.usersGuideFile(), installed);

    QFile(QFile::decodeName(m_otherExeDir + "/Readme.txt")).open(QIODevice::WriteOnly);
    EXPECT_EQ(w.usersGuideFile(), m_otherExeDir + "/Readme.txt");
}

TEST_F(MainForm1ChromeTest, WithoutAnyProgramToOpenThemTheMessageLineSaysWhereTheyAre)
{
    // No handler registered, no xdg-open or browser to find: nothing opens.
    ScopedEnvironment path("PATH", "/nonexistent");
    ScopedEnvironment browser("BROWSER", QByteArray());
    ScopedEnvironment defaultBrowser("DEFAULT_BROWSER", QByteArray());
    TMainForm1 &w = createForm();
    w.show();

    w.FadeButton1Click(w.FadeButton1);
    QString shown = w.MessageLine->text().remove(QChar(0x200B));
    EXPECT_TRUE(shown.contains(QStringLiteral("ガイドを開くプログラムが見つかりません"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QFile::decodeName(exeDir() + "/Readme.txt"))) << shown.toStdString();

    QTest::mouseClick(w.FadeButton4, Qt::LeftButton);
    shown = w.MessageLine->text().remove(QChar(0x200B));
    EXPECT_TRUE(shown.contains(QStringLiteral("/info.php?pf=w&sn="))) << shown.toStdString();
}

TEST_F(MainForm1ChromeTest, KeyMapWindowListsEveryKeyInJapanese)
{
    TMainForm1 &w = createForm();
    w.show();
    QTest::mouseClick(w.FadeButton1, Qt::LeftButton);
    w.KeyMapAction->trigger();
    ASSERT_NE(w.keyMapWindow(), nullptr);
    EXPECT_TRUE(w.keyMapWindow()->isVisible());
    QStringList keys;
    for (int row = 0; row < w.keyMapWindow()->table()->rowCount(); ++row) {
        keys << w.keyMapWindow()->table()->item(row, 0)->text();
        EXPECT_FALSE(w.keyMapWindow()->table()->item(row, 1)->text().isEmpty());
    }
    const QString all = keys.join(QLatin1Char('\n'));
    for (const char *key : {"1", "F1", "Delete", "Ctrl+Z", "Ctrl+R"})
        EXPECT_TRUE(all.contains(QLatin1String(key))) << key << " missing from\n" << all.toStdString();

    // A second request brings back the same window.
    TKeyMapWindow *first = w.keyMapWindow();
    first->close();
    w.showKeyMap();
    EXPECT_EQ(w.keyMapWindow(), first);
    EXPECT_TRUE(first->isVisible());
}

TEST_F(MainForm1ChromeTest, GuidePathAppendsTheSlashUnchanged)
{
    EXPECT_EQ(TMainForm1::usersGuidePath("/opt/ondasort"), QByteArray("/opt/ondasort/Readme.txt"));
    EXPECT_EQ(TMainForm1::usersGuidePath("/"), QByteArray("//Readme.txt"));
}

TEST_F(MainForm1ChromeTest, InformationButtonNamesTheExecutable)
{
    UrlRecorder recorder;
    TMainForm1 &w = createForm();
    QTest::mouseClick(w.FadeButton4, Qt::LeftButton);
    ASSERT_EQ(recorder.opened.size(), 1);
    const QString base = QCoreApplication::applicationFilePath().section(QLatin1Char('/'), -1);
    EXPECT_EQ(recorder.opened[0].toString(),
        QStringLiteral("http://") + QLatin1String(kInformationServer) + QStringLiteral("/info.php?pf=w&sn=") + base);
}

TEST_F(MainForm1ChromeTest, InformationUrlDropsOnlyTheLastExtension)
{
    const QString prefix = QStringLiteral("http://") + QLatin1String(kInformationServer) + QStringLiteral("/info.php?pf=w&sn=");
    EXPECT_EQ(TMainForm1::informationUrl("Ondasort.exe"), prefix + QStringLiteral("Ondasort"));
    EXPECT_EQ(TMainForm1::informationUrl("sorter.new.exe"), prefix + QStringLiteral("sorter.new"));
    EXPECT_EQ(TMainForm1::informationUrl("Ondasort"), prefix + QStringLiteral("Ondasort"));
}

TEST_F(MainForm1ChromeTest, MinimiseAndCloseButtons)
{
    TMainForm1 &w = createForm();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(w.FadeButton2, Qt::LeftButton);
    EXPECT_TRUE(w.windowState().testFlag(Qt::WindowMinimized));

    w.setWindowState(Qt::WindowNoState);
    QTest::mouseClick(w.FadeButton3, Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    // Closing stops the player.
    ASSERT_FALSE(player.writes.isEmpty());
    EXPECT_EQ(player.writes.last(), QByteArray());
}

TEST_F(MainForm1ChromeTest, BareSurfaceDragsAndPanelsDoNot)
{
    struct DragCase
    {
        const char *what;
        QPoint press;  // in window coordinates
        bool moves;
    };
    const DragCase cases[] = {
        {"blue strip", {30, 500}, true},
        {"title artwork", {20, 100}, true},
        {"margin around the panel", {400, 1}, true},
        {"working panel", {400, 300}, false},
        {"file list", {100, 600}, false},
        {"command panel", {57, 690}, false},
    };
    TMainForm1 &w = createForm();
    w.move(100, 100);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    for (const DragCase &c : cases) {
        w.move(100, 100);
        QCoreApplication::processEvents();
        const QPoint start = w.pos();
        QWidget *target = w.childAt(c.press) ? w.childAt(c.press) : &w;
        const QPoint local = target->mapFrom(&w, c.press);
        QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, local);
        QTest::mouseMove(target, local + QPoint(40, 25));
        QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, local + QPoint(40, 25));
        QCoreApplication::processEvents();
        EXPECT_EQ(w.pos() != start, c.moves) << c.what;
    }
}

TEST_F(MainForm1ChromeTest, MenusSpeakInTheWindowsJapaneseFontWhateverTheDesktopsFont)
{
    // A desktop font without Japanese glyphs: a menu in it measures its
    // label with one font and draws it with a fallback, and cuts it short.
    const QFont desktop = QApplication::font();
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
    TMainForm1 &w = createForm();
    w.show();
    QTest::mouseClick(w.FadeButton1, Qt::LeftButton);
    ASSERT_NE(w.GuideMenu, nullptr);
    for (const QMenu *menu : {w.PopupMenu1, w.GuideMenu})
        EXPECT_EQ(QFontInfo(menu->font()).family(), QFontInfo(w.font()).family()) << menu->objectName().toStdString();
    w.GuideMenu->hide();
    QApplication::setFont(desktop);
}

TEST_F(MainForm1ChromeTest, WindowCarriesTheProgramsIconAtEverySize)
{
    TMainForm1 &w = createForm();
    const QIcon icon = w.windowIcon();
    ASSERT_FALSE(icon.isNull());
    for (const int size : {16, 32, 48, 256}) {
        const QImage image = icon.pixmap(size, size).toImage();
        ASSERT_EQ(image.size(), QSize(size, size)) << size;
        // Transparent corners around the blue tile, the yellow folder low in the middle.
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << size;
        const QColor tile = image.pixelColor(size * 5 / 64, size * 20 / 64);
        EXPECT_GT(tile.blue(), 200) << size;
        EXPECT_LT(tile.red(), 80) << size;
        const QColor folder = image.pixelColor(size * 20 / 64, size * 52 / 64);
        EXPECT_GT(folder.red(), 200) << size;
        EXPECT_LT(folder.blue(), 100) << size;
    }
}

TEST_F(MainForm1ChromeTest, FileListHasTheFocusAtStart)
{
    TMainForm1 &w = createForm();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(QApplication::focusWidget(), w.FileListBox1);
}

} // namespace
