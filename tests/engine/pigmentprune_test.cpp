#include "engine/pigmentbound.h"
#include "engine/pigmentsolver.h"

#include "engine/colordifference.h"
#include "engine/paintbox.h"
#include "engine/pigmentmix.h"
#include "engine/strengthfit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

// The pruned pigment search: its bounds hold for every mix they stand for,
// and its answers are the plain search's, bit for bit.
namespace pigmora {
namespace {

// Groups of paints as the search's tree holds them: K/S bounds over the group.
struct Group {
    std::vector<KsCurve> curves;
    KsCurve low;
    KsCurve high;
};

Group groupOf(const std::vector<RgbColor> &colors)
{
    Group group;
    for (const RgbColor &color : colors)
        group.curves.push_back(ksCurveOf(color));
    group.low = group.high = group.curves.front();
    for (const KsCurve &curve : group.curves) {
        for (std::size_t k = 0; k < kPaddedWavelengthCount; ++k) {
            group.low.ks[k] = std::min(group.low.ks[k], curve.ks[k]);
            group.high.ks[k] = std::max(group.high.ks[k], curve.ks[k]);
        }
    }
    return group;
}

// Random groups of near colours (one paint to a few), random concentration
// ranges and strengths: every mix the range stands for, computed as the
// search computes it, lies in the box, and its ΔE00 from a target (near the
// mixes, and anywhere) is no lower than the box's bound. Both kernels.
TEST(PigmentBound, BoxesHoldEveryMixAndBoundItsDifference)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    auto near = [&](const RgbColor &c, int spread) {
        std::uniform_int_distribution<int> d(-spread, spread);
        return RgbColor{std::clamp(c.red + d(rng), 0, 255), std::clamp(c.green + d(rng), 0, 255),
                        std::clamp(c.blue + d(rng), 0, 255)};
    };
    for (int round = 0; round < 300; ++round) {
        const int spread = round % 3 == 0 ? 0 : 12;
        const RgbColor centreA = test::randomColor(rng);
        const RgbColor centreB = test::randomColor(rng);
        std::vector<RgbColor> a{centreA};
        std::vector<RgbColor> b{centreB};
        for (int k = 0; k < round % 4; ++k) {
            a.push_back(near(centreA, spread));
            b.push_back(near(centreB, spread));
        }
        const Group ga = groupOf(a);
        const Group gb = groupOf(b);
        const double strengthA = round % 2 ? 1.0 : std::exp(unit(rng) * 6.0 - 3.0);
        const double strengthB = round % 2 ? 1.0 : std::exp(unit(rng) * 6.0 - 3.0);
        // Shares in thousandths as the search takes them, k0 <= k1.
        int k0 = static_cast<int>(unit(rng) * 1001.0);
        int k1 = static_cast<int>(unit(rng) * 1001.0);
        if (k0 > k1)
            std::swap(k0, k1);
        auto concentration = [&](int k) {
            std::array<double, 2> c{};
            pigmentConcentrations(std::array<double, 2>{double(k), double(1000 - k)},
                                  std::array<double, 2>{strengthA, strengthB}, c);
            return c;
        };
        const double cLow = concentrationBelow(concentration(k0)[0]);
        const double cHigh = concentrationAbove(concentration(k1)[0]);
        const KsBounds first{ga.low.ks.data(), ga.high.ks.data()};
        const KsBounds second{gb.low.ks.data(), gb.high.ks.data()};
        const XyzBox boxes[] = {pigmentMixBox(first, second, cLow, cHigh),
                                pigmentMixBoxScalar(first, second, cLow, cHigh)};
        const Xyz someMix = pigmentXyz(ga.curves.back(), concentration(k0)[0], gb.curves.back(), concentration(k0)[1]);
        // The mix itself, one near it, one anywhere, and a strong blue, where
        // ΔE00's rotation term is strongest.
        std::uniform_int_distribution<int> dim(0, 90);
        std::uniform_int_distribution<int> bright(170, 255);
        const Lab targets[] = {pigmentLab(someMix), labOf(near(pigmentRgb(someMix), 4)), labOf(test::randomColor(rng)),
                               labOf(RgbColor{dim(rng), dim(rng), bright(rng)})};
        for (const Lab &target : targets) {
            for (const XyzBox &box : boxes) {
                const double bound = xyzBoxLowerBound(boundTarget(target), box);
                for (const KsCurve &x : ga.curves) {
                    for (const KsCurve &y : gb.curves) {
                        for (int k = k0; k <= k1; k += std::max(1, (k1 - k0) / 40)) {
                            const auto c = concentration(k);
                            const Xyz mix = pigmentXyz(x, c[0], y, c[1]);
                            ASSERT_TRUE(boxHolds(box, mix.x, mix.y, mix.z)) << round << " share " << k;
                            const double difference = deltaE00(target, pigmentLab(mix));
                            ASSERT_LE(bound, difference) << round << " share " << k;
                            // Within a limit, a mix lies in the target's box.
                            ASSERT_TRUE(boxHolds(targetXyzBox(target, difference), mix.x, mix.y, mix.z)) << round;
                        }
                    }
                }
            }
        }
    }
}

// A box of one mix bounds its ΔE00 closely, so the search rules out what it
// should: at least a fifth of it always, and nine tenths for half the mixes
// (random pairs, shares and targets).
TEST(PigmentBound, AOneMixBoxIsBoundedClosely)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<double> ratios;
    for (int round = 0; round < 20000; ++round) {
        const KsCurve a = ksCurveOf(test::randomColor(rng));
        const KsCurve b = ksCurveOf(test::randomColor(rng));
        const Lab target = labOf(test::randomColor(rng));
        const double c = unit(rng);
        const XyzBox box = pigmentMixBox({a.ks.data(), a.ks.data()}, {b.ks.data(), b.ks.data()},
                                         concentrationBelow(c), concentrationAbove(c));
        const double difference = deltaE00(target, pigmentLab(pigmentXyz(a, c, b, 1.0 - c)));
        if (difference > 0.5)
            ratios.push_back(xyzBoxLowerBound(boundTarget(target), box) / difference);
    }
    std::sort(ratios.begin(), ratios.end());
    EXPECT_GE(ratios.front(), 0.2);
    EXPECT_GE(ratios[ratios.size() / 2], 0.9);
}

