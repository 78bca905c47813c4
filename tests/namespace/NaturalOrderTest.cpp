#include "platform/PathResolve.h"
#include "namespace/linux/NaturalOrder.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

using shellns::naturalCompare;

TEST(NaturalOrder, OrdersPairs)
{
    struct Case
    {
        const char *left;
        const char *right;
        int sign;
    };
    const Case cases[] = {
        {"file2", "file10", -1},
        {"file10", "file2", 1},
        {"File1", "file2", -1},     // case is ignored before the numbers decide
        {"b", "A", 1},
        {"a", "B", -1},
        {"x007", "x7", -1},         // equal values: the bytes decide, never 0
        {"Music", "music", -1},     // differ only in case: still two items
        {"abc", "abcd", -1},
        {"9", "10", -1},
        {"99999999999999999999", "100000000000000000000", -1}, // beyond any integer type
        {"éa", "Éb", -1},           // non-ASCII letters fold too
        {"same", "same", 0},
    };
    for (const Case &c : cases) {
        const int result = naturalCompare(c.left, c.right);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.left << " vs " << c.right;
    }
}

TEST(NaturalOrder, InvalidUtf8StaysDistinctAndOrdered)
{
    const QByteArray a("\x83\x65", 2);
    const QByteArray b("\x83\x66", 2);
    EXPECT_LT(naturalCompare(a, b), 0);
    EXPECT_GT(naturalCompare(b, a), 0);
    EXPECT_GT(naturalCompare(a, "zzz"), 0); // undecodable bytes after text
}

TEST(PathResolve, MakesAbsoluteAndResolvesDots)
{
    struct Case
    {
        const char *path;
        const char *expected;
    };
    const Case cases[] = {
        {"/a/b/../c", "/a/c"},
        {"/a/./b//", "/a/b"},
        {"/..", "/"},
        {"rel/x", "/base/rel/x"},
        {"../up", "/up"},
        {"/", "/"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(paths::absoluteClean(c.path, "/base"), QByteArray(c.expected)) << c.path;
}

TEST(ReadableName, ShowsUtf8AndShiftJisNames)
{
    EXPECT_EQ(paths::toDisplay("plain"), QStringLiteral("plain"));
    EXPECT_EQ(paths::toDisplay(QStringLiteral("日本").toUtf8()), QStringLiteral("日本"));
    // テスト in Shift_JIS
    EXPECT_EQ(paths::toDisplay("\x83\x65\x83\x58\x83\x67"), QStringLiteral("テスト"));
    // Neither: still some text, never empty.
    EXPECT_FALSE(paths::toDisplay(QByteArray("\xff\xfe", 2)).isEmpty());
}

TEST(NaturalOrder, SortKeysOrderAsTheComparisonDoes)
{
    // Every pair of these names must order the same by key bytes as by naturalCompare.
    const QByteArray names[] = {
        "", "a", "A", "a1", "a01", "a001", "a1b", "a01b", "a2", "a10", "a10b", "a-", "a/", "a:", "a 1", "a.1",
        "1", "01", "0", "00", "9", "10", "1a", "x7y", "x007y", "x7", "file2", "file10", "File1", "Music", "music",
        "éa", "Éb", "ß", "ss", "日本", "日本2", "日本10", QByteArray("\x83\x65", 2), QByteArray("\x83\x66", 2),
        QByteArray("\xff", 1), "zzz", "99999999999999999999", "100000000000000000000",
        "n" + QByteArray(300, '5'), "n" + QByteArray(299, '5'), "n" + QByteArray(300, '4'),
    };
    for (const QByteArray &a : names) {
        for (const QByteArray &b : names) {
            const int expected = naturalCompare(a, b);
            const int byKey = shellns::naturalSortKey(a).compare(shellns::naturalSortKey(b));
            EXPECT_EQ((byKey > 0) - (byKey < 0), (expected > 0) - (expected < 0))
                << a.left(20).toHex().constData() << " vs " << b.left(20).toHex().constData();
        }
    }
    EXPECT_TRUE(shellns::naturalSortKey("b", "\x20").startsWith('\x20'));
}
