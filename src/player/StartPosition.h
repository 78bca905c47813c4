#pragma once
// Where a newly loaded file starts playing: at the beginning, or at a share
// of its length chosen in the player's menu, so that long recordings are
// heard from their middle. Short files, playlists and MIDI songs always
// start at the beginning: a share of a short clip skips its attack, and a
// playlist or a song is heard from its first note.
#include <array>

namespace startposition {

// What was loaded, as far as where it starts is concerned.
enum class Source { File, Midi, Playlist };

// The shares the menu offers, in percent; 0 is the beginning.
inline constexpr std::array<int, 4> kChoices {0, 10, 25, 50};
// Files shorter than this (in seconds) start at the beginning.
inline constexpr double kShortestSkipped = 20;

bool isChoice(int percent);

// The second a file of `duration` seconds starts at (0 when the duration is unknown).
double seconds(int percent, double duration, Source source);

} // namespace startposition
