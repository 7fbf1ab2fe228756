// Figures for the image engine on generated photographs of 12 and 24 mega-
// pixels: base-to-view copy, gray, the zoom steps, the magnifier's 4x
// enlargement and JPEG decoding. Each step reports its time (median and
// fastest of five runs) and, as "step_peak_MB", how far the resident memory
// rose above what was resident when the step started (the peak is reset per
// step through /proc/self/clear_refs). The highest resident size of the
// process during any step is printed at the end.

#include "image/graykernel.h"
#include "image/imageengine.h"
#include "image/picturedecoder.h"
#include "image/viewbuilder.h"

#include "benchjpeg.h"
#include "benchsupport.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace pigmora {
namespace {

using namespace bench;

// One engine holding a base picture of each size, made on first use.
struct Fixture {
    CImageEngine engine;
    std::map<std::int64_t, std::string> baseIds;

    Fixture() { engine.initialise(); }

    const std::string &base(std::int64_t megapixels)
    {
        auto it = baseIds.find(megapixels);
        if (it == baseIds.end()) {
            const Photo size = photoSize(megapixels);
            std::vector<std::uint8_t> rows = synthesisePhoto(size.width, size.height);
            std::string id;
            engine.loadPictureFromImage({size.width, size.height, 32, size.width * 4, rows.data()}, id);
            it = baseIds.emplace(megapixels, id).first;
        }
        return it->second;
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

void setPixelsProcessed(benchmark::State &state, std::int64_t pixels)
{
    state.SetItemsProcessed(state.iterations() * pixels);
}

// ---- Steps ----

// Builds and deletes view pictures of the base picture and hands each to
// the desktop side as a bitmap.
void measureViewBuild(benchmark::State &state, const std::string &zoom, bool gray)
{
    Fixture &f = fixture();
    const std::string &base = f.base(state.range(0));
    StepMemory memory;
    for (auto _ : state) {
        const ViewPicture view = buildViewPicture(f.engine, base, zoom, gray);
        const PictureBitmap bitmap = f.engine.findPicture(view.pictureId)->pictureToBitmap();
        benchmark::DoNotOptimize(bitmap.bits());
        f.engine.deletePicture(view.pictureId);
    }
    memory.report(state);
}

void BM_BaseToViewCopy(benchmark::State &state)
{
    measureViewBuild(state, "100%", false);
}

void BM_GrayView(benchmark::State &state)
{
    measureViewBuild(state, "100%", true);
}

void BM_Zoom(benchmark::State &state)
{
    measureViewBuild(state, std::to_string(state.range(1)) + "%", false);
}

void BM_GrayInPlace(benchmark::State &state)
{
    Fixture &f = fixture();
    const std::string &base = f.base(state.range(0));
    std::string id;
    f.engine.duplicatePicture(base, id);
    f.engine.findPicture(id)->mutablePixels(); // a picture of its own, converted in place
    StepMemory memory;
    for (auto _ : state)
        f.engine.grayPicture(id);
    memory.report(state);
    setPixelsProcessed(state, state.range(0) * 1000000);
    f.engine.deletePicture(id);
}

void BM_Magnifier4x(benchmark::State &state)
{
    Fixture &f = fixture();
    const std::string &base = f.base(state.range(0));
    StepMemory memory;
    for (auto _ : state) {
        const MagnifiedPicture m = buildMagnifiedPicture(f.engine, base, "100%", false);
        f.engine.deletePicture(m.pictureId);
    }
    memory.report(state);
}

void BM_DecodeJpeg(benchmark::State &state)
{
    const Photo size = photoSize(state.range(0));
    const std::vector<std::uint8_t> jpeg
        = encodeJpeg(synthesisePhoto(size.width, size.height), size.width, size.height);
    StepMemory memory;
    for (auto _ : state) {
        Result<DecodedPicture> decoded = decodeJpeg(jpeg);
        if (!decoded) {
            state.SkipWithError(decoded.message().c_str());
            break;
        }
        benchmark::DoNotOptimize(decoded.value().pixels.data());
    }
    memory.report(state);
    state.counters["file_MB"] = static_cast<double>(jpeg.size()) / (1024.0 * 1024.0);
}

BENCHMARK(BM_BaseToViewCopy)->Arg(12)->Arg(24)->Apply(configure);
BENCHMARK(BM_GrayInPlace)->Arg(12)->Arg(24)->Apply(configure);
BENCHMARK(BM_GrayView)->Arg(12)->Arg(24)->Apply(configure);
BENCHMARK(BM_Zoom)->ArgsProduct({{12, 24}, {25, 50, 200, 400}})->Apply(configure);
BENCHMARK(BM_Magnifier4x)->Arg(12)->Arg(24)->Apply(configure);
BENCHMARK(BM_DecodeJpeg)->Arg(12)->Arg(24)->Apply(configure);

} // namespace
} // namespace pigmora

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    pigmora::bench::warmUpMemory();
    std::printf("gray kernel: %s\n", pigmora::gray::avx2Available() ? "AVX2" : "portable");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("highest resident memory during any step: %.0f MB\n",
                static_cast<double>(pigmora::bench::g_highestKb) / 1024.0);
    return 0;
}
