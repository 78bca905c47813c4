#include "settings/SettingsLocation.h"

#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

bool isDirectory(const QByteArray &path)
{
    struct stat entry;
    return ::stat(path.constData(), &entry) == 0 && S_ISDIR(entry.st_mode);
}

TEST(SettingsLocationTest, BesideTheExecutableWhenThatWorksElseInTheConfigFolder)
{
    TempFolder root;
    const QByteArray home = root / "home";
    const QByteArray portable = root / "portable";
    const QByteArray kept = root / "kept";
    ::mkdir(home.constData(), 0700);
    ::mkdir(portable.constData(), 0755);
    ::mkdir(kept.constData(), 0755);
    TempFolder::write(kept + "/Ondasort.ini", "[SET]\n");
    ::chmod((kept + "/Ondasort.ini").constData(), 0444);
    ::chmod(kept.constData(), 0555);
    const ScopedEnvironment homeEnv("HOME", home);

    struct Case {
        const char *what;
        QByteArray executableDirectory;
        QByteArray configHome; // XDG_CONFIG_HOME, empty for unset
        QByteArray expected;
    };
    const Case cases[] = {
        {"a writable folder", portable, root / "xdg", portable + "/Ondasort.ini"},
        {"with a trailing slash", portable + "/", "", portable + "/Ondasort.ini"},
        {"a read-only folder holding a settings file", kept, root / "xdg", kept + "/Ondasort.ini"},
        {"installed system-wide", "/usr/bin", root / "xdg", root / "xdg/Ondasort/Ondasort.ini"},
        {"without XDG_CONFIG_HOME", "/usr/bin", "", home + "/.config/Ondasort/Ondasort.ini"},
        {"with a relative XDG_CONFIG_HOME", "/usr/bin", "relative/config", home + "/.config/Ondasort/Ondasort.ini"},
        {"a folder that is gone", root / "gone", root / "xdg", root / "xdg/Ondasort/Ondasort.ini"},
    };
    for (const Case &c : cases) {
        const ScopedEnvironment config("XDG_CONFIG_HOME", c.configHome);
        EXPECT_EQ(settingslocation::settingsFile(c.executableDirectory), c.expected) << c.what;
    }
    ::chmod(kept.constData(), 0755);
}

TEST(SettingsLocationTest, MakesTheMissingConfigFolders)
{
    TempFolder root;
    const QByteArray file = root / "config/Ondasort/Ondasort.ini";
    EXPECT_TRUE(settingslocation::makeFolderFor(file));
    EXPECT_TRUE(isDirectory(root / "config/Ondasort"));
    struct stat entry;
    ASSERT_EQ(::stat((root / "config/Ondasort").constData(), &entry), 0);
    EXPECT_EQ(entry.st_mode & 0777, 0700u);
    // An existing folder is fine; a file in the way is not.
    EXPECT_TRUE(settingslocation::makeFolderFor(file));
    TempFolder::write(root / "blocked", "x");
    EXPECT_FALSE(settingslocation::makeFolderFor(root / "blocked/Ondasort/Ondasort.ini"));
}

} // namespace
