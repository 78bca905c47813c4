#include "player/mpv/MpvPlayer.h"

#include "player/mpv/LoudnessLeveller.h"
#include "player/mpv/MediaSource.h"
#include "player/mpv/MidiStream.h"
#include "player/VideoFrame.h"

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

struct Option
{
    const char *name;
    QByteArray value;
};

// Replies to the player's own questions; the others carry a file's number.
constexpr uint64_t kOwnReply = uint64_t(1) << 62;
constexpr uint64_t kPlayingPathReply = kOwnReply | 1;

} // namespace

MpvPlayer::MpvPlayer(const MpvOptions &options, QObject *parent)
    : PlayerBackend(parent)
    , m_volume(options.volume)
{
    m_core.reset(mpv_create());
    if (!m_core)
        throw std::runtime_error("メディアプレーヤーを作成できません。");

    const Option settings[] = {
        {"config", "no"},
        {"terminal", "no"},
        {"vo", options.videoOutput},
        {"ao", options.audioOutput},
        {"audio-fallback-to-null", "yes"},
        {"hwdec", "no"},
        {"idle", "yes"},
        {"keep-open", "yes"},
        {"osc", "no"},
        {"osd-level", "0"},
        {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"},
        {"load-scripts", "no"},
        {"ytdl", "no"},
        // A cover picture inside an audio file is not a video to show.
        {"audio-display", "no"},
        // Nothing beside the played file is looked at: a sorter's folders
        // hold thousands of files, and any of them may be a FIFO that never
        // answers. This covers external cover art, audio tracks and subtitles.
        {"autoload-files", "no"},
        {"cover-art-auto", "no"},
        {"audio-file-auto", "no"},
        {"sub-auto", "no"},
        {"resume-playback", "no"},
        // Built-in scripts and profiles a preview never uses.
        {"load-stats-overlay", "no"},
        {"load-osd-console", "no"},
        {"load-auto-profiles", "no"},
        {"volume", QByteArray::number(options.volume)},
    };
    for (const Option &option : settings)
        mpv_set_option_string(m_core.get(), option.name, option.value.constData());
    if (mpv_initialize(m_core.get()) < 0)
        throw std::runtime_error("メディアプレーヤーを開始できません。");
    MidiStream::registerProtocol(m_core.get());

    mpv_observe_property(m_core.get(), 0, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_core.get(), 0, "duration", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_core.get(), 0, "pause", MPV_FORMAT_FLAG);
    mpv_observe_property(m_core.get(), 0, "volume", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_core.get(), 0, "mute", MPV_FORMAT_FLAG);
    mpv_observe_property(m_core.get(), 0, "idle-active", MPV_FORMAT_FLAG);
    mpv_set_wakeup_callback(m_core.get(), &MpvPlayer::onWakeup, this);
    connect(&m_resolver, &EntryResolver::resolved, this,
        [this](const QByteArray &path, const QByteArrayList &entries) { playChecked(path, entries); });
    m_leveller = std::make_unique<LoudnessLeveller>(m_core.get());

    if (options.videoOutput == "libmpv") {
        mpv_render_param params[] = {
            {MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_SW)},
            {MPV_RENDER_PARAM_INVALID, nullptr},
        };
        mpv_render_context *render = nullptr;
        if (mpv_render_context_create(&render, m_core.get(), params) < 0)
            throw std::runtime_error("メディアプレーヤーの映像出力を作成できません。");
        m_render.reset(render);
        mpv_render_context_set_update_callback(render, &MpvPlayer::onRenderUpdate, this);
    }
}

MpvPlayer::~MpvPlayer()
{
    m_leveller.reset();
    // Callbacks stop before the handles go; the renderer goes before its core.
    if (m_render)
        mpv_render_context_set_update_callback(m_render.get(), nullptr, nullptr);
    m_render.reset();
    if (m_core)
        mpv_set_wakeup_callback(m_core.get(), nullptr, nullptr);
    m_core.reset();
}

