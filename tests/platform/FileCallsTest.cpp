// File-system calls off the calling thread: answered at once on a healthy
// disk, later when the call hangs in the kernel, dropped when stale or
// when the asker is gone, and never in the way of the program's end. A
// call hangs here on a real kernel wait: opening a FIFO that nobody writes,
// or a call on a FUSE file system that holds it.
#include "platform/FileCalls.h"
#include "platform/FileSystem.h"
#include "platform/FolderProbe.h"
#include "platform/MountTable.h"
#include "platform/StalledMounts.h"

#include "support/HeldFileSystem.h"
#include "support/TempFolder.h"
#include "support/Wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A FIFO: opening it for reading waits in the kernel until someone opens it for writing.
class Fifo
{
public:
    Fifo() { ::mkfifo(path.constData(), 0600); }
    ~Fifo() { unblock(); }

    // Lets every open waiting for a writer go.
    void unblock()
    {
        if (m_writer < 0)
            m_writer = ::open(path.constData(), O_WRONLY | O_NONBLOCK);
    }
    // Opens it for reading: hangs until unblock().
    static bool openForReading(const QByteArray &path)
    {
        const int fd = ::open(path.constData(), O_RDONLY);
        if (fd >= 0)
            ::close(fd);
        return fd >= 0;
    }

    TempFolder folder;
    QByteArray path = folder / "fifo";

private:
    int m_writer = -1;
};

struct FileCallsTest : ::testing::Test
{
    QObject owner;
    FileCalls *calls = new FileCalls(&owner);
    std::vector<bool> answers;
    int slow = 0;

    FileCallsTest()
    {
        QObject::connect(calls, &FileCalls::slow, [this] { ++slow; });
    }

    void startOpening(const QByteArray &fifo)
    {
        calls->start<bool>({fifo}, [fifo] { return Fifo::openForReading(fifo); },
            [this](bool answer) { answers.push_back(answer); });
    }
};

TEST_F(FileCallsTest, AHealthyCallIsAnsweredBeforeStartReturnsEvenWhenItWorksLong)
{
    TempFolder folder;
    calls->start<bool>({folder.path()}, [&] { return FileSystem::posix().isDirectory(folder.path()); },
        [this](bool answer) { answers.push_back(answer); });
    EXPECT_EQ(answers, std::vector<bool>({true}));
    EXPECT_FALSE(calls->isWaiting());

    // A worker that computes for a while is working, not hanging: it is waited for.
    calls->start<bool>({folder.path()},
        [] {
            QElapsedTimer busy;
            busy.start();
            volatile unsigned spin = 0;
            while (busy.elapsed() < 150)
                spin = spin + 1;
            return false;
        },
        [this](bool answer) { answers.push_back(answer); });
    EXPECT_EQ(answers, std::vector<bool>({true, false}));
    EXPECT_FALSE(calls->isWaiting());
}

TEST_F(FileCallsTest, ACallHangingInTheKernelIsAnsweredLaterAndShowsAsSlowMeanwhile)
{
    Fifo fifo;
    startOpening(fifo.path);
    EXPECT_TRUE(answers.empty());
    EXPECT_TRUE(calls->isWaiting());
    ASSERT_TRUE(waitUntil([&] { return slow == 1; }));
    EXPECT_TRUE(calls->isSlow());

    fifo.unblock();
    ASSERT_TRUE(waitUntil([&] { return !answers.empty(); }));
    EXPECT_EQ(answers, std::vector<bool>({true}));
    EXPECT_FALSE(calls->isWaiting());
    EXPECT_FALSE(calls->isSlow());
    EXPECT_EQ(slow, 1);
}

