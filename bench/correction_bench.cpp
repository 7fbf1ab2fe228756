// Figures for area sampling and colour correction on generated photographs of
// 24 megapixels: a 51 x 51 sample (plain, and corrected just after switching
// the correction on), a chart fit (a chart a quarter of the photo wide, and
// one filling it), one 256 x 256 tile of the view at several zoom steps,
// uncorrected and corrected (the corrected picture's pixels already
// converted), the conversion itself (65536 pixels, a tile's worth), and the
// first 1600 x 1000 screen after opening the photo or switching the
// correction on (a new source, converted as the screen reads it). The CPU
// column is the thread's own time, which a busy machine blurs less.
//
// BM_Accuracy renders a 2400 x 1600 photograph with a chart, twelve test
// patches of colours the chart does not hold and a grey card, taken with a
// colour cast, an exposure error and grain, stored as a JPEG (quality 85) and
// decoded again, and reports as counters: the mean and largest ΔE00 of the
// test patches picked (15 x 15) uncorrected and chart-corrected, the chart
// fit's own mean, |a*| and |b*| of a white-balanced grey, and the ΔE00 of 9 x
// 9 samples of a grainy patch from its true colour.

#include "engine/photocorrection.h"
#include "image/imagedibobject.h"
#include "image/picturedecoder.h"
#include "image/picturesampler.h"
#include "image/picturesource.h"
#include "image/viewbuilder.h"
#include "image/virtualpicture.h"

#include "../tests/support/photoscene.h"
#include "benchjpeg.h"
#include "benchsupport.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

