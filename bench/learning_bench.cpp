// Learning the painter's paints and correcting mixes: fitting strengths to
// 300 observations of 13 paints, and one correction of a three-paint mix.
#include "engine/mixcorrection.h"
#include "engine/recipe.h"
#include "engine/strengthfit.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

using namespace pigmora;

// 13 paints with strengths from 0.25 to 4 and 300 two- and three-paint
// mixes of them at 1 to 3 parts, measured with a little noise.
struct Simulated {
    std::vector<RgbColor> colors;
    std::vector<MixObservation> observations;
};

Simulated simulate()
{
    std::mt19937 rng(300);
    std::uniform_int_distribution<int> channel(0, 255);
    std::uniform_int_distribution<int> noise(-2, 2);
    std::uniform_int_distribution<int> paint(0, 12);
    std::uniform_int_distribution<int> parts(1, 3);
    std::uniform_real_distribution<double> logStrength(-1.4, 1.4);
    Simulated s;
    std::vector<double> strengths;
    for (int k = 0; k < 13; ++k) {
        s.colors.push_back({channel(rng), channel(rng), channel(rng)});
        strengths.push_back(std::exp(logStrength(rng)));
    }
    while (s.observations.size() < 300) {
        MixObservation o;
        const int n = s.observations.size() % 4 == 0 ? 3 : 2;
        std::vector<RecipePaint> paints;
        std::vector<double> amounts;
        for (int k = 0; k < n; ++k) {
            o.paints[static_cast<std::size_t>(k)] = paint(rng);
            o.parts[static_cast<std::size_t>(k)] = parts(rng);
            const auto i = static_cast<std::size_t>(o.paints[static_cast<std::size_t>(k)]);
            paints.push_back({s.colors[i], strengths[i]});
            amounts.push_back(o.parts[static_cast<std::size_t>(k)]);
        }
        if (o.paints[0] == o.paints[1] || (n == 3 && (o.paints[2] == o.paints[0] || o.paints[2] == o.paints[1])))
            continue;
        const RgbColor c = mixRecipe(MixModel::Pigment, paints, amounts).rgb;
        o.measured = {std::clamp(c.red + noise(rng), 0, 255), std::clamp(c.green + noise(rng), 0, 255),
                      std::clamp(c.blue + noise(rng), 0, 255)};
        s.observations.push_back(o);
    }
    return s;
}

void calibrate300Observations13Paints(benchmark::State &state)
{
    const Simulated s = simulate();
    for (auto _ : state)
        benchmark::DoNotOptimize(fitStrengths(s.colors, s.observations));
    const StrengthFit fit = fitStrengths(s.colors, s.observations);
    state.counters["mean_before"] = fit.meanBefore;
    state.counters["mean_after"] = fit.meanAfter;
}
BENCHMARK(calibrate300Observations13Paints)->Unit(benchmark::kMillisecond);

// A recipe of 12 parts with one paint two parts over, in each model.
void correctThreePaintMix(benchmark::State &state)
{
    const auto model = static_cast<MixModel>(state.range(0));
    const std::vector<RecipePaint> paints{{{30, 60, 150}, 1.0}, {{255, 255, 255}, 1.0}, {{200, 160, 40}, 1.0}};
    const std::vector<double> recipe{3, 8, 1};
    const RgbColor target = mixRecipe(model, paints, recipe).rgb;
    const RgbColor got = mixRecipe(model, paints, std::vector<double>{3, 8, 3}).rgb;
    for (auto _ : state)
        benchmark::DoNotOptimize(correctMix(model, paints, recipe, target, got));
}
BENCHMARK(correctThreePaintMix)->Arg(2)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
