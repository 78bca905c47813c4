#pragma once
// Where the settings file Ondasort.ini lives.
//
// Beside the executable whenever that works: the executable's folder holds a
// settings file already (portable use, even when that file is read-only) or
// the user may write there. A program installed system-wide (its folder not
// writable, or inside /usr, which belongs to the package system even for
// root) keeps its settings in the user's config folder instead:
// $XDG_CONFIG_HOME/Ondasort/Ondasort.ini, else ~/.config/Ondasort/Ondasort.ini.
#include <QByteArray>

namespace settingslocation {

inline constexpr char kFileName[] = "Ondasort.ini";
// The journal of sorts that undo reads, beside the settings file.
inline constexpr char kJournalName[] = "Ondasort.journal";

// The settings file for a program whose executable is in executableDirectory.
QByteArray settingsFile(const QByteArray &executableDirectory);

// Creates the folders that are to hold settingsFile, when missing (new ones
// private to the user). Returns whether the folder exists afterwards.
bool makeFolderFor(const QByteArray &settingsFile);

} // namespace settingslocation
