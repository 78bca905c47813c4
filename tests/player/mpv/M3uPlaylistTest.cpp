#include "player/mpv/M3uPlaylist.h"

#include "player/mpv/PlaylistReference.h"

#include <gtest/gtest.h>

namespace {

TEST(M3uPlaylist, KeepsReferencesAndDropsCommentsAndBlankLines)
{
    const QByteArray content("\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:3,Title\r\nfirst.mp3\r\n\r\n  sub\\second.wav  \n"
                             "# a comment\nhttp://example.org/x.mp3\nlast.mid");
    EXPECT_EQ(M3uPlaylist::parse(content),
              (QByteArrayList{"first.mp3", "sub\\second.wav", "http://example.org/x.mp3", "last.mid"}));
    EXPECT_TRUE(M3uPlaylist::parse("#EXTM3U\n\n").isEmpty());
}

TEST(M3uPlaylist, ReferencesStayBytes)
{
    // A list written in another code page names files in that code page.
    const QByteArray shiftJis("\x83\x65\x83\x58\x83\x67.wav");
    EXPECT_EQ(M3uPlaylist::parse(shiftJis + "\n"), QByteArrayList{shiftJis});
    EXPECT_EQ(PlaylistReference::resolve(shiftJis, "/music"), "/music/" + shiftJis);
    EXPECT_EQ(PlaylistReference::resolve("file:///music/%83%65.wav", "/x"), QByteArray("/music/\x83\x65.wav"));
}

} // namespace
