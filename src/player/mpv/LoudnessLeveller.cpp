#include "player/mpv/LoudnessLeveller.h"

#include "player/mpv/LoudnessGain.h"
#include "player/mpv/LoudnessMeter.h"

#include <mpv/client.h>

#include <cmath>
#include <exception>
#include <utility>

namespace {

constexpr int kRecentGains = 15;

} // namespace

LoudnessLeveller::LoudnessLeveller(mpv_handle *core, QObject *parent)
    : QObject(parent)
    , m_core(core)
{
    m_ramp.setInterval(kStepMs);
    connect(&m_ramp, &QTimer::timeout, this, &LoudnessLeveller::step);
}

LoudnessLeveller::~LoudnessLeveller() = default;

bool LoudnessLeveller::makeMeter()
{
    if (m_meter)
        return true;
    try {
        m_meter = std::make_unique<LoudnessMeter>();
    } catch (const std::exception &) {
        // Without a meter every file keeps the gain it has: levelling is
        // a comfort, playing is what matters.
        return false;
    }
    m_meter->setStartPercent(m_startPercent);
    connect(m_meter.get(), &LoudnessMeter::measured, this, &LoudnessLeveller::measured);
    return true;
}

void LoudnessLeveller::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled && makeMeter();
    if (m_enabled)
        levelPlaying();
    else
        rampTo(0);
}

void LoudnessLeveller::setStartPercent(int percent)
{
    m_startPercent = percent;
    if (m_meter)
        m_meter->setStartPercent(percent);
}

void LoudnessLeveller::prepare(const QByteArray &path)
{
    if (!m_enabled)
        return;
    if (m_loading)
        m_heldPrepare = path;
    else
        m_meter->prepare(path);
}

void LoudnessLeveller::fileLoading()
{
    m_loading = true;
}

void LoudnessLeveller::fileSettled()
{
    if (!m_loading)
        return;
    m_loading = false;
    const bool measure = std::exchange(m_measureWhenSettled, false);
    const std::optional<QByteArray> held = std::exchange(m_heldPrepare, std::nullopt);
    if (!m_enabled)
        return;
    if (measure && !m_playing.isEmpty())
        m_meter->measureNow(m_playing, m_playingSource);
    if (held)
        m_meter->prepare(*held);
}

void LoudnessLeveller::entryStarting(const QByteArray &entry, startposition::Source source)
{
    m_playing = entry;
    m_playingSource = source;
    m_ramp.stop();
    if (!m_enabled) {
        apply(0);
        return;
    }
    const std::optional<double> known = m_meter->gain(entry);
    apply(known ? *known : loudnessgain::typical(m_recent));
    if (known)
        return;
    if (m_loading)
        m_measureWhenSettled = true;
    else
        m_meter->measureNow(entry, source);
}

void LoudnessLeveller::entryPlaying(const QByteArray &entry, startposition::Source source)
{
    m_playing = entry;
    m_playingSource = source;
    if (m_enabled)
        levelPlaying();
}

void LoudnessLeveller::levelPlaying()
{
    if (m_playing.isEmpty())
        return;
    if (const std::optional<double> known = m_meter->gain(m_playing))
        rampTo(*known);
    else
        m_meter->measureNow(m_playing, m_playingSource);
}

void LoudnessLeveller::measured(const QByteArray &entry, double gain)
{
    m_recent.append(gain);
    if (m_recent.size() > kRecentGains)
        m_recent.removeFirst();
    if (m_enabled && entry == m_playing)
        rampTo(gain);
}

void LoudnessLeveller::rampTo(double gain)
{
    m_target = gain;
    if (!m_ramp.isActive())
        step();
    if (m_gain != m_target)
        m_ramp.start();
}

void LoudnessLeveller::step()
{
    const double left = m_target - m_gain;
    if (std::abs(left) <= kStepDb) {
        m_ramp.stop();
        apply(m_target);
        return;
    }
    apply(m_gain + (left > 0 ? kStepDb : -kStepDb));
}

void LoudnessLeveller::apply(double gain)
{
    // Unchanged, it need not travel to the core again.
    if (gain == m_gain)
        return;
    m_gain = gain;
    mpv_set_property_async(m_core, 0, "replaygain-fallback", MPV_FORMAT_DOUBLE, &gain);
}
