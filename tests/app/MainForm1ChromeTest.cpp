#include "MainFormFixture.h"

#include "controls/FileListBox.h"
#include "skin/GlintFadeButton.h"
#include "support/UrlRecorder.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class MainForm1ChromeTest : public MainFormFixture {};

TEST_F(MainForm1ChromeTest, GuideButtonOpensReadmeBesideTheExecutable)
{
    // The second folder's name is Shift_JIS, not UTF-8: its bytes must reach the URL.
    const QByteArray sjis = exeDir() + "/\x83\x65\x83\x58\x83\x67";
    ASSERT_EQ(::mkdir(sjis.constData(), 0755), 0);
    for (const QByteArray &directory : {exeDir(), sjis}) {
        UrlRecorder recorder;
        m_otherExeDir = directory;
        TMainForm1 &w = createForm();
        QTest::mouseClick(w.FadeButton1, Qt::LeftButton);
        ASSERT_EQ(recorder.opened.size(), 1);
        const QUrl &url = recorder.opened[0];
        EXPECT_EQ(url.scheme(), QStringLiteral("file"));
        EXPECT_EQ(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()),
            directory + "/Readme.txt");
    }
    form.reset();
    ::rmdir(sjis.constData());
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

TEST_F(MainForm1ChromeTest, FileListHasTheFocusAtStart)
{
    TMainForm1 &w = createForm();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(QApplication::focusWidget(), w.FileListBox1);
}

} // namespace
