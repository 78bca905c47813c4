#include "app/WindowsMediaPlayer.h"

#include "app/PlayerTransportBar.h"
#include "player/mpv/MpvPlayer.h"
#include "support/MediaFixtures.h"
#include "support/Wait.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// The control over a real libmpv backend, silent.
std::unique_ptr<TWindowsMediaPlayer> mpvControl(QWidget *parent = nullptr)
{
    return std::make_unique<TWindowsMediaPlayer>(std::make_unique<MpvPlayer>(silentMpvOptions("libmpv")), parent);
}

bool isRed(QRgb pixel)
{
    return qRed(pixel) > 180 && qGreen(pixel) < 80 && qBlue(pixel) < 80;
}

// Pixels of the picture area that are red, and those that are not black.
struct PictureCount
{
    int red = 0;
    int lit = 0;
};

PictureCount countPicture(TWindowsMediaPlayer &player)
{
    const QImage image = player.grab(player.videoRect()).toImage();
    PictureCount count;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            count.red += isRed(pixel);
            count.lit += qGray(pixel) > 40;
        }
    }
    return count;
}

// The control in a window beside a line edit that stands for the file list.
class PlayerWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto *layout = new QVBoxLayout(&window);
        list = new QLineEdit(&window);
        player = mpvControl(&window).release();
        player->setFixedSize(245, 240);
        layout->addWidget(list);
        layout->addWidget(player);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        list->setFocus();
        ASSERT_TRUE(waitUntil([&] { return list->hasFocus(); }));
    }

    // Writes the fixture's path to the control and waits until it plays.
    bool plays(const char *name, double seconds = 0.05)
    {
        PlayerBackend *backend = player->backend();
        QSignalSpy started(backend, &PlayerBackend::fileStarted);
        player->setURL(mediaFixture(name));
        return waitUntil([&] { return started.count() > 0 && backend->position() > seconds; });
    }

    QWidget window;
    QLineEdit *list = nullptr;
    TWindowsMediaPlayer *player = nullptr;
    QTemporaryDir dir;
};

class VideoFrames : public PlayerWindow, public ::testing::WithParamInterface<const char *> {};

TEST_P(VideoFrames, ShowRealFramesScaledToTheControl)
{
    player->setURL(mediaFixture(GetParam()));
    ASSERT_TRUE(waitUntil([&] { return countPicture(*player).red > 0; }));
    const QImage image = player->grab(player->videoRect()).toImage();
    // A 4:3 picture in a 245 x 194 area: the full width, centred with black bands.
    EXPECT_TRUE(isRed(image.pixel(image.width() / 2, image.height() / 2)));
    EXPECT_TRUE(isRed(image.pixel(2, image.height() / 2)));
    EXPECT_TRUE(isRed(image.pixel(image.width() - 3, image.height() / 2)));
    EXPECT_EQ(qGray(image.pixel(image.width() / 2, 1)), 0);
    EXPECT_EQ(qGray(image.pixel(image.width() / 2, image.height() - 2)), 0);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, VideoFrames, ::testing::Values("clip.mpg", "clip.ivf", "clip.wmv"),
                         [](const auto &info) { return std::to_string(info.index); });

TEST_F(PlayerWindow, AudioAfterVideoShowsAStillPictureNotTheLastFrame)
{
    player->setURL(mediaFixture("clip.mpg"));
    ASSERT_TRUE(waitUntil([&] { return countPicture(*player).red > 0; }));
    player->setURL(mediaFixture("tone.mp3"));
    EXPECT_EQ(countPicture(*player).red, 0);
    ASSERT_TRUE(plays("tone.mp3"));
    const PictureCount still = countPicture(*player);
    EXPECT_EQ(still.red, 0);
    EXPECT_GT(still.lit, 0); // the file's name
}

TEST_F(PlayerWindow, EmptyUrlStopsUnloadsAndGoesBlack)
{
    ASSERT_TRUE(plays("clip.mpg"));
    player->setURL(QByteArray());
    EXPECT_EQ(player->URL(), QByteArray());
    ASSERT_TRUE(waitUntil([&] { return !player->backend()->isLoaded(); }));
    EXPECT_EQ(countPicture(*player).lit, 0);
    EXPECT_FALSE(player->transportBar()->playPauseButton()->isEnabled());
    EXPECT_EQ(player->transportBar()->timeLabel()->text(), QStringLiteral("0:00 / 0:00"));
}

