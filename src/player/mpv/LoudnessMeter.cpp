#include "player/mpv/LoudnessMeter.h"

#include "platform/ThreadPriority.h"
#include "player/mpv/LoudnessGain.h"
#include "player/mpv/MidiStream.h"

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

namespace {

// The two moments of a file the meter steps in.
constexpr uint64_t kOpenedHook = 1;
constexpr uint64_t kUnloadHook = 2;
constexpr uint64_t kDurationReply = 1;
// Replies about a measured file carry its job number from here on.
constexpr uint64_t kFirstJobReply = 16;

mpv_handle *makeCore()
{
    mpv_handle *core = mpv_create();
    if (!core)
        return nullptr;
    const std::pair<const char *, const char *> options[] = {
        {"config", "no"},
        {"terminal", "no"},
        {"idle", "yes"},
        {"vid", "no"},
        {"sid", "no"},
        {"vo", "null"},
        {"ao", "null"},
        // Decoding runs as fast as it can instead of in real time.
        {"ao-null-untimed", "yes"},
        {"audio-display", "no"},
        {"af", "@r128:lavfi=[ebur128=metadata=1:peak=sample]"},
        {"input-default-bindings", "no"},
        {"load-scripts", "no"},
        {"ytdl", "no"},
        {"autoload-files", "no"},
        {"cover-art-auto", "no"},
        {"audio-file-auto", "no"},
        {"sub-auto", "no"},
        {"resume-playback", "no"},
        {"load-stats-overlay", "no"},
        {"load-osd-console", "no"},
        {"load-auto-profiles", "no"},
    };
    for (const auto &[name, value] : options)
        mpv_set_option_string(core, name, value);
    if (mpv_initialize(core) < 0) {
        mpv_terminate_destroy(core);
        return nullptr;
    }
    return core;
}

// The value under key in a node map, or null.
const mpv_node *valueOf(const mpv_node &map, const char *key)
{
    if (map.format != MPV_FORMAT_NODE_MAP)
        return nullptr;
    const mpv_node_list *list = map.u.list;
    for (int i = 0; i < list->num; ++i) {
        if (std::strcmp(list->keys[i], key) == 0)
            return &list->values[i];
    }
    return nullptr;
}

// A number the meter wrote into its metadata, or NaN.
double metadataNumber(const mpv_node &map, const char *key)
{
    const mpv_node *value = valueOf(map, key);
    if (!value || value->format != MPV_FORMAT_STRING)
        return qQNaN();
    bool ok = false;
    const double number = QByteArray(value->u.string).toDouble(&ok);
    return ok ? number : qQNaN();
}

// The playlist entry a loadfile's reply names, or -1.
int64_t playlistEntryId(const mpv_node &reply)
{
    const mpv_node *value = valueOf(reply, "playlist_entry_id");
    return value && value->format == MPV_FORMAT_INT64 ? value->u.int64 : -1;
}

// Local files and MIDI songs are measured; streams from elsewhere are not.
bool measurable(const QByteArray &entry)
{
    return entry.startsWith('/') || entry.startsWith(QByteArray(MidiStream::kProtocol) + "://");
}

} // namespace

LoudnessMeter::LoudnessMeter(QObject *parent)
    : QObject(parent)
{
    // libmpv's threads take the priority of the thread that starts them.
    std::thread([this] {
        lowerThreadPriority();
        m_core.reset(makeCore());
    }).join();
    if (!m_core)
        throw std::runtime_error("音量を測る準備ができません。");
    MidiStream::registerProtocol(m_core.get());
    // Once a file is open, its duration tells where to start measuring; as
    // it is unloaded, at its end or on failure, the meter is read.
    mpv_hook_add(m_core.get(), kOpenedHook, "on_preloaded", 0);
    mpv_hook_add(m_core.get(), kUnloadHook, "on_unload", 0);
    mpv_set_wakeup_callback(m_core.get(), &LoudnessMeter::onWakeup, this);
    connect(&m_resolver, &EntryResolver::resolved, this,
        [this](const QByteArray &path, const QByteArrayList &entries) {
            // A playlist's entries are measured as each of them starts.
            if (entries.size() != 1 || !measurable(entries.first()))
                return;
            const auto source = entries.first() == path ? startposition::Source::File : startposition::Source::Midi;
            m_ahead = {entries.first(), source};
            startNext();
        });
}

LoudnessMeter::~LoudnessMeter()
{
    if (m_core)
        mpv_set_wakeup_callback(m_core.get(), nullptr, nullptr);
    m_core.reset();
}

void LoudnessMeter::onWakeup(void *self)
{
    auto *meter = static_cast<LoudnessMeter *>(self);
    if (!meter->m_drainQueued.exchange(true))
        QMetaObject::invokeMethod(meter, [meter] { meter->drainEvents(); }, Qt::QueuedConnection);
}

std::optional<double> LoudnessMeter::gain(const QByteArray &entry) const
{
    const auto found = m_gains.constFind(entry);
    if (found == m_gains.cend() || std::isnan(*found))
        return std::nullopt;
    return *found;
}

void LoudnessMeter::measureNow(const QByteArray &entry, startposition::Source source)
{
    if (!measurable(entry) || m_gains.contains(entry))
        return;
    m_urgent = {entry, source};
    // A file measured only in case it comes next gives way, and waits.
    if (!m_current.entry.isEmpty() && !(m_current == m_urgent))
        start(m_urgent);
    else
        startNext();
}