void MpvPlayer::onWakeup(void *self)
{
    auto *player = static_cast<MpvPlayer *>(self);
    if (!player->m_drainQueued.exchange(true))
        QMetaObject::invokeMethod(player, [player] { player->drainEvents(); }, Qt::QueuedConnection);
}

void MpvPlayer::onRenderUpdate(void *self)
{
    auto *player = static_cast<MpvPlayer *>(self);
    if (!player->m_renderQueued.exchange(true))
        QMetaObject::invokeMethod(player, [player] { player->takeRenderUpdate(); }, Qt::QueuedConnection);
}

void MpvPlayer::command(std::initializer_list<const char *> args)
{
    std::vector<const char *> list(args);
    list.push_back(nullptr);
    mpv_command_async(m_core.get(), 0, list.data());
}

void MpvPlayer::setFlag(const char *name, bool value)
{
    int flag = value ? 1 : 0;
    mpv_set_property_async(m_core.get(), 0, name, MPV_FORMAT_FLAG, &flag);
}

void MpvPlayer::load(const QByteArray &path)
{
    if (path.isEmpty()) {
        stop();
        return;
    }
    m_leveller->fileLoading();
    forgetFile();
    const QByteArray file = MediaSource::absolutePath(path);
    const std::optional<MediaSource::Kind> known = m_ahead.kindOf(file);
    if (known == MediaSource::Kind::Plain || (!known && MediaSource::plainByName(file))) {
        play(file, {file});
        m_unchecked = file;
        // Bytes read a moment ago need no second look unless libmpv fails.
        if (!known) {
            m_checking = true;
            m_resolver.resolve(file);
        }
    } else if (known == MediaSource::Kind::Midi) {
        play(file, {MidiStream::address(file)});
    } else {
        m_resolver.resolve(file);
    }
}

void MpvPlayer::forgetFile()
{
    m_resolver.cancel();
    m_unchecked.clear();
    m_checking = m_failureHeld = m_failureTold = false;
}

void MpvPlayer::playChecked(const QByteArray &path, const QByteArrayList &entries)
{
    const bool checked = m_checking && path == m_unchecked;
    m_checking = false;
    m_unchecked.clear();
    // libmpv has the file already: it stays, and so does its failure.
    if (checked && entries.size() == 1 && entries.first() == path) {
        if (std::exchange(m_failureHeld, false))
            tellFailure();
        return;
    }
    m_failureHeld = false;
    play(path, entries);
}

void MpvPlayer::loadFailedNow()
{
    m_leveller->fileSettled();
    if (m_failureTold)
        return;
    // A file handed over by name may be no plain file after all: its bytes say.
    if (!m_unchecked.isEmpty()) {
        m_failureHeld = true;
        if (!m_checking) {
            m_checking = true;
            m_resolver.resolve(m_unchecked);
        }
        return;
    }
    tellFailure();
}

void MpvPlayer::tellFailure()
{
    m_failureTold = true;
    emit loadFailed();
}

void MpvPlayer::play(const QByteArray &path, const QByteArrayList &entries)
{
    m_startable = entries.size() == 1 && entries.first() == path ? path : QByteArray();
    m_entryCount = entries.size();
    if (entries.isEmpty()) {
        command({"stop"});
        m_leveller->fileSettled();
        tellFailure();
        return;
    }
    command({"loadfile", entries.first().constData(), "replace"});
    for (qsizetype i = 1; i < entries.size(); ++i)
        command({"loadfile", entries.at(i).constData(), "append"});
    // A new file always plays: even after a pause not yet confirmed by mpv,
    // and after the pause mpv makes itself when the file before reaches its
    // end (it is kept open there), which can come between our requests until
    // the new file replaces it; so the pause is lifted after the load.
    m_pauseRequested = false;
    setFlag("pause", false);
}

void MpvPlayer::stop()
{
    forgetFile();
    m_leveller->fileSettled();
    command({"stop"});
}