TEST_F(FileCallsTest, OnlyTheLatestCallIsAnsweredAndNoneOnceTheOwnerIsGone)
{
    Fifo first;
    startOpening(first.path);
    ASSERT_TRUE(calls->isWaiting());
    // A later call, answered at once, makes the hanging one stale.
    TempFolder folder;
    calls->start<bool>({folder.path()}, [] { return false; }, [this](bool answer) { answers.push_back(answer); });
    EXPECT_EQ(answers, std::vector<bool>({false}));
    first.unblock();
    QCoreApplication::processEvents();
    ASSERT_FALSE(waitUntil([&] { return answers.size() > 1; }, 300));
    EXPECT_EQ(slow, 0);

    // cancel() drops the one under way as well.
    Fifo second;
    startOpening(second.path);
    calls->cancel();
    EXPECT_FALSE(calls->isWaiting());
    second.unblock();
    ASSERT_FALSE(waitUntil([&] { return answers.size() > 1; }, 300));

    // An owner gone before the answer never hears of it.
    Fifo third;
    auto other = std::make_unique<QObject>();
    auto *otherCalls = new FileCalls(other.get());
    bool heard = false;
    otherCalls->start<bool>({third.path}, [path = third.path] { return Fifo::openForReading(path); },
        [&heard](bool) { heard = true; });
    other.reset();
    third.unblock();
    ASSERT_FALSE(waitUntil([&] { return heard; }, 300));
}

TEST_F(FileCallsTest, HangingCallsKeepTheirThreadsAndOthersStillAnswerAtOnce)
{
    std::vector<std::unique_ptr<Fifo>> fifos;
    std::vector<std::unique_ptr<QObject>> owners;
    for (int i = 0; i < 4; ++i) {
        fifos.push_back(std::make_unique<Fifo>());
        owners.push_back(std::make_unique<QObject>());
        auto *each = new FileCalls(owners.back().get());
        each->start<bool>({fifos.back()->path}, [path = fifos.back()->path] { return Fifo::openForReading(path); },
            [](bool) {});
        ASSERT_TRUE(each->isWaiting());
    }
    // Each hanging call keeps a thread of its own; the next call gets another.
    EXPECT_GE(workerthreads::threadCount(), 4);
    EXPECT_EQ(workerthreads::pendingCount(), 4);
    TempFolder folder;
    calls->start<bool>({folder.path()}, [&] { return FileSystem::posix().isDirectory(folder.path()); },
        [this](bool answer) { answers.push_back(answer); });
    EXPECT_EQ(answers, std::vector<bool>({true}));
    EXPECT_GE(workerthreads::threadCount(), 5);
    // The answered call's thread goes idle a moment after its answer.
    EXPECT_TRUE(waitUntil([] { return workerthreads::pendingCount() == 4; }));
    // Answered, the calls leave their threads idle: nothing is pending.
    for (const auto &fifo : fifos)
        fifo->unblock();
    EXPECT_TRUE(waitUntil([] { return workerthreads::pendingCount() == 0; }));
}

TEST(MountTable, ReadsMountPointsWithEscapedNamesAndFindsTheLongestHolder)
{
    const QByteArray text =
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "40 22 0:40 / /media/My\\040Disk rw - vfat /dev/sdb1 rw\n"
        "41 22 0:41 / /mnt/share rw shared:7 master:2 - nfs4 server:/export rw\n"
        "garbage line\n";
    const std::vector<mounttable::Mount> mounts = mounttable::parse(text);
    ASSERT_EQ(mounts.size(), 3u);
    EXPECT_EQ(mounts[1].mountPoint, QByteArray("/media/My Disk"));
    EXPECT_EQ(mounts[1].type, QByteArray("vfat"));
    EXPECT_EQ(mounts[2].source, QByteArray("server:/export"));
    EXPECT_EQ(mounttable::mountPointOf(mounts, "/media/My Disk/music/a.mp3"), QByteArray("/media/My Disk"));
    EXPECT_EQ(mounttable::mountPointOf(mounts, "/media/My Diskette"), QByteArray("/"));
    EXPECT_EQ(mounttable::mountPointOf(mounts, "/mnt/share"), QByteArray("/mnt/share"));
}