TEST_F(PlayerWindow, UnplayableFileShowsNothingAndTheNextOnePlays)
{
    QSignalSpy failed(player->backend(), &PlayerBackend::loadFailed);
    player->setURL(writeFile(dir, "broken.mpg", QByteArray(3000, 'x')));
    ASSERT_TRUE(waitUntil([&] { return failed.count() > 0; }));
    EXPECT_EQ(countPicture(*player).lit, 0);
    EXPECT_TRUE(QApplication::activeModalWidget() == nullptr);
    player->setURL(mediaFixture("clip.mpg"));
    EXPECT_TRUE(waitUntil([&] { return countPicture(*player).red > 0; }));
}

TEST_F(PlayerWindow, ClicksOnTheControlLeaveTheFocusWithTheList)
{
    ASSERT_TRUE(plays("tone.wav"));
    PlayerTransportBar *bar = player->transportBar();
    const QList<QWidget *> targets{bar->playPauseButton(), bar->stopButton(), bar->muteButton(),
                                   bar->positionSlider(), bar->volumeSlider(), player};
    for (QWidget *target : targets) {
        QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
        QApplication::processEvents();
        EXPECT_TRUE(list->hasFocus()) << target->metaObject()->className();
    }
}

TEST_F(PlayerWindow, TransportBarDrivesThePlayer)
{
    ASSERT_TRUE(plays("tone.wav"));
    PlayerBackend *backend = player->backend();
    PlayerTransportBar *bar = player->transportBar();
    EXPECT_EQ(bar->volumeSlider()->value(), 50);

    QTest::mouseClick(bar->playPauseButton(), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return backend->isPaused(); }));
    // A click at three quarters of the groove jumps there.
    QSlider *position = bar->positionSlider();
    QTest::mouseClick(position, Qt::LeftButton, {}, QPoint(position->width() * 3 / 4, position->height() / 2));
    EXPECT_TRUE(waitUntil([&] { return backend->position() > 0.55 && backend->position() < 0.95; }))
        << backend->position();

    QTest::mouseClick(bar->muteButton(), Qt::LeftButton);
    EXPECT_TRUE(waitUntil([&] { return backend->isMuted(); }));
    QSlider *volume = bar->volumeSlider();
    QTest::mouseClick(volume, Qt::LeftButton, {}, QPoint(volume->width() - 2, volume->height() / 2));
    EXPECT_TRUE(waitUntil([&] { return backend->volume() > 90; }));

    QTest::mouseClick(bar->stopButton(), Qt::LeftButton);
    EXPECT_TRUE(waitUntil([&] { return backend->isPaused() && backend->position() < 0.05; }));
    EXPECT_TRUE(backend->isLoaded());
}

TEST_F(PlayerWindow, SkipsAddUpStopShortOfTheEndAndRestartPlays)
{
    PlayerBackend *backend = player->backend();
    QSignalSpy started(backend, &PlayerBackend::fileStarted);
    player->setURL(writeFile(dir, "long.wav", toneWav(180, 0.3)));
    ASSERT_TRUE(waitUntil([&] { return started.count() > 0 && backend->position() > 0.05; }));

    // Three presses quicker than the seeks: 30 s on, not 10.
    player->skip(10);
    player->skip(10);
    player->skip(10);
    EXPECT_TRUE(waitUntil([&] { return backend->position() > 30 && backend->position() < 31.5; })) << backend->position();
    player->skip(-60);
    EXPECT_TRUE(waitUntil([&] { return backend->position() < 1.5; })) << backend->position();

    // Eight seconds before the end, a 10 s jump would end the file: nothing happens.
    player->skip(60);
    player->skip(60);
    player->skip(52);
    ASSERT_TRUE(waitUntil([&] { return backend->position() > 172; })) << backend->position();
    player->skip(10);
    QTest::qWait(300);
    EXPECT_LT(backend->position(), 174);
    EXPECT_FALSE(backend->isPaused());

    player->togglePause();
    ASSERT_TRUE(waitUntil([&] { return backend->isPaused(); }));
    player->restart();
    EXPECT_TRUE(waitUntil([&] { return !backend->isPaused() && backend->position() > 0.05 && backend->position() < 1.5; }))
        << backend->position();
}

