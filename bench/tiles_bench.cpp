// Figures for the virtual view and magnified pictures on a generated 24 MP
// photograph (6000 x 4000): the first screen (1600 x 1000) after a zoom step
// or gray toggle, the magnifier's 280 x 200 source rectangle per mouse move,
// scrolling one screen at "800%", and the resident memory of base picture
// plus caches at "800%" with the magnifier on. "resident_MB" is the process's
// highest resident size during the step, the base picture included.

#include "image/imageengine.h"
#include "image/viewbuilder.h"
#include "image/virtualpicture.h"

#include "benchsupport.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace pigmora {
namespace {

using namespace bench;

constexpr int kScreenWidth = 1600;
constexpr int kScreenHeight = 1000;

struct Fixture {
    CImageEngine engine;
    const CImageDibObject *base = nullptr;

    Fixture()
    {
        engine.initialise();
        const Photo size = photoSize(24);
        std::vector<std::uint8_t> rows = synthesisePhoto(size.width, size.height);
        std::string id;
        base = engine.loadPictureFromImage({size.width, size.height, 32, size.width * 4, rows.data()}, id);
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

int workerCount()
{
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

void reportResident(benchmark::State &state, const StepMemory &memory)
{
    memory.report(state);
    state.counters["resident_MB"] = static_cast<double>(statusKb("VmHWM")) / 1024.0;
}

// A zoom step (range 0: the zoom index) or gray toggle (range 1) as the
// picture view does it: a new source and virtual view, then the first screen
// computed with the workers' help (range 2: 1), or by the calling thread
// alone (0), which shows the work a screen takes on a busy machine.
void BM_FirstScreen(benchmark::State &state)
{
    Fixture &f = fixture();
    const std::string_view zoom = kZoomSteps[static_cast<std::size_t>(state.range(0))];
    const bool gray = state.range(1) != 0;
    StepMemory memory;
    const int workers = state.range(2) != 0 ? workerCount() : 0;
    for (auto _ : state) {
        const auto view = VirtualPicture::create(PictureSource::make(*f.base, gray), VirtualPicture::Kind::View, zoom,
                                                 {.workers = workers});
        if (!view || !view->prepare(0, 0, kScreenWidth, kScreenHeight)) {
            state.SkipWithError("no view");
            break;
        }
    }
    state.SetLabel(std::string(zoom) + (gray ? " gray" : ""));
    reportResident(state, memory);
}

// One mouse move of the magnifier (range 0: the zoom index) with no tile
// cached, the worst case: the 280 x 200 source rectangle copied from up to
// four tiles computed at once.
void BM_MagnifierMove(benchmark::State &state)
{
    Fixture &f = fixture();
    const std::string_view zoom = kZoomSteps[static_cast<std::size_t>(state.range(0))];
    const auto magnified
        = VirtualPicture::create(PictureSource::make(*f.base, false), VirtualPicture::Kind::Magnified, zoom);
    std::vector<std::uint8_t> window(280 * 200 * 4);
    StepMemory memory;
    int step = 0;
    for (auto _ : state) {
        // Jumps by 997 x 661 pixels of the magnified picture: always new tiles.
        const int left = (step * 997) % std::max(1, magnified->width() - 280);
        const int top = (step * 661) % std::max(1, magnified->height() - 200);
        ++step;
        magnified->clearCache();
        magnified->copyRect(left, top, 280, 200, window.data(), 280 * 4);
        benchmark::DoNotOptimize(window.data());
    }
    state.SetLabel(std::string(zoom) + " magnified " + std::to_string(magnified->width()) + " x "
                   + std::to_string(magnified->height()));
    reportResident(state, memory);
}

// Scrolling by one whole screen at "800%": every tile of the new screen is
// computed (row by row across the 48000 x 32000 view).
void BM_ScrollScreen800(benchmark::State &state)
{
    Fixture &f = fixture();
    const auto view = VirtualPicture::create(PictureSource::make(*f.base, false), VirtualPicture::Kind::View, "800%",
                                             {.workers = workerCount()});
    const int across = view->width() / kScreenWidth;
    int screen = 0;
    StepMemory memory;
    for (auto _ : state) {
        const int x = (screen % across) * kScreenWidth;
        const int y = (screen / across) * kScreenHeight % (view->height() - kScreenHeight);
        ++screen;
        view->prepare(x, y, kScreenWidth, kScreenHeight);
    }
    reportResident(state, memory);
}

// Base picture, the view at "800%" with a screen shown and scrolled, and the
// magnifier following the mouse across the whole picture: the resident peak.
void BM_Memory800WithMagnifier(benchmark::State &state)
{
    Fixture &f = fixture();
    StepMemory memory;
    for (auto _ : state) {
        const auto source = PictureSource::make(*f.base, true);
        const auto view
            = VirtualPicture::create(source, VirtualPicture::Kind::View, "800%", {.workers = workerCount()});
        const auto magnified = VirtualPicture::create(source, VirtualPicture::Kind::Magnified, "800%");
        std::vector<std::uint8_t> window(280 * 200 * 4);
        // Far more tiles than the budget holds: the caches fill to their limit.
        for (int i = 0; i < 60; ++i) {
            const int x = (i * 7919) % (view->width() - kScreenWidth);
            const int y = (i * 4933) % (view->height() - kScreenHeight);
            view->prepare(x, y, kScreenWidth, kScreenHeight);
            for (int m = 0; m < 20; ++m)
                magnified->copyRect(x + m * 64, y + m * 32, 280, 200, window.data(), 280 * 4);
        }
        state.counters["cache_MB"]
            = static_cast<double>(view->cachedBytes() + magnified->cachedBytes()) / (1024.0 * 1024.0);
    }
    reportResident(state, memory);
}

void configureOnce(benchmark::internal::Benchmark *b)
{
    b->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(1);
}

BENCHMARK(BM_FirstScreen)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {0}, {1}})
    ->ArgsProduct({{0, 4, 12}, {1}, {1}})
    ->ArgsProduct({{0, 1, 2}, {0, 1}, {0}})
    ->Apply(configure);
BENCHMARK(BM_MagnifierMove)->Arg(0)->Arg(4)->Arg(8)->Arg(12)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ScrollScreen800)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_Memory800WithMagnifier)->Apply(configureOnce);

} // namespace
} // namespace pigmora

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    pigmora::bench::warmUpMemory();
    std::printf("workers: %d\n", pigmora::workerCount());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