void MpvPlayer::setPaused(bool paused)
{
    m_pauseRequested = paused;
    setFlag("pause", paused);
}

void MpvPlayer::seek(double seconds)
{
    const QByteArray target = QByteArray::number(qMax(0.0, seconds), 'f', 3);
    command({"seek", target.constData(), "absolute"});
}

void MpvPlayer::setVolume(int volume)
{
    double value = qBound(0, volume, 100);
    mpv_set_property_async(m_core.get(), 0, "volume", MPV_FORMAT_DOUBLE, &value);
}

void MpvPlayer::setMuted(bool muted)
{
    setFlag("mute", muted);
}

void MpvPlayer::drainEvents()
{
    m_drainQueued = false;
    while (m_core) {
        mpv_event *event = mpv_wait_event(m_core.get(), 0);
        switch (event->event_id) {
        case MPV_EVENT_NONE:
            return;
        case MPV_EVENT_START_FILE:
            // Whether the new file has a picture is known once its video is set up.
            ++m_fileGeneration;
            // A failure held or told until now was an earlier file's.
            m_failureHeld = m_failureTold = false;
            setHasVideo(false);
            m_position = m_duration = 0;
            emit positionChanged(0);
            emit durationChanged(0);
            emit fileStarted();
            break;
        case MPV_EVENT_VIDEO_RECONFIG:
            mpv_get_property_async(m_core.get(), m_fileGeneration, "video-format", MPV_FORMAT_STRING);
            break;
        case MPV_EVENT_HOOK:
            startEntry(static_cast<mpv_event_hook *>(event->data)->id);
            break;
        case MPV_EVENT_GET_PROPERTY_REPLY: {
            if (event->reply_userdata & kOwnReply) {
                handleOwnReply(*event);
                break;
            }
            // A reply asked for during an earlier file says nothing about this one.
            const auto *property = static_cast<mpv_event_property *>(event->data);
            if (event->reply_userdata == m_fileGeneration)
                setHasVideo(event->error >= 0 && property->format == MPV_FORMAT_STRING
                            && *static_cast<char **>(property->data) != nullptr);
            break;
        }
        case MPV_EVENT_PLAYBACK_RESTART:
            m_leveller->fileSettled();
            emit playbackRestarted();
            break;
        case MPV_EVENT_END_FILE: {
            // A file replaced by the next one ends with STOP; only errors matter.
            const auto *end = static_cast<mpv_event_end_file *>(event->data);
            if (end->reason == MPV_END_FILE_REASON_ERROR)
                loadFailedNow();
            break;
        }
        case MPV_EVENT_PROPERTY_CHANGE:
            handleProperty(*static_cast<mpv_event_property *>(event->data));
            break;
        default:
            break;
        }
    }
}

void MpvPlayer::handleProperty(const mpv_event_property &property)
{
    const auto number = [&property] {
        return property.format == MPV_FORMAT_DOUBLE ? *static_cast<double *>(property.data) : 0.0;
    };
    const auto flag = [&property] {
        return property.format == MPV_FORMAT_FLAG && *static_cast<int *>(property.data) != 0;
    };
    if (std::strcmp(property.name, "time-pos") == 0) {
        m_position = number();
        emit positionChanged(m_position);
    } else if (std::strcmp(property.name, "duration") == 0) {
        m_duration = number();
        emit durationChanged(m_duration);
    } else if (std::strcmp(property.name, "pause") == 0) {
        m_paused = flag();
        emit pausedChanged(m_paused);
    } else if (std::strcmp(property.name, "volume") == 0) {
        if (property.format == MPV_FORMAT_DOUBLE) {
            m_volume = int(std::lround(number()));
            emit volumeChanged(m_volume);
        }
    } else if (std::strcmp(property.name, "mute") == 0) {
        m_muted = flag();
        emit mutedChanged(m_muted);
    } else if (std::strcmp(property.name, "idle-active") == 0) {
        m_loaded = !flag();
        if (!m_loaded) {
            m_position = m_duration = 0;
            emit unloaded();
        }
    }
}

