#include "platform/Trash.h"

#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
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

} // namespace
