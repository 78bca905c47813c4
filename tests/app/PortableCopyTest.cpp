// A portable copy of the program in a folder whose name is Shift_JIS, as on a
// stick written by a Japanese PC: the guide, the information page, the
// settings file and the player module are all found from the program's own
// folder, whose name is not UTF-8.
#include "support/TempFolder.h"
#include "support/ScopedEnvironment.h"

#include <QFileInfo>
#include <QMap>
#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Runs the program at `path` (bytes) and returns its "what<TAB>bytes" lines.
QMap<QByteArray, QByteArray> runProbe(const QByteArray &path)
{
    QMap<QByteArray, QByteArray> lines;
    // Single quotes keep every byte of the path as it is.
    FILE *pipe = ::popen(("'" + path + "'").constData(), "r");
    if (!pipe)
        return lines;
    char line[8192];
    while (std::fgets(line, sizeof line, pipe)) {
        const QByteArray text = QByteArray(line).chopped(1);
        const qsizetype tab = text.indexOf('\t');
        if (tab > 0)
            lines.insert(text.left(tab), text.mid(tab + 1));
    }
    ::pclose(pipe);
    return lines;
}

TEST(PortableCopyTest, ProgramInAShiftJisFolderFindsEverythingBesideItself)
{
    TempFolder home;
    // "ソート" in Shift_JIS; its first character's second byte is "\".
    const QByteArray folder = home.path() + "/\x83\x5c\x81\x5b\x83\x67";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    const QByteArray program = folder + "/Ondasort";
    const QByteArray probe = ONDASORT_PORTABLE_PROBE;
    // A hard link where the file system allows it; otherwise a copy.
    if (::link(probe.constData(), program.constData()) != 0) {
        ASSERT_TRUE(QFile::copy(QFile::decodeName(probe), QString::fromUtf8(home.path() + "/copy")));
        ASSERT_EQ(::rename((home.path() + "/copy").constData(), program.constData()), 0);
    }
    ScopedEnvironment homeVariable("HOME", home.path());
    ScopedEnvironment config("XDG_CONFIG_HOME", home.path() + "/config");
    ScopedEnvironment platform("QT_QPA_PLATFORM", "offscreen");

    const QMap<QByteArray, QByteArray> seen = runProbe(program);
    EXPECT_EQ(seen.value("error"), QByteArray());
    EXPECT_EQ(seen.value("guide"), folder + "/Readme.txt");
    EXPECT_TRUE(seen.value("info").endsWith("/info.php?pf=w&sn=Ondasort")) << seen.value("info").constData();
    EXPECT_EQ(seen.value("module"), folder + "/ondasort-mpv.so");
    EXPECT_EQ(seen.value("closed"), QByteArray("yes"));
    struct stat entry;
    EXPECT_EQ(::stat((folder + "/Ondasort.ini").constData(), &entry), 0) << "settings not beside the program";
    EXPECT_NE(::stat((home.path() + "/config/Ondasort/Ondasort.ini").constData(), &entry), 0);
}

} // namespace
