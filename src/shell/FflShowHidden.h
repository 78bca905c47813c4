#pragma once
// How the browsing components treat hidden items.
#include <cstdint>

enum TFflShowHidden : std::uint8_t {
    flhConformExplorer = 0, // follow the user's "show hidden files" setting
    flhForceHide = 1,       // never show hidden items
    flhForceShow = 2,       // always show hidden items
};

// 1 and 2 stay, every other number means flhConformExplorer.
constexpr TFflShowHidden toShowHidden(int value)
{
    return (value == flhForceHide || value == flhForceShow) ? TFflShowHidden(value)
                                                            : flhConformExplorer;
}

// Whether a hidden item is shown under `mode`, given the user's setting
// (set: the user wants to see hidden files).
constexpr bool showsHiddenItems(TFflShowHidden mode, bool userShowsHidden)
{
    return mode == flhForceShow || (mode == flhConformExplorer && userShowsHidden);
}