void MpvPlayer::setStartPercent(int percent)
{
    m_startPercent = startposition::isChoice(percent) ? percent : 0;
    m_leveller->setStartPercent(m_startPercent);
    if (m_startPercent > 0)
        hookFileStarts();
}

void MpvPlayer::setLevelling(bool on)
{
    if (on)
        hookFileStarts();
    m_leveller->setEnabled(on);
    // The file playing now is levelled too, once the leveller knows it.
    if (on && m_loaded)
        mpv_get_property_async(m_core.get(), kPlayingPathReply, "path", MPV_FORMAT_STRING);
}

void MpvPlayer::prepare(const QByteArray &path)
{
    m_ahead.lookAt(MediaSource::absolutePath(path));
    m_leveller->prepare(path);
}

void MpvPlayer::hookFileStarts()
{
    if (m_hooked)
        return;
    m_hooked = true;
    mpv_hook_add(m_core.get(), 0, "on_preloaded", 0);
}

startposition::Source MpvPlayer::sourceOf(const QByteArray &entry) const
{
    if (!m_startable.isEmpty() && entry == m_startable)
        return startposition::Source::File;
    return m_entryCount == 1 ? startposition::Source::Midi : startposition::Source::Playlist;
}

void MpvPlayer::handleOwnReply(const mpv_event &event)
{
    const auto *property = static_cast<const mpv_event_property *>(event.data);
    if (event.reply_userdata != kPlayingPathReply || event.error < 0 || property->format != MPV_FORMAT_STRING)
        return;
    const QByteArray entry(*static_cast<char **>(property->data));
    if (!entry.isEmpty())
        m_leveller->entryPlaying(entry, sourceOf(entry));
}

void MpvPlayer::startEntry(uint64_t hook)
{
    // The file is open and silent until the hook is continued, and the core
    // does nothing but answer meanwhile: its duration and address, asked
    // for here and now, tell where it starts and how loud. (Asking
    // asynchronously would wait for the window's next turn, which after a
    // key is busy drawing.)
    double duration = 0;
    if (mpv_get_property(m_core.get(), "duration", MPV_FORMAT_DOUBLE, &duration) < 0)
        duration = 0;
    char *path = mpv_get_property_string(m_core.get(), "path");
    const QByteArray entry(path ? path : "");
    mpv_free(path);

    const startposition::Source source = sourceOf(entry);
    const double from = startposition::seconds(m_startPercent, duration, source);
    if (from > 0) {
        const QByteArray value = QByteArray::number(from, 'f', 3);
        const char *text = value.constData();
        mpv_set_property_async(m_core.get(), 0, "file-local-options/start", MPV_FORMAT_STRING, &text);
    }
    m_leveller->entryStarting(entry, source);
    // Both settings reach the core before it goes on: its queue keeps order.
    mpv_hook_continue(m_core.get(), hook);
}

void MpvPlayer::setHasVideo(bool video)
{
    if (video == m_hasVideo)
        return;
    m_hasVideo = video;
    emit videoChanged(video);
}

void MpvPlayer::takeRenderUpdate()
{
    m_renderQueued = false;
    if (m_render && (mpv_render_context_update(m_render.get()) & MPV_RENDER_UPDATE_FRAME))
        emit frameReady();
}

bool MpvPlayer::renderFrame(VideoFrame &target)
{
    if (!m_render || target.isNull())
        return false;
    int size[2] = {target.size().width(), target.size().height()};
    size_t stride = size_t(target.stride());
    char format[] = "bgr0";
    int noBlocking = 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SW_SIZE, size},
        {MPV_RENDER_PARAM_SW_FORMAT, format},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride},
        {MPV_RENDER_PARAM_SW_POINTER, target.bits()},
        // Never wait for a frame's display time on the GUI thread.
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &noBlocking},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    return mpv_render_context_render(m_render.get(), params) >= 0 && m_hasVideo;
}