// Only calls on a mount that may hang are given up after a short block; a
// later mount on the same point is the one that counts.
TEST(MountTable, NetworkAndFuseMountsMayHangLocalDisksDoNot)
{
    const QByteArray text =
        "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
        "30 22 0:30 / /tmp rw - tmpfs tmpfs rw\n"
        "40 22 0:40 / /mnt/share rw - cifs //nas/music rw\n"
        "41 22 0:41 / /mnt/ssh rw - fuse.sshfs me@host: rw\n"
        "42 22 8:17 / /media/usb rw - vfat /dev/sdb1 rw\n"
        "43 42 0:43 / /media/usb rw - nfs4 server:/export rw\n";
    const std::vector<mounttable::Mount> mounts = mounttable::parse(text);
    const struct
    {
        const char *path;
        bool mayHang;
    } cases[] = {
        {"/home/me/a.mp3", false},
        {"/tmp/x", false},
        {"/mnt/share/a.mp3", true},
        {"/mnt/ssh", true},
        {"/media/usb/a.mp3", true}, // the network mount over the stick hides it
    };
    for (const auto &c : cases) {
        const mounttable::Mount *mount = mounttable::mountOf(mounts, c.path);
        ASSERT_NE(mount, nullptr) << c.path;
        EXPECT_EQ(mounttable::mayHang(*mount), c.mayHang) << c.path;
    }
    // A call on no path at all (the list of volumes) may touch any mount.
    EXPECT_FALSE(stalledmounts::mountsOf({}).local);
}

// A mount that holds a call is known as stalled until the call returns, and
// a look at its mount point answers NoAnswer meanwhile.
TEST(HeldMount, ACallItHoldsMarksTheMountUntilItAnswers)
{
    HeldFileSystem fuse;
    if (!fuse.isMounted())
        GTEST_SKIP() << fuse.whyNot().toStdString();
    ::mkdir((fuse.backing() + "/folder").constData(), 0755);
    const QByteArray folder = fuse.mountPoint() + "/folder";
    const stalledmounts::Mounts found = stalledmounts::mountsOf({folder});
    ASSERT_EQ(found.points, QByteArrayList({fuse.mountPoint()}));
    EXPECT_FALSE(found.local);
    const QByteArrayList &mounts = found.points;

    fuse.hold("/", HeldFileSystem::Lookups);
    QObject owner;
    auto *calls = new FileCalls(&owner);
    std::optional<bool> answer;
    calls->start<bool>({folder}, [folder] { return FileSystem::posix().isDirectory(folder); },
        [&answer](bool exists) { answer = exists; });
    ASSERT_TRUE(fuse.waitForHeldCall());
    EXPECT_FALSE(answer.has_value());
    EXPECT_TRUE(stalledmounts::anyStalled(mounts));
    EXPECT_EQ(folderprobe::look(fuse.mountPoint(), 50), folderprobe::Answer::NoAnswer);

    fuse.release();
    ASSERT_TRUE(waitUntil([&] { return answer.has_value(); }));
    EXPECT_TRUE(*answer);
    EXPECT_FALSE(stalledmounts::anyStalled(mounts));
    EXPECT_EQ(folderprobe::look(fuse.mountPoint(), -1), folderprobe::Answer::Folder);
    EXPECT_EQ(folderprobe::look(folder + "/none", -1), folderprobe::Answer::NotFolder);
}

// Run as a program of its own by the test below: it leaves a call hanging
// in the kernel and ends.
TEST(QuitWhileHung, Child)
{
    const QByteArray fifo = qgetenv("ONDASORT_HUNG_FIFO");
    if (fifo.isEmpty())
        GTEST_SKIP() << "only run by QuitWhileHung.TheProgramEndsAtOnce";
    QObject owner;
    auto *calls = new FileCalls(&owner);
    calls->start<bool>({fifo}, [fifo] { return Fifo::openForReading(fifo); }, [](bool) {});
    ASSERT_TRUE(calls->isWaiting());
}

TEST(QuitWhileHung, TheProgramEndsAtOnce)
{
    Fifo fifo;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ONDASORT_HUNG_FIFO"), QString::fromUtf8(fifo.path));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=QuitWhileHung.Child")});
    ASSERT_TRUE(child.waitForStarted());
    // Generous: the point is that it ends at all while its worker still hangs.
    const bool ended = child.waitForFinished(20000);
    if (!ended)
        child.kill();
    ASSERT_TRUE(ended) << "the program did not end while a call of it hung";
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
    EXPECT_TRUE(child.readAllStandardOutput().contains("[  PASSED  ] 1 test"));
}

} // namespace