void LoudnessMeter::prepare(const QByteArray &path)
{
    if (path.isEmpty()) {
        m_resolver.cancel();
        m_ahead = {};
        return;
    }
    m_resolver.resolve(path);
}

void LoudnessMeter::setStartPercent(int percent)
{
    if (percent == m_startPercent)
        return;
    m_startPercent = percent;
    m_gains.clear();
    m_order.clear();
}

bool LoudnessMeter::wanted(const Request &request) const
{
    return !request.entry.isEmpty() && !m_gains.contains(request.entry);
}

void LoudnessMeter::startNext()
{
    if (!m_current.entry.isEmpty())
        return;
    // Once nothing is left, the core goes idle and lets the last file go.
    if (wanted(m_urgent))
        start(m_urgent);
    else if (wanted(m_ahead))
        start(m_ahead);
}

void LoudnessMeter::start(const Request &request)
{
    m_current = request;
    ++m_job;
    m_entryId = -1;
    m_started = false;
    const char *args[] = {"loadfile", request.entry.constData(), "replace", nullptr};
    mpv_command_async(m_core.get(), m_job, args);
}

void LoudnessMeter::finish(std::optional<double> gain)
{
    const Request done = m_current;
    m_current = {};
    // A file that could not be measured is not tried again: NaN stands for it.
    m_gains.insert(done.entry, gain.value_or(qQNaN()));
    m_order.append(done.entry);
    while (m_order.size() > kKeptResults)
        m_gains.remove(m_order.takeFirst());
    if (m_urgent == done)
        m_urgent = {};
    if (m_ahead == done)
        m_ahead = {};
    if (gain)
        emit measured(done.entry, *gain);
    startNext();
}

void LoudnessMeter::continueOpening(double duration)
{
    // Measured from where the player starts it, for as long as matters.
    const QByteArray from = QByteArray::number(startposition::seconds(m_startPercent, duration, m_current.source), 'f', 3);
    const QByteArray length = QByteArray::number(kMeasuredSeconds, 'f', 0);
    const char *fromText = from.constData();
    const char *lengthText = length.constData();
    mpv_set_property_async(m_core.get(), 0, "file-local-options/start", MPV_FORMAT_STRING, &fromText);
    mpv_set_property_async(m_core.get(), 0, "file-local-options/length", MPV_FORMAT_STRING, &lengthText);
    mpv_hook_continue(m_core.get(), m_hook);
}

void LoudnessMeter::drainEvents()
{
    m_drainQueued = false;
    while (m_core) {
        mpv_event *event = mpv_wait_event(m_core.get(), 0);
        // Until the file last handed over has started, whatever is reported
        // is about one it has already left.
        const bool current = m_started && !m_current.entry.isEmpty();
        switch (event->event_id) {
        case MPV_EVENT_NONE:
            return;
        case MPV_EVENT_COMMAND_REPLY:
            // The loadfile answers before the core starts its entry.
            if (event->reply_userdata == m_job && event->error >= 0)
                m_entryId = playlistEntryId(static_cast<mpv_event_command *>(event->data)->result);
            break;
        case MPV_EVENT_START_FILE:
            if (m_entryId >= 0 && static_cast<mpv_event_start_file *>(event->data)->playlist_entry_id == m_entryId)
                m_started = true;
            break;
        case MPV_EVENT_HOOK: {
            const uint64_t hook = static_cast<mpv_event_hook *>(event->data)->id;
            if (!current) {
                mpv_hook_continue(m_core.get(), hook);
            } else if (event->reply_userdata == kOpenedHook) {
                m_hook = hook;
                mpv_get_property_async(m_core.get(), kDurationReply, "duration", MPV_FORMAT_DOUBLE);
            } else {
                // The file is done (or failed) and its filters are still there to be read.
                m_hook = hook;
                m_reading = true;
                mpv_get_property_async(m_core.get(), kFirstJobReply + m_job, "af-metadata/r128", MPV_FORMAT_NODE);
            }
            break;
        }
        case MPV_EVENT_GET_PROPERTY_REPLY: {
            const auto *property = static_cast<mpv_event_property *>(event->data);
            const bool ok = event->error >= 0;
            if (event->reply_userdata == kDurationReply) {
                continueOpening(ok && property->format == MPV_FORMAT_DOUBLE ? *static_cast<double *>(property->data)
                                                                            : 0.0);
            } else if (event->reply_userdata >= kFirstJobReply) {
                // The core waits for this, even for a file given up meanwhile.
                m_reading = false;
                mpv_hook_continue(m_core.get(), m_hook);
                if (event->reply_userdata != kFirstJobReply + m_job)
                    break;
                const mpv_node *values = ok && property->format == MPV_FORMAT_NODE
                    ? static_cast<mpv_node *>(property->data) : nullptr;
                const double integrated = values ? metadataNumber(*values, "lavfi.r128.I") : qQNaN();
                const double peak = values ? metadataNumber(*values, "lavfi.r128.sample_peak") : qQNaN();
                finish(std::isnan(integrated) ? std::nullopt
                                              : std::optional(loudnessgain::levelling(integrated, peak)));
            }
            break;
        }
        case MPV_EVENT_END_FILE:
            // A file that ended without being read (it never opened) is given up.
            if (current && !m_reading)
                finish(std::nullopt);
            break;
        default:
            break;
        }
    }
}
