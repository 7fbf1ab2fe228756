// The desktop program's speed: start-up to a usable main window (splash
// excluded), a click to an updated result panel on the largest default colour
// box, a zoom step on a 12 MP photograph and the magnifier build at 100 %.
// Runs on the offscreen platform; peak memory is the process's maximum
// resident set size so far.
#include "data/colormanager.h"
#include "main/mainwindow.h"
#include "main/viewstate.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

pigmora::ui::MainWindowOptions optionsFor(const QTemporaryDir &dir)
{
    pigmora::ui::MainWindowOptions options;
    options.showSplash = false;
    options.dataFolder = dir.path().toStdString();
    return options;
}

void BM_StartUp(benchmark::State &state)
{
    QTemporaryDir dir;
    {
        pigmora::ui::TForm_TintoraMain first(optionsFor(dir));
    } // the data files exist from here on
    for (auto _ : state) {
        auto window = std::make_unique<pigmora::ui::TForm_TintoraMain>(optionsFor(dir));
        window->show();
        QApplication::processEvents();
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_PickOnLargestBox(benchmark::State &state)
{
    QTemporaryDir dir;
    pigmora::ui::TForm_TintoraMain window(optionsFor(dir));
    window.show();
    QApplication::processEvents();
    std::vector<std::string> names;
    window.colors()->listColorBoxes(names);
    std::string largest;
    std::size_t most = 0;
    for (const std::string &name : names) {
        window.colors()->loadColorBox(name);
        if (window.colors()->currentBoxRecords().size() > most) {
            most = window.colors()->currentBoxRecords().size();
            largest = name;
        }
    }
    window.colors()->loadColorBox(largest);
    int i = 0;
    for (auto _ : state) {
        window.pickColor(QPoint((i * 37) % 500, (i * 53) % 667));
        ++i;
    }
    state.counters["paints"] = static_cast<double>(most);
}
BENCHMARK(BM_PickOnLargestBox)->Unit(benchmark::kMicrosecond);

QImage photo12mp()
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] = qRgb(x & 255, y & 255, (x ^ y) & 255);
    }
    return image;
}

void BM_ZoomStep12MP(benchmark::State &state)
{
    pigmora::ui::ViewState view;
    view.openImage(photo12mp());
    const int steps = static_cast<int>(state.range(0));
    for (auto _ : state) {
        for (int i = 0; i < steps; ++i)
            view.zoomIn();
        state.PauseTiming();
        view.zoomReal();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peakMegabytes();
}
// 1 step: 100 % -> 125 %; 4 steps: -> 300 % (12000 x 9000).
BENCHMARK(BM_ZoomStep12MP)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_MagnifierBuild12MP(benchmark::State &state)
{
    pigmora::ui::ViewState view;
    view.openImage(photo12mp());
    for (auto _ : state) {
        view.buildMagnified();
        state.PauseTiming();
        view.discardMagnified();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_MagnifierBuild12MP)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
