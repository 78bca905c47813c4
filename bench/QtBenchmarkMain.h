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
