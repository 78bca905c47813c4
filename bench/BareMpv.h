#pragma once
// libmpv on its own, the baseline the player benchmarks compare with:
// asynchronous loadfile, events drained in a loop, video frames rendered
// into a buffer as they come. Set up like the program's backend, with sound
// to null and nothing beside the played file looked at.
#include "player/mpv/MpvHandles.h"
#include "player/VideoFrame.h"

#include <QByteArray>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <utility>

class BareMpv
{
public:
    BareMpv()
    {
        m_core.reset(mpv_create());
        for (auto [name, value] : {std::pair{"config", "no"}, {"terminal", "no"}, {"vo", "libmpv"},
                                   {"ao", "null"}, {"hwdec", "no"}, {"idle", "yes"},
                                   {"keep-open", "yes"}, {"osd-level", "0"}, {"audio-display", "no"},
                                   {"load-scripts", "no"}, {"ytdl", "no"}, {"volume", "50"},
                                   {"autoload-files", "no"}, {"cover-art-auto", "no"},
                                   {"audio-file-auto", "no"}, {"sub-auto", "no"}})
            mpv_set_option_string(m_core.get(), name, value);
        if (mpv_initialize(m_core.get()) < 0)
            throw std::runtime_error("mpv_initialize failed");
        mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_SW)},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
        mpv_render_context *render = nullptr;
        mpv_render_context_create(&render, m_core.get(), params);
        m_render.reset(render);
        mpv_render_context_set_update_callback(
            render, [](void *flag) { static_cast<std::atomic<bool> *>(flag)->store(true); }, &m_updated);
        m_frame.resize(QSize(245, 194));
    }
    ~BareMpv()
    {
        m_render.reset();
        m_core.reset();
    }

    void load(const QByteArray &path)
    {
        const char *args[] = {"loadfile", path.constData(), "replace", nullptr};
        mpv_command_async(m_core.get(), 0, args);
    }
    void seek(double seconds)
    {
        const QByteArray target = QByteArray::number(seconds, 'f', 3);
        const char *args[] = {"seek", target.constData(), "absolute", nullptr};
        mpv_command_async(m_core.get(), 0, args);
    }
    void stop()
    {
        if (!m_loaded)
            return;
        const char *args[] = {"stop", nullptr};
        mpv_command_async(m_core.get(), 0, args);
        waitFor(MPV_EVENT_IDLE);
        m_loaded = false;
    }
    void waitForRestart() { waitFor(MPV_EVENT_PLAYBACK_RESTART); }
    void waitFor(mpv_event_id wanted)
    {
        while (step() != wanted) {
        }
    }
    // Goes on playing (and drawing) for `milliseconds`.
    void playFor(int milliseconds)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (std::chrono::steady_clock::now() < until)
            step();
    }

private:
    // Draws a waiting frame and takes one event, waiting a millisecond at most.
    mpv_event_id step()
    {
        if (m_updated.exchange(false) && (mpv_render_context_update(m_render.get()) & MPV_RENDER_UPDATE_FRAME))
            render();
        const mpv_event *event = mpv_wait_event(m_core.get(), 0.001);
        if (event->event_id == MPV_EVENT_START_FILE)
            m_loaded = true;
        return event->event_id;
    }

    void render()
    {
        int size[2] = {m_frame.size().width(), m_frame.size().height()};
        size_t stride = size_t(m_frame.stride());
        char format[] = "bgr0";
        int noBlocking = 0;
        mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, size},
                                     {MPV_RENDER_PARAM_SW_FORMAT, format},
                                     {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                     {MPV_RENDER_PARAM_SW_POINTER, m_frame.bits()},
                                     {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &noBlocking},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
        mpv_render_context_render(m_render.get(), params);
    }

    MpvCorePtr m_core;
    MpvRenderContextPtr m_render;
    std::atomic<bool> m_updated{false};
    bool m_loaded = false;
    VideoFrame m_frame;
};
