// Time of one solve per model and box size, fast path against the plain
// building blocks, and the time per subtractive and pigment mix evaluation;
// solves on boxes of 3,000 and 30,000 paints and how soon a cancel stops one.
#include "data/colormanager.h"
#include "engine/colordifference.h"
#include "engine/colorpick.h"
#include "engine/mixsolver.h"
#include "engine/pigmentmix.h"
#include "engine/pigmentsearch.h"
#include "engine/pigmentsolver.h"
#include "engine/recipe.h"
#include "engine/sharesearch.h"
#include "store/defaultdata.h"

#include <benchmark/benchmark.h>

#include <pthread.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>
#include <vector>

namespace {

using namespace pigmora;

constexpr int kTargetCount = 64;

const std::vector<PaintColorRecord> &catalogue()
{
    static const std::vector<PaintColorRecord> records = [] {
        CColorManager manager{"/nonexistent"};
        manager.buildBuiltInCatalogue();
        const auto span = manager.catalogueRecords();
        return std::vector<PaintColorRecord>(span.begin(), span.end());
    }();
    return records;
}

// n paints spread evenly over the catalogue (all groups), in box order.
std::vector<PaintColorRecord> spreadBox(std::size_t n)
{
    const auto &all = catalogue();
    std::vector<PaintColorRecord> box;
    for (std::size_t k = 0; k < n; ++k)
        box.push_back(all[k * all.size() / n]);
    return box;
}

std::vector<RgbColor> fixedTargets()
{
    std::mt19937 rng(2024);
    std::uniform_int_distribution<int> channel(0, 255);
    std::vector<RgbColor> targets;
    for (int i = 0; i < kTargetCount; ++i) {
        const int r = channel(rng);
        const int g = channel(rng);
        targets.push_back({r, g, channel(rng)});
    }
    return targets;
}

template<bool Fast>
void solveBox(benchmark::State &state, MixModel model)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::vector<PaintColorRecord> box = spreadBox(n);
    const std::vector<RgbColor> targets = fixedTargets();
    std::size_t next = 0;
    for (auto _ : state) {
        MixResult result = MixResult::forTarget(targets[next]);
        next = (next + 1) % targets.size();
        benchmark::DoNotOptimize(Fast ? findMix(model, box, result) : reference::findMix(model, box, result));
        benchmark::DoNotOptimize(result);
    }
    if (model == MixModel::Subtractive) {
        // Nominal evaluations of the pair stage (every pair, all 101 shares).
        const double evaluations = static_cast<double>(n * (n - 1) / 2) * kSubtractiveShareCount;
        state.counters["per_eval"] = benchmark::Counter(
            evaluations, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    }
}

void subtractiveSolve(benchmark::State &state)
{
    solveBox<true>(state, MixModel::Subtractive);
}
void subtractiveSolvePlain(benchmark::State &state)
{
    solveBox<false>(state, MixModel::Subtractive);
}
void spatialSolve(benchmark::State &state)
{
    solveBox<true>(state, MixModel::Spatial);
}
void spatialSolvePlain(benchmark::State &state)
{
    solveBox<false>(state, MixModel::Spatial);
}

#define PIGMORA_BOX_SIZES Arg(12)->Arg(24)->Arg(34)->Arg(100)->Arg(261)->Unit(benchmark::kMicrosecond)
BENCHMARK(subtractiveSolve)->PIGMORA_BOX_SIZES;
BENCHMARK(subtractiveSolvePlain)->PIGMORA_BOX_SIZES;
BENCHMARK(spatialSolve)->PIGMORA_BOX_SIZES;
BENCHMARK(spatialSolvePlain)->PIGMORA_BOX_SIZES;

// ---- Huge boxes: a maker's whole catalogue imported into one box ----

// n paints as such a catalogue lists them: the built-in paints with tints,
// shades and mixes of two, each a little apart, in box order (codes ascending).
std::vector<PaintColorRecord> catalogueBox(std::size_t n)
{
    const auto &all = catalogue();
    std::mt19937 rng(17);
    std::uniform_int_distribution<std::size_t> pick(0, all.size() - 1);
    std::uniform_int_distribution<int> kind(0, 2);
    std::uniform_real_distribution<double> amount(0.0, 0.8);
    std::uniform_int_distribution<int> jitter(-6, 6);
    std::vector<PaintColorRecord> box;
    box.reserve(n);
    char code[24];
    for (std::size_t k = 0; k < n; ++k) {
        const RgbColor a = all[pick(rng)].color();
        const int which = kind(rng);
        const RgbColor b = which == 0 ? RgbColor{255, 255, 255}
            : which == 1              ? RgbColor{0, 0, 0}
                                      : all[pick(rng)].color();
        const double t = amount(rng);
        auto channel
            = [&](int x, int y) { return std::clamp(static_cast<int>(x * (1 - t) + y * t) + jitter(rng), 0, 255); };
        const int r = channel(a.red, b.red);
        const int g = channel(a.green, b.green);
        PaintColorRecord record;
        std::snprintf(code, sizeof code, "c%05zu", k);
        record.setCode(code);
        record.setName("p");
        record.setColor({r, g, channel(a.blue, b.blue)});
        box.push_back(record);
    }
    return box;
}

// One solve per iteration, each of the fixed targets once; slowest_ms is the
// slowest single solve.
void hugeBoxSolve(benchmark::State &state, MixModel model)
{
    const std::vector<PaintColorRecord> box = catalogueBox(static_cast<std::size_t>(state.range(0)));
    const std::vector<RgbColor> targets = fixedTargets();
    std::size_t next = 0;
    double slowest = 0.0;
    for (auto _ : state) {
        MixResult result = MixResult::forTarget(targets[next]);
        next = (next + 1) % targets.size();
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(findMix(model, box, result));
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        slowest = std::max(slowest, took.count());
        benchmark::DoNotOptimize(result);
    }
    state.counters["slowest_ms"] = slowest;
}

BENCHMARK_CAPTURE(hugeBoxSolve, subtractive, MixModel::Subtractive)
    ->Arg(3000)
    ->Arg(30000)
    ->Iterations(kTargetCount)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(hugeBoxSolve, spatial, MixModel::Spatial)
    ->Arg(3000)
    ->Arg(30000)
    ->Iterations(kTargetCount)
    ->Unit(benchmark::kMillisecond);
// The pigment search is slower per target: every target at 3,000 paints, 4 at 30,000.
BENCHMARK_CAPTURE(hugeBoxSolve, pigment, MixModel::Pigment)
    ->Arg(3000)
    ->Iterations(kTargetCount)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(hugeBoxSolve, pigment, MixModel::Pigment)->Arg(30000)->Iterations(4)->Unit(benchmark::kMillisecond);

double threadCpuSeconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// How long a solve on a worker thread runs on after it is cancelled midway:
// the time from cancel() to the solve's return, and the processor time the
// worker spent in it (the same without the waits of a busy machine).
void cancelLatency(benchmark::State &state, MixModel model)
{
    const std::vector<PaintColorRecord> box = catalogueBox(static_cast<std::size_t>(state.range(0)));
    const RgbColor target{81, 248, 40}; // no near match in this box: both walks run
    double slowest = 0.0;
    double slowestCpu = 0.0;
    for (auto _ : state) {
        SolveControl control;
        MixResult result = MixResult::forTarget(target);
        double cpuAtReturn = 0.0;
        std::thread worker([&] {
            benchmark::DoNotOptimize(findMix(model, box, result, control));
            cpuAtReturn = threadCpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        });
        clockid_t workerClock{};
        pthread_getcpuclockid(worker.native_handle(), &workerClock);
        while (control.progress() < 100)
            std::this_thread::yield();
        const double cpuAtCancel = threadCpuSeconds(workerClock);
        const auto start = std::chrono::steady_clock::now();
        control.cancel();
        worker.join();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        slowest = std::max(slowest, took.count() * 1000.0);
        slowestCpu = std::max(slowestCpu, (cpuAtReturn - cpuAtCancel) * 1000.0);
    }
    state.counters["slowest_ms"] = slowest;
    state.counters["slowest_cpu_ms"] = slowestCpu;
}
BENCHMARK_CAPTURE(cancelLatency, subtractive, MixModel::Subtractive)
    ->Arg(30000)
    ->Iterations(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(cancelLatency, spatial, MixModel::Spatial)
    ->Arg(30000)
    ->Iterations(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(cancelLatency, pigment, MixModel::Pigment)
    ->Arg(30000)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// One pair fit over all 101 shares, on random catalogue pairs.
template<class Fit>
void pairFit(benchmark::State &state, Fit fit)
{
    const auto &all = catalogue();
    const std::vector<RgbColor> targets = fixedTargets();
    std::mt19937 rng(5);
    std::uniform_int_distribution<std::size_t> pick(0, all.size() - 1);
    std::vector<std::pair<RgbColor, RgbColor>> pairs;
    for (int i = 0; i < 256; ++i)
        pairs.emplace_back(all[pick(rng)].color(), all[pick(rng)].color());
    std::size_t next = 0;
    for (auto _ : state) {
        const auto &[a, b] = pairs[next % pairs.size()];
        benchmark::DoNotOptimize(fit(targets[next % targets.size()], a, b));
        ++next;
    }
    state.counters["per_eval"] = benchmark::Counter(
        kSubtractiveShareCount, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void pairFitPlain(benchmark::State &state)
{
    pairFit(state, fitSubtractivePair);
}

void pairFitVectorised(benchmark::State &state, ShareDistancesFn distances, bool needsAvx2)
{
    if (needsAvx2 && !avx2Supported()) {
        state.SkipWithError("no AVX2 on this processor");
        return;
    }
    pairFit(state, [distances](const RgbColor &t, const RgbColor &a, const RgbColor &b) {
        return fitSubtractivePairWith(distances, t, a, b);
    });
}

BENCHMARK(pairFitPlain);
BENCHMARK_CAPTURE(pairFitVectorised, scalarTable, shareDistancesScalar, false);
#if defined(__x86_64__) || defined(__SSE2__)
BENCHMARK_CAPTURE(pairFitVectorised, sse2, shareDistancesSse2, false);
BENCHMARK_CAPTURE(pairFitVectorised, avx2, shareDistancesAvx2, true);
#endif

// The largest default colour box, in box order.
std::vector<PaintColorRecord> largestDefaultBox()
{
    const DefaultColorBox *largest = nullptr;
    for (const DefaultColorBox &box : defaultColorBoxes()) {
        if (!largest || box.paints.size() > largest->paints.size())
            largest = &box;
    }
    CColorManager manager{"/nonexistent"};
    manager.buildBuiltInCatalogue();
    manager.clearCurrentBox();
    for (const PaintKey &key : largest->paints)
        manager.addToCurrentBox(key.code, key.name);
    const auto records = manager.currentBoxRecords();
    return {records.begin(), records.end()};
}

template<bool Fast>
void pigmentSolveOn(benchmark::State &state, const std::vector<PaintColorRecord> &box)
{
    const std::vector<RgbColor> targets = fixedTargets();
    std::size_t next = 0;
    for (auto _ : state) {
        MixResult result = MixResult::forTarget(targets[next]);
        next = (next + 1) % targets.size();
        benchmark::DoNotOptimize(Fast ? findPigmentMix(box, result) : reference::findPigmentMix(box, result));
        benchmark::DoNotOptimize(result);
    }
    state.counters["paints"] = static_cast<double>(box.size());
}

void pigmentSolve(benchmark::State &state)
{
    pigmentSolveOn<true>(state, spreadBox(static_cast<std::size_t>(state.range(0))));
}
void pigmentSolvePlain(benchmark::State &state)
{
    pigmentSolveOn<false>(state, spreadBox(static_cast<std::size_t>(state.range(0))));
}
void pigmentSolveLargestDefaultBox(benchmark::State &state)
{
    pigmentSolveOn<true>(state, largestDefaultBox());
}
void pigmentSolveLargestDefaultBoxPlain(benchmark::State &state)
{
    pigmentSolveOn<false>(state, largestDefaultBox());
}

// The whole pick in the pigment model (solve, parts recipe, one part off)
// and the parts recipe alone on the same answers: the recipe's share.
void pigmentPickLargestDefaultBox(benchmark::State &state)
{
    const std::vector<PaintColorRecord> box = largestDefaultBox();
    const std::vector<RgbColor> targets = fixedTargets();
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pickColor(box, targets[next], MixModel::Pigment, nullptr, std::nullopt));
        next = (next + 1) % targets.size();
    }
}

void partsRecipeLargestDefaultBox(benchmark::State &state)
{
    const std::vector<PaintColorRecord> box = largestDefaultBox();
    struct Answer {
        std::array<RecipePaint, 3> paints;
        std::array<bool, 3> used;
        Lab target;
        double difference;
    };
    std::vector<Answer> answers;
    for (const RgbColor &target : fixedTargets()) {
        MixResult result = MixResult::forTarget(target);
        Answer answer{};
        findPigmentMix(box, {}, result, &answer.difference);
        for (std::size_t k = 0; k < 3; ++k) {
            answer.paints[k].color = result.paints[k].color();
            answer.used[k] = result.paints[k].usedFlag() == 1;
        }
        answer.target = labOf(target);
        answers.push_back(answer);
    }
    std::size_t next = 0;
    for (auto _ : state) {
        const Answer &a = answers[next];
        benchmark::DoNotOptimize(findPartsRecipe(MixModel::Pigment, a.paints, a.used, a.target, a.difference));
        next = (next + 1) % answers.size();
    }
}

BENCHMARK(pigmentSolve)->PIGMORA_BOX_SIZES;
BENCHMARK(pigmentPickLargestDefaultBox)->Unit(benchmark::kMicrosecond);
BENCHMARK(partsRecipeLargestDefaultBox)->Unit(benchmark::kMicrosecond);
BENCHMARK(pigmentSolvePlain)->Arg(12)->Arg(34)->Unit(benchmark::kMillisecond);
BENCHMARK(pigmentSolveLargestDefaultBox)->Unit(benchmark::kMicrosecond);
BENCHMARK(pigmentSolveLargestDefaultBoxPlain)->Unit(benchmark::kMillisecond);

// One pigment evaluation as the plain search does it: mix, CIELAB, ΔE00.
void pigmentEvaluationPlain(benchmark::State &state)
{
    const auto &all = catalogue();
    std::vector<KsCurve> curves;
    for (std::size_t k = 0; k < 64; ++k)
        curves.push_back(ksCurveOf(all[k * 4].color()));
    const Lab target = labOf({90, 120, 60});
    std::size_t next = 0;
    for (auto _ : state) {
        const Xyz xyz = pigmentXyz(curves[next % 64], 0.37, curves[(next + 7) % 64], 0.63);
        benchmark::DoNotOptimize(deltaE00(target, pigmentLab(xyz)));
        ++next;
    }
}
BENCHMARK(pigmentEvaluationPlain);

// The 101 shares of one pair in vector lanes (XYZ only), counted per share.
void pigmentPairLanes(benchmark::State &state, bool vectorised)
{
    const auto &all = catalogue();
    std::vector<KsCurve> curves;
    for (std::size_t k = 0; k < 64; ++k)
        curves.push_back(ksCurveOf(all[k * 4].color()));
    PigmentLanes lanes;
    for (int k = 0; k <= 100; ++k) {
        lanes.c1[static_cast<std::size_t>(k)] = k / 100.0;
        lanes.c2[static_cast<std::size_t>(k)] = (100 - k) / 100.0;
    }
    LaneXyz out;
    std::size_t next = 0;
    for (auto _ : state) {
        using LanesFn = void (*)(const KsCurve &, const KsCurve &, const KsCurve *, const PigmentLanes &, LaneXyz &);
        const LanesFn compute = vectorised ? static_cast<LanesFn>(pigmentLanesXyz) : pigmentLanesXyzScalar;
        compute(curves[next % 64], curves[(next + 7) % 64], nullptr, lanes, out);
        benchmark::DoNotOptimize(out);
        ++next;
    }
    state.counters["per_share"] = benchmark::Counter(
        kPigmentShareCount, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK_CAPTURE(pigmentPairLanes, vectorised, true);
BENCHMARK_CAPTURE(pigmentPairLanes, scalar, false);

void deltaE00Only(benchmark::State &state)
{
    std::mt19937 rng(3);
    std::vector<Lab> labs;
    for (int i = 0; i < 256; ++i)
        labs.push_back(labOf(fixedTargets()[static_cast<std::size_t>(i % kTargetCount)]));
    std::shuffle(labs.begin(), labs.end(), rng);
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(deltaE00(labs[next % 256], labs[(next + 1) % 256]));
        ++next;
    }
}
BENCHMARK(deltaE00Only);

} // namespace

BENCHMARK_MAIN();
