#include "player/mpv/LoudnessGain.h"

#include <algorithm>
#include <cmath>

namespace loudnessgain {

double levelling(double integratedLufs, double samplePeak)
{
    // Silence measures as -70 LUFS or below; a file that says nothing is left as it is.
    if (!std::isfinite(integratedLufs) || integratedLufs <= -70)
        return 0;
    double gain = std::clamp(kTargetLufs - integratedLufs, kMostCut, kMostBoost);
    if (std::isfinite(samplePeak) && samplePeak > 0)
        gain = std::min(gain, kPeakCeilingDb - 20 * std::log10(samplePeak));
    return gain;
}

double typical(QList<double> recent)
{
    if (recent.isEmpty())
        return 0;
    std::sort(recent.begin(), recent.end());
    return recent.at(recent.size() / 2);
}

} // namespace loudnessgain
