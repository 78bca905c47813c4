#pragma once
// The user's desktop settings that the browsing components follow.

namespace shellns {

struct ShellSettings
{
    // A set flag means hidden items are shown.
    bool showHiddenFiles = false;
};

// Reads the settings as they are now; off unless the user turned it on.
ShellSettings readShellSettings();

} // namespace shellns
