#pragma once
// The gain that brings a file to the common loudness, from what the
// loudness meter measured: its integrated loudness (EBU R128, LUFS) and its
// highest sample (linear, 1 = full scale).
//
// The gain is fixed for the whole file, so nothing pumps: a quiet passage
// stays quiet beside a loud one. It never lifts the highest sample above
// -1 dBFS, so a quiet recording with a few loud clicks is raised only as far
// as it can be without clipping.
#include <QList>

namespace loudnessgain {

// ReplayGain 2.0's reference: music mastered loud comes down, and there is
// room left to raise quiet recordings.
inline constexpr double kTargetLufs = -18;
inline constexpr double kMostCut = -20;
inline constexpr double kMostBoost = 15;
inline constexpr double kPeakCeilingDb = -1;

// The gain in dB for a file measured at `integratedLufs` with `samplePeak`.
double levelling(double integratedLufs, double samplePeak);

// The gain to start an unmeasured file with: the middle one of `recent`
// measured gains, 0 without any.
double typical(QList<double> recent);

} // namespace loudnessgain