// Random boxes (with repeated colours, so that mixes tie), targets anywhere
// and targets mixed from the box at fine shares, with and without tinting
// strengths: the pruned solve answers as the plain one does, bit for bit,
// and scores the same difference.
TEST(PigmentPrune, AnswersAreThoseOfThePlainSearch)
{
    std::mt19937 rng(23);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int round = 0; round < 40; ++round) {
        const int n = 2 + static_cast<int>(unit(rng) * 45.0);
        std::vector<RgbColor> colors;
        for (int k = 0; k < n; ++k)
            colors.push_back(k > 2 && unit(rng) < 0.15 ? colors[static_cast<std::size_t>(k / 2)] : test::randomColor(rng));
        const auto box = test::paintBox(colors);
        std::vector<double> strengths;
        if (round % 2) {
            for (int k = 0; k < n; ++k) {
                const double pick = unit(rng);
                strengths.push_back(pick < 0.1 ? kMinStrength : pick < 0.2 ? kMaxStrength : std::exp(unit(rng) * 4.0 - 2.0));
            }
        }
        RgbColor target = test::randomColor(rng);
        if (round % 3 == 1) {
            // A touch of one paint in another: the fine shares.
            const auto i = static_cast<std::size_t>(unit(rng) * n);
            const auto j = (i + 1) % colors.size();
            target = mixPigments(std::vector{colors[i], colors[j]}, std::vector{3.0, 997.0}).rgb;
        }
        MixResult pruned = MixResult::forTarget(target);
        MixResult plain = pruned;
        double prunedDifference = -1.0;
        double plainDifference = -1.0;
        const bool found = findPigmentMix(box, strengths, pruned, &prunedDifference);
        ASSERT_EQ(found, reference::findPigmentMix(box, strengths, plain, &plainDifference)) << round;
        EXPECT_TRUE(test::sameResult(pruned, plain)) << round;
        EXPECT_EQ(prunedDifference, plainDifference) << round;
    }
}

} // namespace
} // namespace pigmora
