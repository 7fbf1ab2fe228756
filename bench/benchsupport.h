#pragma once

// What the image benchmarks share: the resident-memory figures of a step and
// the generated photographs they run on.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace pigmora::bench {

// ---- Memory ----

inline long statusKb(const char *field)
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
inline long g_highestKb = 0;

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

inline Photo photoSize(std::int64_t megapixels)
{
    return megapixels == 12 ? Photo{4000, 3000} : Photo{6000, 4000};
}

// Smooth gradients, a few discs and some grain: enough structure that no
// step meets only one colour, deterministic from run to run.
inline std::vector<std::uint8_t> synthesisePhoto(int width, int height)
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

// On a virtual machine the first touch of memory the guest has never used
// costs far more than any later one. Touching 2 GiB once up front keeps that
// one-time cost out of whichever step happens to run first.
inline void warmUpMemory()
{
    const std::size_t bytes = std::size_t{2} << 30;
    auto *p = static_cast<volatile std::uint8_t *>(std::malloc(bytes));
    if (!p)
        return;
    for (std::size_t i = 0; i < bytes; i += 4096)
        p[i] = 1;
    std::free(const_cast<std::uint8_t *>(p));
}

// Fresh memory costs vary a lot on a shared virtual machine: each step runs
// five times and the fastest run is reported beside the median.
inline void configure(benchmark::internal::Benchmark *b)
{
    b->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
    b->ComputeStatistics("min", [](const std::vector<double> &v) { return *std::min_element(v.begin(), v.end()); });
}

} // namespace pigmora::bench
