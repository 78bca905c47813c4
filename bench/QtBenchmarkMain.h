#pragma once
// The shared main of the benchmark programs: the registered benchmarks run
// inside a QApplication on the offscreen platform (unless another is chosen),
// with the C numeric locale that libmpv needs; and the clock they time with.
#include <QApplication>
#include <benchmark/benchmark.h>

#include <chrono>
#include <clocale>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Times measured and its baseline once each, taking turns by round at which
// goes first, so that warm caches favour neither; adds the baseline's time
// to baselineTotal and returns the measured one.
template <typename Measured, typename Baseline>
double inTurns(int round, Measured measured, Baseline baseline, double &baselineTotal)
{
    if (round % 2) {
        baselineTotal += baseline();
        return measured();
    }
    const double elapsed = measured();
    baselineTotal += baseline();
    return elapsed;
}

} // namespace bench

inline int runBenchmarksWithQt(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
