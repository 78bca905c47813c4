#pragma once
// How a libmpv backend is set up: where its sound and picture go.
#include <QByteArray>

struct MpvOptions
{
    // Tried in order; the last one always works, so playback never fails
    // for want of a sound device.
    QByteArray audioOutput = "pipewire,pulse,alsa,null";
    // "libmpv" draws through renderFrame(); "null" decodes without drawing.
    QByteArray videoOutput = "libmpv";
    int volume = 50;
};
