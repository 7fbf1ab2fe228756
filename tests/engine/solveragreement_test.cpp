#include "engine/mixsolver.h"

#include "data/colormanager.h"
#include "engine/paintbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

// Many random boxes and targets: the fast solve against the plain one, and
// properties every answer must have.
namespace pigmora {
namespace {

// Clamped: records with channels outside 0..255. Mirrored: one offset,
// permuted and negated around a centre, so many pairs tie. Sheets: tints and
// shades of three hues, a little apart, which leave most targets without a
// near match.
enum class BoxKind { Uniform, Extremes, EqualPaints, Greys, NearColours, Clamped, Mirrored, Sheets };

RgbColor mirroredColor(std::mt19937 &rng, const RgbColor &centre, const RgbColor &offset)
{
    std::uniform_int_distribution<int> choice(0, 5);
    std::uniform_int_distribution<int> sign(0, 1);
    const int turn = choice(rng);
    const int parts[3] = {offset.red, offset.green, offset.blue};
    int channel[3];
    for (int c = 0; c < 3; ++c)
        channel[c] = parts[(c + turn) % 3] * (sign(rng) ? 1 : -1);
    if (turn >= 3)
        std::swap(channel[0], channel[1]);
    return {centre.red + channel[0], centre.green + channel[1], centre.blue + channel[2]};
}

RgbColor sheetColor(std::mt19937 &rng, const std::vector<RgbColor> &hues)
{
    std::uniform_int_distribution<std::size_t> hue(0, hues.size() - 1);
    std::uniform_real_distribution<double> part(0.0, 1.0);
    std::uniform_int_distribution<int> jitter(-1, 1);
    const RgbColor &h = hues[hue(rng)];
    const double white = 0.9 * part(rng);
    const double black = (0.95 - white) * part(rng);
    auto channel = [&](int v) {
        return std::clamp(static_cast<int>(v * (1.0 - white - black) + 255.0 * white) + jitter(rng), 0, 255);
    };
    const int r = channel(h.red);
    const int g = channel(h.green);
    return {r, g, channel(h.blue)};
}

std::vector<RgbColor> randomColors(std::mt19937 &rng, BoxKind kind, int count)
{
    std::uniform_int_distribution<int> bit(0, 1);
    std::uniform_int_distribution<int> jitter(-3, 3);
    std::uniform_int_distribution<int> wide(-60, 320);
    std::uniform_int_distribution<int> small(0, 40);
    const RgbColor centre = test::randomColor(rng);
    const std::vector<RgbColor> pool{test::randomColor(rng), test::randomColor(rng), {0, 0, 0}, {255, 255, 255}};
    std::uniform_int_distribution<std::size_t> fromPool(0, pool.size() - 1);
    const RgbColor offset{small(rng), small(rng), small(rng)};
    const RgbColor inner{40 + centre.red * 175 / 255, 40 + centre.green * 175 / 255, 40 + centre.blue * 175 / 255};
    const std::vector<RgbColor> hues{test::randomColor(rng), test::randomColor(rng), test::randomColor(rng)};
    std::vector<RgbColor> colors;
    for (int i = 0; i < count; ++i) {
        switch (kind) {
        case BoxKind::Clamped: {
            const int r = wide(rng);
            const int g = wide(rng);
            colors.push_back({r, g, wide(rng)});
            break;
        }
        case BoxKind::Mirrored:
            colors.push_back(mirroredColor(rng, inner, offset));
            break;
        case BoxKind::Sheets:
            colors.push_back(sheetColor(rng, hues));
            break;
        case BoxKind::Uniform:
            colors.push_back(test::randomColor(rng));
            break;
        case BoxKind::Extremes: {
            const int r = bit(rng) * 255;
            const int g = bit(rng) * 255;
            colors.push_back({r, g, bit(rng) * 255});
            break;
        }
        case BoxKind::EqualPaints:
            colors.push_back(pool[fromPool(rng)]);
            break;
        case BoxKind::Greys: {
            const int v = test::randomColor(rng).red;
            colors.push_back({v, v, v});
            break;
        }
        case BoxKind::NearColours: {
            const int r = jitter(rng);
            const int g = jitter(rng);
            colors.push_back(clampedColor({centre.red + r, centre.green + g, centre.blue + jitter(rng)}));
            break;
        }
        }
    }
    return colors;
}

// A target that is random, a box colour or close to one (clamped), or the
// midpoint of two box colours.
RgbColor randomTarget(std::mt19937 &rng, const std::vector<RgbColor> &colors)
{
    std::uniform_int_distribution<int> pick(0, 4);
    std::uniform_int_distribution<int> jitter(-4, 4);
    std::uniform_int_distribution<std::size_t> index(0, colors.size() - 1);
    const int choice = pick(rng);
    if (choice < 2 || colors.empty())
        return test::randomColor(rng);
    const RgbColor c = clampedColor(colors[index(rng)]);
    if (choice == 4) {
        const RgbColor d = clampedColor(colors[index(rng)]);
        return {(c.red + d.red) / 2, (c.green + d.green) / 2, (c.blue + d.blue) / 2};
    }
    if (choice == 2)
        return c;
    const int r = jitter(rng);
    const int g = jitter(rng);
    return clampedColor({c.red + r, c.green + g, c.blue + jitter(rng)});
}

void expectSameAsReference(MixModel model, const std::vector<PaintColorRecord> &box, const RgbColor &target)
{
    MixResult fast = MixResult::forTarget(target);
    MixResult plain = fast;
    const bool fastFound = findMix(model, box, fast);
    const bool plainFound = reference::findMix(model, box, plain);
    ASSERT_EQ(fastFound, plainFound);
    ASSERT_TRUE(test::sameResult(fast, plain))
        << "box of " << box.size() << ", target " << target.red << ',' << target.green << ',' << target.blue;
    if (!fastFound)
        return;
    // The shares are single-precision products; their sum is 1 within a few ulps.
    ASSERT_TRUE(fast.isValid());
    const float sum = fast.proportions[0] + fast.proportions[1] + fast.proportions[2];
    ASSERT_NEAR(sum, 1.0f, 4e-7f);
    for (const float p : fast.proportions)
        ASSERT_GE(p, 0.0f);
}

class AgreementTest : public ::testing::TestWithParam<MixModel>
{ };

struct SweepRow {
    BoxKind kind;
    int fewest;
    int most;
    int boxes;
    bool pigmentToo;
};

// The larger boxes reach both walks of the pruned pair search, its classes
// and its skipping of repeated colours.
constexpr SweepRow kSweep[] = {
    {BoxKind::Uniform, 1, 22, 500, true},     {BoxKind::Extremes, 1, 22, 500, true},
    {BoxKind::EqualPaints, 1, 22, 500, true}, {BoxKind::Greys, 1, 22, 500, true},
    {BoxKind::NearColours, 1, 22, 500, true}, {BoxKind::Uniform, 1, 2, 500, false},
    {BoxKind::Clamped, 1, 22, 300, false},    {BoxKind::Mirrored, 2, 40, 300, false},
    {BoxKind::Sheets, 20, 70, 100, false},    {BoxKind::Uniform, 40, 70, 50, false},
    {BoxKind::Greys, 40, 70, 50, false},      {BoxKind::EqualPaints, 40, 70, 50, false},
};

TEST_P(AgreementTest, FastSolveMatchesTheReferenceOnRandomBoxes)
{
    std::mt19937 rng(1234 + static_cast<int>(GetParam()));
    // The plain pigment search scores every share in full: smaller boxes.
    const bool pigment = GetParam() == MixModel::Pigment;
    for (const SweepRow &row : kSweep) {
        if (pigment && !row.pigmentToo)
            continue;
        std::uniform_int_distribution<int> size(row.fewest, pigment ? 9 : row.most);
        for (int i = 0; i < (pigment ? 300 : row.boxes); ++i) {
            const std::vector<RgbColor> colors = randomColors(rng, row.kind, size(rng));
            const auto box = test::paintBox(colors);
            for (int t = 0; t < 2; ++t)
                ASSERT_NO_FATAL_FAILURE(expectSameAsReference(GetParam(), box, randomTarget(rng, colors)))
                    << "kind " << static_cast<int>(row.kind);
        }
    }
}

TEST_P(AgreementTest, FastSolveMatchesTheReferenceOnBuiltInBoxes)
{
    CColorManager manager{"/nonexistent"};
    ASSERT_TRUE(manager.buildBuiltInCatalogue());
    const std::vector<PaintColorRecord> provisional(manager.currentBoxRecords().begin(),
                                                    manager.currentBoxRecords().end());
    const auto catalogue = manager.catalogueRecords();
    // Every 8th paint: 33 paints of all groups, with equal colours among them.
    std::vector<PaintColorRecord> spread;
    for (std::size_t i = 0; i < catalogue.size(); i += 8)
        spread.push_back(catalogue[i]);
    std::mt19937 rng(99);
    for (int i = 0; i < (GetParam() == MixModel::Pigment ? 12 : 400); ++i) {
        const auto &box = i % 4 == 0 ? spread : provisional;
        ASSERT_NO_FATAL_FAILURE(expectSameAsReference(GetParam(), box, test::randomColor(rng)));
    }
}

TEST_P(AgreementTest, TwoPaintBoxesAlwaysSucceed)
{
    std::mt19937 rng(7);
    for (int i = 0; i < 2000; ++i) {
        const auto box = test::paintBox({test::randomColor(rng), test::randomColor(rng)});
        MixResult result = MixResult::forTarget(test::randomColor(rng));
        ASSERT_TRUE(findMix(GetParam(), box, result));
        ASSERT_TRUE(result.isValid());
    }
}

INSTANTIATE_TEST_SUITE_P(BothModels, AgreementTest, ::testing::Values(MixModel::Subtractive, MixModel::Spatial),
                         ::testing::PrintToStringParamName());
INSTANTIATE_TEST_SUITE_P(PigmentModel, AgreementTest, ::testing::Values(MixModel::Pigment),
                         ::testing::PrintToStringParamName());

double distanceToMix(const RgbColor &target, const RgbColor &a, const RgbColor &b, double s)
{
    const double dr = s * a.red + (1 - s) * b.red - target.red;
    const double dg = s * a.green + (1 - s) * b.green - target.green;
    const double db = s * a.blue + (1 - s) * b.blue - target.blue;
    return std::sqrt(dr * dr + dg * dg + db * db);
}

// No share found by scanning the segment finely beats the fitted share by more
// than the rounding of the share to single precision.
TEST(SpatialProjectionTest, FittedShareIsTheClosestPointOfTheSegment)
{
    std::mt19937 rng(31);
    constexpr int kSteps = 4000;
    for (int i = 0; i < 3000; ++i) {
        const RgbColor target = test::randomColor(rng);
        const RgbColor a = test::randomColor(rng);
        const RgbColor b = test::randomColor(rng);
        const PairFit fit = fitSpatialPair(target, a, b);
        ASSERT_NEAR(fit.distance, distanceToMix(target, a, b, fit.share), 1e-6);
        double scanned = kStartDistance;
        for (int k = 0; k <= kSteps; ++k)
            scanned = std::min(scanned, distanceToMix(target, a, b, static_cast<double>(k) / kSteps));
        if (!fit.secondUsed && distanceToMix(target, a, b, 0.0) < fit.distance) {
            // The projection lies beyond B: the fit still answers A alone.
            ASSERT_EQ(fit.distance, colorDistance(target, a));
            continue;
        }
        ASSERT_GE(scanned, fit.distance - 1e-4) << i;
        ASSERT_LE(scanned, fit.distance + 0.06) << i;
    }
}

} // namespace
} // namespace pigmora
