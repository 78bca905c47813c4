#pragma once
// The player's words, shared by its context menu and its transport bar.
#include <QString>

namespace playertext {

inline QString play() { return QStringLiteral("再生"); }
inline QString pause() { return QStringLiteral("一時停止"); }
inline QString stop() { return QStringLiteral("停止"); }
inline QString mute() { return QStringLiteral("ミュート"); }
inline QString startPosition() { return QStringLiteral("再生を始める位置"); }
inline QString startAt(int percent)
{
    return percent == 0 ? QStringLiteral("先頭から") : QStringLiteral("%1 % の位置から").arg(percent);
}
inline QString levelLoudness() { return QStringLiteral("音量をそろえる"); }

} // namespace playertext
