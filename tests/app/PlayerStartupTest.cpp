// The player control's default backend: libmpv from the module that the
// program loads in the background, with whatever the user does meanwhile
// kept until the backend is there.
#include "app/WindowsMediaPlayer.h"

#include "SortFixture.h"
#include "player/MpvBackendLoader.h"
#include "player/PlayerBackend.h"
#include "support/MediaFixtures.h"
#include "support/Wait.h"

#include <QSignalSpy>
#include <QTest>

namespace {

TEST(PlayerStartup, AnAddressWrittenBeforeTheBackendIsReadyPlaysOnceItIs)
{
    MpvBackendLoader::preload(ONDASORT_MPV_MODULE);
    TWindowsMediaPlayer player(silentMpvOptions());
    QSignalSpy ready(&player, &TWindowsMediaPlayer::backendReady);
    // The backend never arrives before the event loop has run.
    ASSERT_EQ(player.backend(), nullptr);
    player.setURL(mediaFixture("tone.wav"));
    player.resize(245, 240);
    player.show();
    EXPECT_EQ(player.grab().toImage().pixel(100, 100), qRgb(0, 0, 0));

    ASSERT_TRUE(waitUntil([&] { return ready.count() == 1; }));
    PlayerBackend *backend = player.backend();
    ASSERT_NE(backend, nullptr);
    EXPECT_TRUE(waitUntil([&] { return backend->isLoaded() && backend->position() > 0.05; }));
    EXPECT_EQ(player.URL(), mediaFixture("tone.wav"));
}

class PlayerStartupForm : public SortFixture {};

TEST_F(PlayerStartupForm, AKeyPressedBeforeThePlayerIsReadyStillSorts)
{
    MpvBackendLoader::preload(ONDASORT_MPV_MODULE);
    QDir().mkpath(QFile::decodeName(source()));
    QDir().mkpath(QFile::decodeName(dest(1)));
    for (const char *name : {"a.wav", "b.wav"})
        QFile::copy(QFile::decodeName(mediaFixture("tone.wav")), QFile::decodeName(source() + "/" + name));
    TMainForm1::Surroundings surroundings;
    surroundings.executableDirectory = exeDir();
    form = std::make_unique<TMainForm1>(surroundings);
    TMainForm1 &w = *form;
    w.BrowseEdit[0]->setPath(dest(1));
    w.FolderTreeView0->setFolderName(source());
    w.show();
    ASSERT_EQ(w.WindowsMediaPlayer1->backend(), nullptr);

    QTest::keyPress(w.FileListBox1, Qt::Key_1, Qt::KeypadModifier);
    // On a busy machine the move may finish in the background.
    EXPECT_TRUE(waitUntil([&] { return exists(dest(1) + "/a.wav"); }));
    EXPECT_EQ(currentName(), QByteArray("b.wav"));

    ASSERT_TRUE(waitUntil([&] { return w.WindowsMediaPlayer1->backend() != nullptr; }));
    PlayerBackend *backend = w.WindowsMediaPlayer1->backend();
    EXPECT_TRUE(waitUntil([&] { return backend->isLoaded() && backend->position() > 0.05; }));
    EXPECT_EQ(w.WindowsMediaPlayer1->URL(), source() + "/b.wav");
}

} // namespace