namespace pigmora {
namespace {

using namespace bench;
using chart::Point;

std::shared_ptr<const PictureSource> sourceOf(int width, int height, std::vector<std::uint8_t> rows)
{
    CImageDibObject picture;
    if (!picture.adoptRows(width, height, std::move(rows)))
        return nullptr;
    return PictureSource::make(picture, false);
}

Matrix3 castCamera(double exposure, double red, double green, double blue)
{
    const Matrix3 crosstalk{{0.86, 0.11, 0.03, 0.07, 0.84, 0.09, 0.02, 0.14, 0.84}};
    return Matrix3::diagonal(exposure * red, exposure * green, exposure * blue) * crosstalk;
}

// The 24 MP photograph of the tile, screen and sample steps.
const CImageDibObject &photo24()
{
    static const std::unique_ptr<CImageDibObject> base = [] {
        auto picture = std::make_unique<CImageDibObject>();
        const Photo size = photoSize(24);
        picture->adoptRows(size.width, size.height, synthesisePhoto(size.width, size.height));
        return picture;
    }();
    return *base;
}

const std::shared_ptr<const ColorTransform> &benchTransform()
{
    static const auto transform
        = ColorTransform::make(Matrix3{{1.6, -0.4, 0.1, -0.2, 1.3, -0.05, 0.05, -0.3, 1.8}});
    return transform;
}

// A 51 x 51 sample at a new place each time, at "25%": the plain pick (range
// 0: 0), or the corrected pick on a view of the corrected photo just
// switched on (1).
void BM_Sample51(benchmark::State &state)
{
    const bool corrected = state.range(0) != 0;
    const auto colour = PictureSource::make(photo24(), false);
    const auto view = VirtualPicture::create(colour, VirtualPicture::Kind::View, "25%");
    int step = 0;
    for (auto _ : state) {
        const int x = (step * 397) % view->width();
        const int y = (step * 211) % view->height();
        ++step;
        if (corrected) {
            state.PauseTiming();
            const auto shown = VirtualPicture::create(PictureSource::make(photo24(), false, benchTransform()),
                                                      VirtualPicture::Kind::View, "25%");
            state.ResumeTiming();
            benchmark::DoNotOptimize(correctedPick(*shown, *colour, x, y, 51));
        } else {
            benchmark::DoNotOptimize(samplePick(*view, x, y, 51));
        }
    }
    state.SetLabel(corrected ? "corrected" : "plain");
}

// A 24 MP photo holding a chart a quarter of its width (range 0: 0) or
// filling it (1), taken with a cast; the fit samples 24 patches.
void BM_ChartFit(benchmark::State &state)
{
    const bool filling = state.range(0) != 0;
    const Photo size = photoSize(24);
    const std::array<Point, 4> corners = filling
        ? std::array<Point, 4>{Point{450, 420}, {5550, 380}, {5580, 3560}, {420, 3600}}
        : std::array<Point, 4>{Point{3000, 2000}, {4400, 2050}, {4380, 2880}, {2990, 2860}};
    test::PhotoScene scene{.width = size.width, .height = size.height, .chart = corners};
    const auto source = sourceOf(size.width, size.height, test::takePhoto(scene, {castCamera(0.6, 1.2, 1.0, 0.75), 3.0}));
    const auto layout = chart::layoutOf(corners);
    for (auto _ : state) {
        const auto correction = PhotoCorrection::chart(*source, corners);
        if (!correction) {
            state.SkipWithError(correction.message().c_str());
            break;
        }
        benchmark::DoNotOptimize(correction->chartFit()->meanDeltaE00);
    }
    state.SetLabel(std::string(filling ? "chart filling the photo" : "chart a quarter wide") + ", samples "
                   + std::to_string(layout->sampleSides[0]) + " px");
}

// One tile of the view at a zoom step (range 0: the zoom index), computed
// again each time, of the photo (range 1: 0) or of the corrected photo (1).
void BM_Tile(benchmark::State &state)
{
    const std::string_view zoom = kZoomSteps[static_cast<std::size_t>(state.range(0))];
    const bool corrected = state.range(1) != 0;
    const auto view = VirtualPicture::create(PictureSource::make(photo24(), false, corrected ? benchTransform() : nullptr),
                                             VirtualPicture::Kind::View, zoom);
    const int column = view->tileColumns() / 2;
    const int row = view->tileRows() / 2;
    view->tile(column, row); // converts the pixels it reads
    for (auto _ : state) {
        view->clearCache();
        benchmark::DoNotOptimize(view->tile(column, row).bits());
    }
    state.SetLabel(std::string(zoom) + (corrected ? " corrected" : " uncorrected"));
}

// The correction of 65536 pixels of the photo (a tile's worth), in place.
void BM_CorrectPixels(benchmark::State &state)
{
    const Photo size = photoSize(24);
    const std::vector<std::uint8_t> rows = synthesisePhoto(size.width, 64);
    std::vector<std::uint8_t> pixels(rows.begin(), rows.begin() + 65536 * 4);
    for (auto _ : state) {
        std::copy(rows.begin(), rows.begin() + 65536 * 4, pixels.begin());
        benchTransform()->applyPixels(pixels.data(), 65536);
        benchmark::DoNotOptimize(pixels.data());
    }
}

// The first screen at a zoom step (range 0) after opening the photo (range
// 1: 0) or switching the correction on (1), by the calling thread alone.
void BM_FirstScreen(benchmark::State &state)
{
    const std::string_view zoom = kZoomSteps[static_cast<std::size_t>(state.range(0))];
    const bool corrected = state.range(1) != 0;
    for (auto _ : state) {
        const auto view = VirtualPicture::create(PictureSource::make(photo24(), false, corrected ? benchTransform() : nullptr),
                                                 VirtualPicture::Kind::View, zoom);
        view->prepare(0, 0, 1600, 1000);
    }
    state.SetLabel(std::string(zoom) + (corrected ? " corrected" : " uncorrected"));
}

void BM_Accuracy(benchmark::State &state)
{
    const std::array<Point, 4> corners{Point{150, 140}, {1000, 170}, {985, 700}, {140, 690}};
    test::PhotoScene scene{.width = 2400, .height = 1600, .background = {0.2, 0.19, 0.17}, .chart = corners};
    const int colors[12][3] = {{224, 172, 150}, {141, 85, 60},  {90, 110, 50},  {60, 90, 140},
                               {200, 60, 50},   {240, 220, 120}, {110, 70, 130}, {30, 120, 110},
                               {180, 180, 170}, {70, 70, 75},   {160, 200, 230}, {120, 40, 80}};
    for (int i = 0; i < 12; ++i)
        scene.patches.push_back({150 + 180 * (i % 6), 900 + 200 * (i / 6), 120, 120,
                                 test::linearOf(colors[i][0], colors[i][1], colors[i][2])});
    scene.patches.push_back({1300, 200, 300, 300, {0.5, 0.5, 0.5}}); // grey card
    scene.patches.push_back({1700, 200, 300, 300, {0.14, 0.14, 0.14}}); // darker grey
    const Linear3 grainy = test::linearOf(150, 95, 70);
    scene.patches.push_back({1300, 900, 500, 500, grainy});
    const auto rows = test::takePhoto(scene, {castCamera(0.55, 1.3, 1.0, 0.7), 5.0});
    const auto decoded = decodeJpeg(encodeJpeg(rows, scene.width, scene.height, 85));
    const auto source = sourceOf(scene.width, scene.height, decoded->pixels);

    double fitMean = 0.0;
    double correctedMean = 0.0;
    double correctedMax = 0.0;
    double rawMean = 0.0;
    double grayA = 0.0;
    double grayB = 0.0;
    double grainyWorst = 0.0;
    double grainyMean = 0.0;
    for (auto _ : state) {
        const auto correction = PhotoCorrection::chart(*source, corners);
        if (!correction) {
            state.SkipWithError(correction.message().c_str());
            return;
        }
        fitMean = correction->chartFit()->meanDeltaE00;
        correctedMean = correctedMax = rawMean = 0.0;
        for (int i = 0; i < 12; ++i) {
            const test::ScenePatch &patch = scene.patches[static_cast<std::size_t>(i)];
            const auto sample = sampleArea(*source, patch.x + 60, patch.y + 60, 15);
            const Lab truth = test::labOfLinear(patch.color);
            const double d = deltaE00(labOf(correction->correct(*sample)), truth);
            correctedMean += d / 12;
            correctedMax = std::max(correctedMax, d);
            rawMean += deltaE00(labOf(sample->color), truth) / 12;
        }
        const auto white = PhotoCorrection::white(*sampleArea(*source, 1450, 350, 9));
        grayA = grayB = 0.0;
        for (const int x : {1450, 1850}) {
            const Lab lab = labOf(white->correct(*sampleArea(*source, x, 350, 9)));
            grayA = std::max(grayA, std::fabs(lab.a));
            grayB = std::max(grayB, std::fabs(lab.b));
        }
        // The grainy patch as photographed, sampled 9 x 9 at 25 places,
        // against its true colour under the same camera.
        const Linear3 seen = castCamera(0.55, 1.3, 1.0, 0.7) * grainy;
        grainyWorst = grainyMean = 0.0;
        for (int k = 0; k < 25; ++k) {
            const auto sample = sampleArea(*source, 1350 + 100 * (k % 5), 950 + 100 * (k / 5), 9);
            const double d = deltaE00(test::labOfLinear(sample->linear), test::labOfLinear(seen));
            grainyWorst = std::max(grainyWorst, d);
            grainyMean += d / 25;
        }
    }
    state.counters["chart_fit_mean_dE00"] = fitMean;
    state.counters["test_patches_raw_mean_dE00"] = rawMean;
    state.counters["test_patches_corrected_mean_dE00"] = correctedMean;
    state.counters["test_patches_corrected_max_dE00"] = correctedMax;
    state.counters["white_balanced_grey_max_abs_a"] = grayA;
    state.counters["white_balanced_grey_max_abs_b"] = grayB;
    state.counters["grainy_9x9_mean_dE00"] = grainyMean;
    state.counters["grainy_9x9_worst_dE00"] = grainyWorst;
}

BENCHMARK(BM_Sample51)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChartFit)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tile)->ArgsProduct({{1, 2, 4, 8, 12}, {0, 1}})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CorrectPixels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstScreen)->ArgsProduct({{1, 4, 8}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Accuracy)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace pigmora

BENCHMARK_MAIN();
