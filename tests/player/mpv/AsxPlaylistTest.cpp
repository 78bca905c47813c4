#include "player/mpv/AsxPlaylist.h"

#include <gtest/gtest.h>

namespace {

struct ParseCase
{
    const char *label;
    const char *xml;
    QList<QStringList> expected;
};

class AsxParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(AsxParse, ReadsEntriesInOrder)
{
    EXPECT_EQ(AsxPlaylist::parse(GetParam().xml), GetParam().expected) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Playlists, AsxParse,
    ::testing::Values(
        ParseCase{"well formed",
                  "<asx version=\"3.0\"><entry><ref href=\"a.wav\"/></entry>"
                  "<entry><ref href=\"b.mp3\"/></entry></asx>",
                  {{"a.wav"}, {"b.mp3"}}},
        ParseCase{"names in any case, mismatched closing tags",
                  "<ASX><Entry><REF HREF=\"a.wav\"/></ENTRY><entry><Ref Href=\"b.mp3\"></ref></Entry></asx>",
                  {{"a.wav"}, {"b.mp3"}}},
        ParseCase{"bare ampersands in text and addresses",
                  "<asx><title>Rock & Roll</title><entry><ref href=\"http://h/x?a=1&b=2\"/></entry></asx>",
                  {{"http://h/x?a=1&b=2"}}},
        ParseCase{"alternatives stay together, entryref is an entry",
                  "<?xml version=\"1.0\"?><asx><entry><ref href=\"1.wav\"/><ref href=\"2.wav\"/></entry>"
                  "<entryref href=\"more.asx\"/></asx>",
                  {{"1.wav", "2.wav"}, {"more.asx"}}},
        ParseCase{"refs outside entries and empty entries are ignored",
                  "<asx><ref href=\"stray.wav\"/><entry></entry><entry><ref href=\" x.wav \"/></entry></asx>",
                  {{"x.wav"}}},
        ParseCase{"truncated file keeps what came before the cut",
                  "<asx><entry><ref href=\"a.wav\"/></entry><entry><ref hr",
                  {{"a.wav"}}},
        ParseCase{"not XML at all", "\x01\x02garbage", {}}),
    [](const auto &info) { return std::to_string(info.index); });

struct ResolveCase
{
    const char *href;
    const char *expected;
};

class AsxResolve : public ::testing::TestWithParam<ResolveCase> {};

TEST_P(AsxResolve, AcceptsLocalFilesAndNetworkAddressesOnly)
{
    EXPECT_EQ(AsxPlaylist::resolve(QString::fromUtf8(GetParam().href), "/music/lists"),
              QByteArray(GetParam().expected))
        << GetParam().href;
}

INSTANTIATE_TEST_SUITE_P(
    References, AsxResolve,
    ::testing::Values(ResolveCase{"song.wav", "/music/lists/song.wav"},
                      ResolveCase{"sub\\song.wav", "/music/lists/sub/song.wav"},
                      ResolveCase{"../other/song.wav", "/music/lists/../other/song.wav"},
                      ResolveCase{"/abs/song.wav", "/abs/song.wav"},
                      ResolveCase{"file:///abs/my%20song.wav", "/abs/my song.wav"},
                      ResolveCase{"http://example.org/a.mp3", "http://example.org/a.mp3"},
                      ResolveCase{"MMS://example.org/a.wma", "MMS://example.org/a.wma"},
                      ResolveCase{"C:\\Music\\a.wav", ""},
                      ResolveCase{"\\\\server\\share\\a.wav", ""},
                      // libmpv's own protocols could read descriptors or run filters.
                      ResolveCase{"fd://0", ""},
                      ResolveCase{"av://lavfi:sine", ""},
                      ResolveCase{"ondamidi:///etc/passwd", ""},
                      ResolveCase{"file://localhost/abs/a.wav", "/abs/a.wav"},
                      ResolveCase{"file://server/abs/a.wav", ""},
                      ResolveCase{"", ""}),
    [](const auto &info) { return std::to_string(info.index); });

} // namespace