TEST_F(PlayerWindow, ContextMenuOffersPlayPauseStopMuteStartAndLevelling)
{
    ASSERT_TRUE(plays("tone.mid"));
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(50, 50), player->mapToGlobal(QPoint(50, 50)));
    QApplication::sendEvent(player, &event);
    QMenu *menu = player->contextMenu();
    ASSERT_TRUE(waitUntil([&] { return menu->isVisible(); }));
    const QList<QAction *> actions = menu->actions();
    ASSERT_EQ(actions.size(), 6);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("一時停止"));
    EXPECT_EQ(actions[1]->text(), QStringLiteral("停止"));
    EXPECT_EQ(actions[2]->text(), QStringLiteral("ミュート"));
    EXPECT_TRUE(actions[3]->isSeparator());
    ASSERT_NE(actions[4]->menu(), nullptr);
    EXPECT_EQ(actions[4]->text(), QStringLiteral("再生を始める位置"));
    QStringList starts;
    for (const QAction *start : actions[4]->menu()->actions())
        starts << start->text() + (start->isChecked() ? QStringLiteral(" *") : QString());
    EXPECT_EQ(starts, QStringList({QStringLiteral("先頭から *"), QStringLiteral("10 % の位置から"),
                                   QStringLiteral("25 % の位置から"), QStringLiteral("50 % の位置から")}));
    EXPECT_EQ(actions[5]->text(), QStringLiteral("音量をそろえる"));
    EXPECT_TRUE(actions[5]->isCheckable());
    EXPECT_FALSE(actions[5]->isChecked());
    menu->hide();

    PlayerBackend *backend = player->backend();
    actions[0]->trigger();
    ASSERT_TRUE(waitUntil([&] { return backend->isPaused(); }));
    EXPECT_EQ(actions[0]->text(), QStringLiteral("再生"));
    actions[2]->trigger();
    ASSERT_TRUE(waitUntil([&] { return backend->isMuted(); }));
    EXPECT_TRUE(actions[2]->isChecked());
    actions[0]->trigger();
    EXPECT_TRUE(waitUntil([&] { return !backend->isPaused(); }));
}

TEST(WindowsMediaPlayerLifetime, GoesAwayCleanlyAtAnyMoment)
{
    // Right after the write, while it starts, and while it plays: the render
    // context and the core must go in order with callbacks still in flight.
    for (const char *name : {"clip.mpg", "tone.mid", "list.asx"}) {
        for (int settle : {0, 1, 40}) {
            auto player = mpvControl();
            player->resize(245, 240);
            player->show();
            player->setURL(mediaFixture(name));
            QSignalSpy restarted(player->backend(), &PlayerBackend::playbackRestarted);
            if (settle == 1)
                QApplication::processEvents();
            else if (settle > 1)
                waitUntil([&] { return restarted.count() > 0; }, settle * 100);
            player.reset();
        }
    }
    QApplication::processEvents();
    SUCCEED();
}

TEST(PlayerTransportBar, TooltipsSpeakJapanese)
{
    PlayerTransportBar bar;
    const std::pair<QWidget *, QString> tips[] = {
        {bar.positionSlider(), QStringLiteral("再生位置")},
        {bar.playPauseButton(), QStringLiteral("一時停止")},
        {bar.stopButton(), QStringLiteral("停止")},
        {bar.muteButton(), QStringLiteral("ミュート")},
        {bar.volumeSlider(), QStringLiteral("音量")},
    };
    for (const auto &[widget, tip] : tips)
        EXPECT_EQ(widget->toolTip(), tip);
    bar.setPaused(true);
    EXPECT_EQ(bar.playPauseButton()->toolTip(), QStringLiteral("再生"));
}

TEST(PlayerTransportBar, FormatsTimes)
{
    const struct
    {
        double seconds;
        const char *text;
    } cases[] = {{0, "0:00"}, {59.9, "0:59"}, {61, "1:01"}, {3599, "59:59"}, {3600, "1:00:00"},
                 {7384, "2:03:04"}, {-3, "0:00"}, {qQNaN(), "0:00"}, {qInf(), "0:00"}};
    for (const auto &c : cases)
        EXPECT_EQ(PlayerTransportBar::formatTime(c.seconds), QString::fromLatin1(c.text)) << c.seconds;
}

} // namespace
