// The text rules of the file list: ordering and select-by-name.
#include "controls/ListText.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ListText, SortKeysOrderWithoutLetterCase)
{
    // Each name sorts before the next one.
    const QByteArray ordered[] = {".hidden", "_x", "a", "B", "b0", "Zed", "\xc3\xa4" "a" /* äa */,
        "\xc3\x84" "b" /* Äb */, "\xe9\x9f\xb3" /* 音 */};
    for (size_t i = 0; i + 1 < std::size(ordered); ++i) {
        EXPECT_LT(listtext::sortKey(ordered[i]), listtext::sortKey(ordered[i + 1]))
            << ordered[i].constData() << " < " << ordered[i + 1].constData();
    }
    EXPECT_EQ(listtext::sortKey("A.MP3"), listtext::sortKey("a.mp3"));
    EXPECT_EQ(listtext::sortKey("\xc3\x84"), listtext::sortKey("\xc3\xa4"));
}

TEST(ListText, FindPrefixSearchesAfterStartAndWraps)
{
    auto keys = [](std::initializer_list<const char *> texts) {
        std::vector<QByteArray> result;
        for (const char *text : texts)
            result.push_back(listtext::sortKey(text));
        return result;
    };
    const struct {
        std::vector<QByteArray> keys;
        const char *prefix;
        int start;
        int expected;
    } cases[] = {
        {keys({"a.mp3", "a.mp3.wav"}), "a.mp3", 0, 1},   // lands on the longer name
        {keys({"a.mp3", "a.mp3.wav"}), "a.mp3", -1, 0},
        {keys({"a.mp3", "b.mp3"}), "a.mp3", 0, 0},       // item 0 only after wrapping
        {keys({"a.mp3", "a.mp3"}), "a.mp3", 0, 1},       // a name listed twice
        {keys({"abc", "ABD", "x"}), "AB", 0, 1},
        {keys({"abc", "abd", "x"}), "ab", 1, 0},
        {keys({"abc", "abd", "x"}), "", 0, 1},
        {keys({"abc"}), "abcd", 0, -1},
        {keys({"abc"}), "ABC", 0, 0},
        {keys({}), "a", 0, -1},
        {keys({"a", "b"}), "b", 7, 1},
    };
    for (const auto &c : cases) {
        const auto keyAt = [&c](int i) -> const QByteArray & { return c.keys[size_t(i)]; };
        EXPECT_EQ(listtext::findPrefix(int(c.keys.size()), keyAt, listtext::sortKey(c.prefix), c.start),
            c.expected) << c.prefix << " from " << c.start;
    }
}

} // namespace
