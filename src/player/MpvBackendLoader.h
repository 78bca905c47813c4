#pragma once
// Loads the libmpv backend module in the background.
//
// libmpv pulls in some two hundred shared libraries; linking it into the
// program would make every start wait for all of them before main() runs.
// Instead the player control asks for a backend after the window's first
// paint (create()), and a thread of its own loads the module (and through
// it libmpv and FluidSynth) while the window is in use; a caller that wants
// it earlier calls preload(). create() then hands a backend to whoever
// asked, on the GUI thread, as soon as the module is in. The module is
// loaded once per process and stays loaded. The libraries it needs are
// opened one at a time before it, in the order the list written beside it
// at build time (ondasort-mpv.libs) gives, so that the dynamic loader's
// lock, which any plugin loaded meanwhile needs too, is never held for long.
#include "player/MpvOptions.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class PlayerBackend;
class QObject;

class MpvBackendLoader
{
public:
    using Ready = std::function<void(std::unique_ptr<PlayerBackend> backend, const QString &error)>;

    // Starts loading the module at `modulePath`, by default the one beside
    // the executable. Only the first call (of this or create()) loads
    // anything; it may come before the application object exists.
    static void preload(const QByteArray &modulePath = QByteArray());

    // Once the module is loaded, builds a backend with `options` on the GUI
    // thread and calls `ready` with it, or with a null backend and the
    // reason when the module or libmpv cannot be loaded. Never calls back
    // before returning, and not at all once `context` is gone.
    static void create(QObject *context, const MpvOptions &options, Ready ready);

    // The module beside the executable.
    static QByteArray defaultModulePath();
};
