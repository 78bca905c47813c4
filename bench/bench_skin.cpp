// The skin's share of start-up: building the state images and regions of
// the nine sort buttons, measured beside constructing the whole main window
// (which builds them once among everything else) in the same iteration.
// "share" is nine-button build / window construction. A bare copy of the
// nine normal images stands for what a repaint costs.
#include "app/MainForm1.h"
#include "skin/ClearButton.h"
#include "support/RecordingBackend.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A window whose player is a recording one, so no libmpv starts.
TMainForm1::Surroundings benchSurroundings(const QTemporaryDir &root, PlayerRecord &player)
{
    TMainForm1::Surroundings surroundings;
    surroundings.executableDirectory = QFile::encodeName(root.path());
    surroundings.playerBackend = [&player] { return RecordingBackend::make(player); };
    return surroundings;
}

// Builds the nine buttons' images and regions, then paints their normal
// images as a repaint would; returns the build time and adds the paint time.
double buildAndPaintNine(TMainForm1 &form, QImage &canvas, double &paintSeconds)
{
    auto start = std::chrono::steady_clock::now();
    for (TClearButton *button : form.ClearButton)
        button->MakeBtnImageAndRgn();
    const double build = secondsSince(start);

    start = std::chrono::steady_clock::now();
    QPainter painter(&canvas);
    for (TClearButton *button : form.ClearButton)
        painter.drawImage(0, 0, button->images().normal);
    painter.end();
    paintSeconds += secondsSince(start);
    return build;
}

void BM_NineSortButtonsBeside(benchmark::State &state)
{
    QTemporaryDir root;
    PlayerRecord player;
    const TMainForm1::Surroundings surroundings = benchSurroundings(root, player);

    double skinSeconds = 0;
    double startupSeconds = 0;
    double paintSeconds = 0;
    QImage canvas(46, 50, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        TMainForm1 form(surroundings);
        startupSeconds += secondsSince(start);

        const double skin = buildAndPaintNine(form, canvas, paintSeconds);
        skinSeconds += skin;
        state.SetIterationTime(skin);
    }
    const double n = double(state.iterations());
    state.counters["startup_ms"] = benchmark::Counter(startupSeconds * 1e3 / n);
    state.counters["paint_us"] = benchmark::Counter(paintSeconds * 1e6 / n);
    state.counters["share"] = benchmark::Counter(skinSeconds / startupSeconds);
}
BENCHMARK(BM_NineSortButtonsBeside)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(2.0);

// The nine builds alone, on one window, against the bare copy of their images.
void BM_NineSortButtons(benchmark::State &state)
{
    QTemporaryDir root;
    PlayerRecord player;
    const TMainForm1::Surroundings surroundings = benchSurroundings(root, player);
    TMainForm1 form(surroundings);
    QImage canvas(46, 50, QImage::Format_ARGB32_Premultiplied);
    double paintSeconds = 0;
    double buildSeconds = 0;
    for (auto _ : state) {
        const double build = buildAndPaintNine(form, canvas, paintSeconds);
        buildSeconds += build;
        state.SetIterationTime(build);
    }
    state.counters["paint_us"] = benchmark::Counter(paintSeconds * 1e6 / double(state.iterations()));
    state.counters["build_per_paint"] = benchmark::Counter(buildSeconds / paintSeconds);
}
BENCHMARK(BM_NineSortButtons)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarksWithQt(argc, argv);
}
