#include "platform/Trash.h"

#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <cctype>
#include <climits>
#include <unistd.h>

namespace {

// A fresh account: a home folder without ~/.local/share, no XDG_DATA_HOME,
// and the program's working directory elsewhere.
class FreshAccountTrash : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(::getcwd(m_cwd, sizeof m_cwd), nullptr);
        ASSERT_EQ(::chdir(workingDirectory.path().constData()), 0);
    }
    void TearDown() override
    {
        [[maybe_unused]] const int back = ::chdir(m_cwd);
    }

    TempFolder home;
    TempFolder workingDirectory;
    ScopedEnvironment homeSetting {"HOME", home.path()};
    ScopedEnvironment noDataHome {"XDG_DATA_HOME", QByteArray()};

private:
    char m_cwd[PATH_MAX] {};
};

TEST_F(FreshAccountTrash, TheDataFolderIsMadeAndNothingLandsInTheWorkingDirectory)
{
    const QByteArray file = home / "song.wav";
    TempFolder::write(file, "bytes");
    const QByteArray inTrash = trash::send(file);
    EXPECT_EQ(inTrash, home / ".local/share/Trash/files/song.wav");
    EXPECT_EQ(TempFolder::read(inTrash), QByteArray("bytes"));
    EXPECT_FALSE(QFile::exists(QFile::decodeName(file)));
    EXPECT_TRUE(TempFolder::list(workingDirectory.path()).empty());
    struct stat status {};
    ASSERT_EQ(::stat((home / ".local").constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
}

// The trash's record of a file, read back as a trash tool reads it: the Path
// value percent-decoded names the original bytes, and it holds nothing a URI
// may not (a "%" of the name itself arrives as "%25").
TEST_F(FreshAccountTrash, TheRecordNamesTheOriginalExactly)
{
    const QByteArray names[] = {
        "mix%20final.mp3",
        "100%.wav",
        "a b#c?.mp3",
        "日本語 %41.mid",
    };
    for (const QByteArray &name : names) {
        SCOPED_TRACE(name.constData());
        const QByteArray file = home / name;
        TempFolder::write(file, "bytes");
        const QByteArray inTrash = trash::send(file);
        ASSERT_FALSE(inTrash.isEmpty());
        const QByteArray record = TempFolder::read(trash::infoFileOf(inTrash));
        ASSERT_TRUE(record.startsWith("[Trash Info]\n")) << record.constData();
        QByteArray recorded;
        for (const QByteArray &line : record.split('\n')) {
            if (line.startsWith("Path="))
                recorded = line.mid(5);
        }
        EXPECT_EQ(QByteArray::fromPercentEncoding(recorded), file);
        for (const char c : recorded)
            EXPECT_TRUE(QByteArray("/%-._~").contains(c) || std::isalnum(static_cast<unsigned char>(c))) << c;
        EXPECT_TRUE(record.contains("\nDeletionDate=")) << record.constData();
    }
    // Nothing is left over beside the records.
    for (const QByteArray &entry : TempFolder::list(home / ".local/share/Trash/info"))
        EXPECT_TRUE(entry.endsWith(".trashinfo")) << entry.constData();
}

} // namespace
