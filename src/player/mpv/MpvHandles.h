#pragma once
// Owning pointers for libmpv's two handles.
//
// The render context must be freed before the core it belongs to; a class
// that holds both declares the core first so that members are destroyed in
// the right order, and resets the render context explicitly anyway.
#include <mpv/client.h>
#include <mpv/render.h>

#include <memory>

struct MpvCoreDeleter
{
    void operator()(mpv_handle *handle) const { mpv_terminate_destroy(handle); }
};

struct MpvRenderContextDeleter
{
    void operator()(mpv_render_context *context) const { mpv_render_context_free(context); }
};

using MpvCorePtr = std::unique_ptr<mpv_handle, MpvCoreDeleter>;
using MpvRenderContextPtr = std::unique_ptr<mpv_render_context, MpvRenderContextDeleter>;
