// The M3U reader: every entry is an absolute path or an allowed network
// address, whatever the lines hold.
#include "PlaylistCheck.h"
#include "player/mpv/M3uPlaylist.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    // Playlists are always read by their absolute path.
    checkEntries(M3uPlaylist::entries(content, "/music/lists/list.m3u"));
    return 0;
}
