#pragma once
// The player's words, shared by its context menu and its transport bar.
#include <QString>

namespace playertext {

inline QString play() { return QStringLiteral("再生"); }
inline QString pause() { return QStringLiteral("一時停止"); }
inline QString stop() { return QStringLiteral("停止"); }
inline QString mute() { return QStringLiteral("ミュート"); }

} // namespace playertext
