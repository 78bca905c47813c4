#include "platform/LeftoverName.h"

#include <gtest/gtest.h>

namespace {

using leftovers::Leftover;

TEST(LeftoverName, NamesReadBackAsWrittenAndFitInAFileName)
{
    struct stat source {};
    source.st_ino = 0x1234;
    const QByteArray paths[] = {"/music/a b%c.mp3", "/" + QByteArray(300, 'x') + "/song.mp3"};
    for (const time_t seconds : {time_t(0), time_t(10413792000), time_t(-315619200)}) {
        source.st_mtim = {seconds, 999999999};
        for (const QByteArray &path : paths) {
            const QByteArray name = leftovers::copyName(source, path, 0xdeadbeef);
            EXPECT_LE(name.size(), 255);
            EXPECT_TRUE(name.endsWith(".tmp"));
            const std::optional<Leftover> copy = leftovers::parse(name);
            ASSERT_TRUE(copy.has_value()) << name.constData();
            EXPECT_EQ(copy->kind, Leftover::Kind::Copy);
            EXPECT_TRUE(leftovers::sameSource(*copy, source));
            EXPECT_EQ(copy->salt, 0xdeadbeefu);
            if (path.size() < 200) {
                EXPECT_EQ(copy->path, path);
            } else {
                EXPECT_EQ(copy->digest, leftovers::digestOf(path));
            }
            struct stat later = source;
            later.st_mtim.tv_nsec -= 1;
            EXPECT_FALSE(leftovers::sameSource(*copy, later));
        }
    }
    for (const QByteArray &name : {QByteArray("Ondasort.ini"), QByteArray(250, 'n')}) {
        const QByteArray rewrite = leftovers::rewriteName(name, 7);
        EXPECT_LE(rewrite.size(), 255);
        const std::optional<Leftover> parsed = leftovers::parse(rewrite);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(parsed->kind, Leftover::Kind::Rewrite);
        EXPECT_EQ(parsed->path.isEmpty() ? parsed->digest : parsed->path,
            name.size() < 200 ? name : leftovers::digestOf(name));
    }
}

TEST(LeftoverName, OnlyNamesWrittenExactlySoAreOurs)
{
    const QByteArray digest(40, 'a');
    const char *const others[] = {
        ".ondasort-1a2b.song.mp3.tmp",       // older builds: tells nothing
        ".ondasort-1--5-3~%2Fa.tmp",          // a negative time as older builds wrote it
        ".ondasort-01-2-3~%2Fa.tmp",          // leading zero
        ".ondasort-1-2-3~relative.tmp",
        ".ondasort-1-2-3~%2Fa%41.tmp",        // an escape never written
        ".ondasort-1-2-3~%2Fa%2.tmp",
        ".ondasort-1-2-3#abc.tmp",            // a digest too short
        ".ondasort-1-2-123456789~%2Fa.tmp",   // a salt past 32 bits
        ".ondasort-1-2-3~%2Fa.TMP",
        ".ondasort-A-2-3~%2Fa.tmp",
        ".ondasort-3+.tmp",
        ".ondasort-3+...tmp",
        ".ondasort-.tmp",
        ".ondasort-3.tmp",
        "ondasort-1-2-3~%2Fa.tmp",
    };
    for (const char *name : others)
        EXPECT_FALSE(leftovers::parse(name).has_value()) << name;
    const QByteArray ours[] = {
        ".ondasort-1-2-3~%2Fa.tmp", ".ondasort-0-0-0~%2F%25.tmp", ".ondasort-ffffffffffffffff-1-3#" + digest + ".tmp",
        ".ondasort-3+Ondasort.ini.tmp", ".ondasort-3=" + digest + ".tmp", ".ondasort-3+a-1-2~x.tmp",
    };
    for (const QByteArray &name : ours) {
        const std::optional<Leftover> parsed = leftovers::parse(name);
        ASSERT_TRUE(parsed.has_value()) << name.constData();
        EXPECT_EQ(leftovers::nameOf(*parsed), name);
    }
}

} // namespace
