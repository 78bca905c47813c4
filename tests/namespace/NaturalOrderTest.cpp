#include "platform/PathResolve.h"
#include "namespace/linux/NaturalOrder.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using shellns::naturalCompare;

namespace {

int sign(int value)
{
    return (value > 0) - (value < 0);
}

// Byte strings made of pieces that are hard on the order: digit runs,
// letters in both cases, valid UTF-8, overlong forms of ASCII digits,
// surrogates, values past U+10FFFF, stray and truncated sequences. A fixed
// seed, so a failure repeats.
std::vector<QByteArray> awkwardNames(int count, bool withNul)
{
    static const QByteArray pieces[] = {
        "0", "1", "5", "9", "10", "007", "a", "A", "k", "z", "Z", ".", " ", "~",
        "\xC3\xA9", "\xC3\x89", "\xC3\x9F", "\xE2\x84\xAA", "\xEF\xBC\x91", "\xE6\x97\xA5",
        "\xC0\xB5", "\xC0\xB0", "\xC1\xB9", "\xE0\x80\xB5", "\xF0\x80\x80\xB5",
        "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC0", "\xB5", "\x80", "\xE0\x80", "\xFF", "\xF8",
    };
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> length(0, 5);
    std::uniform_int_distribution<int> piece(0, int(std::size(pieces)) - (withNul ? 0 : 1));
    std::vector<QByteArray> names;
    while (int(names.size()) < count) {
        QByteArray name;
        for (int n = length(random); n > 0; --n) {
            const int which = piece(random);
            name += which == int(std::size(pieces)) ? QByteArray(1, '\0') : pieces[which];
        }
        names.push_back(name);
    }
    return names;
}

} // namespace

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

TEST(NaturalOrder, IsAStrictTotalOrderOverAnyBytes)
{
    // Read as the character '5', an overlong form ordered after "10" and
    // before "9", which orders after "10": a cycle.
    const QByteArray overlong("\xC0\xB5", 2);
    const int a = sign(naturalCompare(overlong, "10"));
    const int b = sign(naturalCompare("10", "9"));
    const int c = sign(naturalCompare("9", overlong));
    EXPECT_FALSE(a == b && b == c) << "cycle through an overlong form";

    const std::vector<QByteArray> names = awkwardNames(160, true);
    std::vector<std::vector<int>> order(names.size(), std::vector<int>(names.size()));
    for (size_t i = 0; i < names.size(); ++i) {
        for (size_t j = 0; j < names.size(); ++j)
            order[i][j] = sign(naturalCompare(names[i], names[j]));
    }
    int broken = 0;
    for (size_t i = 0; i < names.size() && broken < 5; ++i) {
        for (size_t j = 0; j < names.size(); ++j) {
            // Irreflexive and antisymmetric; only equal bytes tie.
            if (order[i][j] != -order[j][i] || (order[i][j] == 0) != (names[i] == names[j])) {
                ADD_FAILURE() << names[i].toHex().constData() << " vs " << names[j].toHex().constData();
                ++broken;
            }
            if (order[i][j] >= 0)
                continue;
            // Transitive.
            for (size_t k = 0; k < names.size(); ++k) {
                if (order[j][k] < 0 && order[i][k] >= 0) {
                    ADD_FAILURE() << names[i].toHex().constData() << " < " << names[j].toHex().constData()
                                  << " < " << names[k].toHex().constData() << " but not first < last";
                    ++broken;
                }
            }
        }
    }
}

TEST(NaturalOrder, SortKeysOfAnyNameOrderAsTheComparisonDoes)
{
    // File names hold no zero byte: beyond that, any bytes.
    const std::vector<QByteArray> names = awkwardNames(160, false);
    int broken = 0;
    for (const QByteArray &a : names) {
        for (const QByteArray &b : names) {
            const int byKey = shellns::naturalSortKey(a).compare(shellns::naturalSortKey(b));
            if (sign(byKey) != sign(naturalCompare(a, b)) && ++broken < 5)
                ADD_FAILURE() << a.toHex().constData() << " vs " << b.toHex().constData();
        }
    }
    EXPECT_EQ(broken, 0);
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
        // Already clean, and nearly so: dots inside names are names.
        {"/a/b.c/..d/.e", "/a/b.c/..d/.e"},
        {"/a/b/", "/a/b"},
        {"/a/.", "/a"},
        {"/a/..", "/"},
        {"//a", "/a"},
        {"/a/../../b", "/b"},
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
