// The entry point of the libmpv backend module.
#include "player/MpvBackendEntry.h"
#include "player/mpv/MpvPlayer.h"

#include <exception>

extern "C" Q_DECL_EXPORT PlayerBackend *ondasortCreateMpvBackend(const MpvOptions &options, QByteArray &error)
{
    // No exception crosses the module's edge.
    try {
        return new MpvPlayer(options);
    } catch (const std::exception &failure) {
        error = failure.what();
    } catch (...) {
        error = "メディアプレーヤーを作成できません。";
    }
    return nullptr;
}

// The loader looks the entry up by name; this keeps both in step.
static_assert(std::is_same_v<decltype(ondasortCreateMpvBackend), MpvBackendEntry>);
