#include "engine/pairbound.h"
#include "engine/pairsearch.h"

#include "engine/paintbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <future>
#include <limits>
#include <thread>

// The bounds the pruned pair search skips pairs by, and the solve's cancel
// and progress hook. The search's answers are compared with the plain search
// in solveragreement_test.cpp.
namespace pigmora {
namespace {

enum class Triple { Uniform, SamePaints, Greys, Extremes, TargetBetween, TargetNear };

// A target and two paints of the given kind.
std::array<RgbColor, 3> randomTriple(std::mt19937 &rng, Triple kind)
{
    std::uniform_int_distribution<int> bit(0, 1);
    std::uniform_int_distribution<int> jitter(-6, 6);
    auto grey = [&] {
        const int v = test::randomColor(rng).red;
        return RgbColor{v, v, v};
    };
    auto extreme = [&] {
        const int r = bit(rng) * 255;
        const int g = bit(rng) * 255;
        return RgbColor{r, g, bit(rng) * 255};
    };
    const RgbColor a = kind == Triple::Greys ? grey() : kind == Triple::Extremes ? extreme() : test::randomColor(rng);
    const RgbColor b = kind == Triple::SamePaints ? a
        : kind == Triple::Greys                   ? grey()
        : kind == Triple::Extremes                ? extreme()
                                                  : test::randomColor(rng);
    RgbColor target = test::randomColor(rng);
    if (kind == Triple::TargetBetween || kind == Triple::Greys) {
        // Near the middle of the pair, where the subtractive mix darkens most.
        const int r = jitter(rng);
        const int g = jitter(rng);
        target
            = clampedColor({(a.red + b.red) / 2 + r, (a.green + b.green) / 2 + g, (a.blue + b.blue) / 2 + jitter(rng)});
    } else if (kind == Triple::TargetNear) {
        const int r = jitter(rng);
        const int g = jitter(rng);
        target = clampedColor({a.red + r, a.green + g, a.blue + jitter(rng)});
    }
    return {target, a, b};
}

class PairBoundTest : public ::testing::TestWithParam<MixModel>
{ };

// The bounds are sound at their tightest: a limit just above a pair's own
// fit distance never rejects it.
TEST_P(PairBoundTest, NeverRejectsAPairAtItsOwnDistance)
{
    const MixModel model = GetParam();
    std::mt19937 rng(77);
    int rejectedAtOwnDistance = 0;
    for (const Triple kind : {Triple::Uniform, Triple::SamePaints, Triple::Greys, Triple::Extremes,
                              Triple::TargetBetween, Triple::TargetNear}) {
        for (int i = 0; i < 40000; ++i) {
            const auto [target, a, b] = randomTriple(rng, kind);
            const PairFit fit
                = model == MixModel::Spatial ? fitSpatialPair(target, a, b) : fitSubtractivePair(target, a, b);
            const double limit = std::nextafter(fit.distance, std::numeric_limits<double>::infinity());
            ASSERT_TRUE(pairMayComeCloser(model, target, a, b, limit))
                << static_cast<int>(kind) << ": " << a.red << ',' << a.green << ',' << a.blue << " + " << b.red << ','
                << b.green << ',' << b.blue << " for " << target.red << ',' << target.green << ',' << target.blue;
            // ... and it does reject the pair a little further in.
            if (fit.distance > 1.0 && !pairMayComeCloser(model, target, a, b, fit.distance - 1.0))
                ++rejectedAtOwnDistance;
        }
    }
    // The bounds are tight enough to reject some pairs with a one-unit margin.
    EXPECT_GT(rejectedAtOwnDistance, 1000);
}

// The vectorised kernel lets through exactly the pairs the scalar one does,
// for any range (partial vectors included) and limit.
TEST_P(PairBoundTest, KernelsAgree)
{
#if defined(__x86_64__)
    if (bestPairCandidates() == pairCandidatesScalar)
        GTEST_SKIP() << "no AVX on this processor";
    const MixModel model = GetParam();
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> bound(0, 41);
    for (int round = 0; round < 300; ++round) {
        std::vector<RgbColor> colors;
        for (int k = 0; k < 41; ++k)
            colors.push_back(round % 3 == 0 ? RgbColor{k * 6, k * 6, k * 6} : test::randomColor(rng));
        const RgbColor target = test::randomColor(rng);
        const RelativeColors relative(colors, target);
        int begin = bound(rng);
        int end = bound(rng);
        if (begin > end)
            std::swap(begin, end);
        const double limits[] = {0.0, 3.0, 10.0, 40.0, 150.0, std::numeric_limits<double>::infinity()};
        const BoundLimits limit = boundLimits(model, limits[round % 6]);
        const ColorOffset a = offsetFrom(test::randomColor(rng), target);
        std::vector<int> scalar(41);
        std::vector<int> vectorised(41);
        scalar.resize(
            static_cast<std::size_t>(pairCandidatesScalar(model, relative, a, begin, end, limit, scalar.data())));
        vectorised.resize(
            static_cast<std::size_t>(pairCandidatesAvx(model, relative, a, begin, end, limit, vectorised.data())));
        ASSERT_EQ(scalar, vectorised) << round;
    }
#else
    GTEST_SKIP() << "no vectorised kernel";
#endif
}

INSTANTIATE_TEST_SUITE_P(BothModels, PairBoundTest, ::testing::Values(MixModel::Subtractive, MixModel::Spatial),
                         ::testing::PrintToStringParamName());

// A box large enough that a solve takes many looks at the cancel flag and the
// search bounds pairs in several runs per class, with most targets out of
// reach of a near match.
std::vector<PaintColorRecord> largeBox()
{
    std::mt19937 rng(11);
    std::vector<RgbColor> colors;
    for (int k = 0; k < 1100; ++k) {
        const RgbColor c = test::randomColor(rng);
        colors.push_back({c.red / 2, c.green / 2, c.blue / 2});
    }
    return test::paintBox(colors);
}

class SolveControlTest : public ::testing::TestWithParam<MixModel>
{ };

TEST_P(SolveControlTest, WithoutCancelGivesTheReferenceAnswerAndRisesToDone)
{
    const auto box = largeBox();
    for (const RgbColor target : {RgbColor{250, 250, 250}, RgbColor{60, 70, 80}}) {
        MixResult plain = MixResult::forTarget(target);
        MixResult controlled = plain;
        SolveControl control;
        std::vector<int> seen;
        control.onProgress = [&](int progress) { seen.push_back(progress); };
        // The walks run the same for both models; the plain subtractive search
        // of this box would take seconds.
        const bool expected = GetParam() == MixModel::Spatial ? reference::findMix(GetParam(), box, plain)
                                                              : findMix(GetParam(), box, plain);
        ASSERT_EQ(findMix(GetParam(), box, controlled, control), expected);
        EXPECT_TRUE(test::sameResult(controlled, plain));
        ASSERT_FALSE(seen.empty());
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        EXPECT_EQ(seen.back(), SolveControl::kProgressDone);
        EXPECT_EQ(control.progress(), SolveControl::kProgressDone);
    }
}

TEST_P(SolveControlTest, CancelStopsTheSolveWithoutAnAnswer)
{
    const auto box = largeBox();
    const RgbColor target{250, 250, 250}; // far from every paint: both walks run
    // Cancelled before it starts: the result stays as it was.
    {
        SolveControl control;
        control.cancel();
        MixResult result = MixResult::forTarget(target);
        EXPECT_FALSE(findMix(GetParam(), box, result, control));
        EXPECT_TRUE(test::sameResult(result, MixResult::forTarget(target)));
    }
    // Cancelled midway, from the progress report.
    {
        SolveControl control;
        int lastSeen = 0;
        control.onProgress = [&](int progress) {
            lastSeen = progress;
            if (progress >= 300)
                control.cancel();
        };
        MixResult result = MixResult::forTarget(target);
        EXPECT_FALSE(findMix(GetParam(), box, result, control));
        EXPECT_TRUE(control.isCancelled());
        EXPECT_GE(lastSeen, 300);
        EXPECT_LT(lastSeen, SolveControl::kProgressDone);
    }
    // Cancelled from another thread while the solve runs on a worker, held
    // midway until the cancel is made.
    {
        SolveControl control;
        std::promise<void> midway;
        std::promise<void> cancelMade;
        bool held = false;
        control.onProgress = [&](int progress) {
            if (progress >= 100 && !held) {
                held = true;
                midway.set_value();
                cancelMade.get_future().wait();
            }
        };
        MixResult result = MixResult::forTarget(target);
        bool found = true;
        std::thread worker([&] { found = findMix(GetParam(), box, result, control); });
        midway.get_future().wait();
        control.cancel();
        cancelMade.set_value();
        worker.join();
        EXPECT_FALSE(found);
        EXPECT_LT(control.progress(), SolveControl::kProgressDone);
    }
}

INSTANTIATE_TEST_SUITE_P(AllModels, SolveControlTest,
                         ::testing::Values(MixModel::Subtractive, MixModel::Spatial, MixModel::Pigment),
                         ::testing::PrintToStringParamName());

} // namespace
} // namespace pigmora
