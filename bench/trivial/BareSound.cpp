// The first-sound baseline: the least a libmpv program does to play a file.
// It creates a player set up like the program's (sound through the same
// outputs, tried in the same order; no configuration, scripts or files
// beside the played one), plays the file given on the command line and
// waits until it is ended from outside.
#include <mpv/client.h>

#include <clocale>
#include <cstdio>
#include <utility>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    std::setlocale(LC_NUMERIC, "C");
    mpv_handle *core = mpv_create();
    if (!core)
        return 1;
    for (auto [name, value] : {std::pair{"config", "no"}, {"terminal", "no"}, {"vo", "null"},
                               {"ao", "pipewire,pulse,alsa,null"}, {"audio-fallback-to-null", "yes"},
                               {"idle", "yes"}, {"keep-open", "yes"}, {"load-scripts", "no"}, {"ytdl", "no"},
                               {"audio-display", "no"}, {"autoload-files", "no"}, {"cover-art-auto", "no"},
                               {"audio-file-auto", "no"}, {"sub-auto", "no"}, {"volume", "50"}})
        mpv_set_option_string(core, name, value);
    if (mpv_initialize(core) < 0)
        return 1;
    const char *args[] = {"loadfile", argv[1], nullptr};
    mpv_command_async(core, 0, args);
    while (mpv_wait_event(core, -1)->event_id != MPV_EVENT_SHUTDOWN) {
    }
    mpv_terminate_destroy(core);
    return 0;
}
