// The ASX reader: any bytes parse without fault, and every entry is an
// absolute path or an allowed network address.
#include "PlaylistCheck.h"
#include "player/mpv/AsxPlaylist.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    // Playlists are always read by their absolute path.
    checkEntries(AsxPlaylist::entries(content, "/music/lists/list.asx"));
    return 0;
}
