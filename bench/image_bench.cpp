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

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio> // jpeglib.h needs FILE declared first
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace pigmora {
namespace {

// ---- Memory ----

long statusKb(const char *field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0)
            return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
    return 0;
}

// The highest resident size seen in any step (resetting the peak per step
// also resets what getrusage would report).
long g_highestKb = 0;

// Measures the rise of the resident peak over the resident size at creation.
class StepMemory
{
public:
    StepMemory()
    {
        std::ofstream("/proc/self/clear_refs") << "5"; // peak := current
        m_start = statusKb("VmRSS");
    }
    void report(benchmark::State &state) const
    {
        const long peak = statusKb("VmHWM");
        g_highestKb = std::max(g_highestKb, peak);
        state.counters["step_peak_MB"] = static_cast<double>(peak - m_start) / 1024.0;
    }

private:
    long m_start = 0;
};

// ---- Photographs ----

struct Photo {
    int width;
    int height;
};

Photo photoSize(std::int64_t megapixels)
{
    return megapixels == 12 ? Photo{4000, 3000} : Photo{6000, 4000};
}

// Smooth gradients, a few discs and some grain: enough structure that no
// step meets only one colour, deterministic from run to run.
std::vector<std::uint8_t> synthesisePhoto(int width, int height)
{
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    std::uint32_t noise = 12345;
    std::uint8_t *p = rows.data();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x, p += 4) {
            noise = noise * 1664525u + 1013904223u;
            const int grain = static_cast<int>(noise >> 28) - 8;
            const int dx = x % 997 - 498;
            const int dy = y % 811 - 405;
            const bool disc = dx * dx + dy * dy < 300 * 300;
            const int blue = (x * 255 / width + grain) & 0xFF;
            const int green = ((disc ? 200 : y * 255 / height) + grain) & 0xFF;
            const int red = (((x + y) * 255 / (width + height)) ^ (disc ? 0x40 : 0)) & 0xFF;
            p[0] = static_cast<std::uint8_t>(blue);
            p[1] = static_cast<std::uint8_t>(green);
            p[2] = static_cast<std::uint8_t>(red);
            p[3] = 0;
        }
    }
    return rows;
}

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

std::vector<std::uint8_t> encodeJpeg(const std::vector<std::uint8_t> &bgrx, int width, int height)
{
    jpeg_compress_struct c{};
    jpeg_error_mgr error{};
    c.err = jpeg_std_error(&error);
    jpeg_create_compress(&c);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = static_cast<JDIMENSION>(width);
    c.image_height = static_cast<JDIMENSION>(height);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * 3);
    while (c.next_scanline < c.image_height) {
        const std::uint8_t *in = bgrx.data() + static_cast<std::size_t>(c.next_scanline) * width * 4;
        for (int x = 0; x < width; ++x) {
            row[3 * x] = in[4 * x + 2];
            row[3 * x + 1] = in[4 * x + 1];
            row[3 * x + 2] = in[4 * x];
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
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

// Fresh memory costs vary a lot on a shared virtual machine: each step runs
// five times and the fastest run is reported beside the median.
void configure(benchmark::internal::Benchmark *b)
{
    b->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
    b->ComputeStatistics("min", [](const std::vector<double> &v) { return *std::min_element(v.begin(), v.end()); });
}

BENCHMARK(BM_BaseToViewCopy)->Arg(12)->Arg(24)->Apply(configure);
BENCHMARK(BM_GrayInPlace)->Arg(12)->Arg(24)->Apply(configure);
BENCHMARK(BM_GrayView)->Arg(12)->Arg(24)->Apply(configure);
BENCHMARK(BM_Zoom)->ArgsProduct({{12, 24}, {25, 50, 200, 400}})->Apply(configure);
BENCHMARK(BM_Magnifier4x)->Arg(12)->Arg(24)->Apply(configure);
BENCHMARK(BM_DecodeJpeg)->Arg(12)->Arg(24)->Apply(configure);

} // namespace
} // namespace pigmora

namespace {

// On a virtual machine the first touch of memory the guest has never used
// costs far more than any later one. Touching 2 GiB once up front keeps that
// one-time cost out of whichever step happens to run first.
void warmUpMemory()
{
    const std::size_t bytes = std::size_t{2} << 30;
    auto *p = static_cast<volatile std::uint8_t *>(std::malloc(bytes));
    if (!p)
        return;
    for (std::size_t i = 0; i < bytes; i += 4096)
        p[i] = 1;
    std::free(const_cast<std::uint8_t *>(p));
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    warmUpMemory();
    std::printf("gray kernel: %s\n", pigmora::gray::avx2Available() ? "AVX2" : "portable");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("highest resident memory during any step: %.0f MB\n",
                static_cast<double>(pigmora::g_highestKb) / 1024.0);
    return 0;
}
