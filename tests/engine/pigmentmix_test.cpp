#include "engine/pigmentmix.h"

#include "engine/colordifference.h"
#include "engine/paintbox.h"
#include "engine/pigmentsearch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace pigmora {
namespace {

// The compiled tables hold exactly the numbers of data/colorimetry/.
std::vector<std::vector<double>> readTable(const std::string &name)
{
    std::ifstream in(PIGMORA_SOURCE_DIR "/data/colorimetry/" + name);
    std::vector<std::vector<double>> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#' || line.rfind("nm", 0) == 0)
            continue;
        std::istringstream fields(line);
        std::vector<double> row;
        std::string field;
        while (std::getline(fields, field, '\t'))
            row.push_back(std::strtod(field.c_str(), nullptr));
        rows.push_back(row);
    }
    return rows;
}

TEST(PigmentMix, CompiledTablesEqualTheDataFiles)
{
    const auto observer = readTable("cie1931_2deg_d65_5nm.tsv");
    const auto basis = readTable("mallett2019_srgb_basis.tsv");
    ASSERT_EQ(observer.size(), 81u);
    ASSERT_EQ(basis.size(), 81u);
    for (std::size_t k = 0; k < 81; ++k) {
        const auto &o = spectral::kObserverD65[k];
        const auto &b = spectral::kSrgbBasis[k];
        EXPECT_EQ(observer[k], (std::vector<double>{380.0 + 5.0 * k, o.xbar, o.ybar, o.zbar, o.d65})) << k;
        EXPECT_EQ(basis[k], (std::vector<double>{380.0 + 5.0 * k, b.red, b.green, b.blue})) << k;
    }
    EXPECT_NEAR(observerWeights().white.y, 1.0, 1e-12);
}

TEST(PigmentMix, PublishedMixesWithinOnePerChannel)
{
    struct Case {
        std::vector<RgbColor> colors;
        std::vector<double> parts;
        RgbColor expected;
    };
    const Case cases[] = {
        {{{255, 0, 0}, {0, 0, 255}}, {1, 1}, {56, 22, 53}},
        {{{255, 255, 0}, {0, 0, 255}}, {1, 1}, {0, 73, 102}},
        {{{230, 210, 40}, {20, 40, 150}}, {2, 1}, {39, 82, 86}},
        {{{255, 255, 255}, {61, 41, 156}}, {1, 1}, {82, 62, 180}},
        // Parts need not add up to one; three paints of one colour stay that colour.
        {{{255, 255, 255}, {61, 41, 156}}, {3.5, 3.5}, {82, 62, 180}},
        {{{90, 120, 60}, {90, 120, 60}, {90, 120, 60}}, {1, 2, 3}, {90, 120, 60}},
    };
    for (const Case &c : cases) {
        const RgbColor mixed = mixPigments(c.colors, c.parts).rgb;
        EXPECT_LE(std::abs(mixed.red - c.expected.red), 1) << c.expected.red;
        EXPECT_LE(std::abs(mixed.green - c.expected.green), 1) << c.expected.green;
        EXPECT_LE(std::abs(mixed.blue - c.expected.blue), 1) << c.expected.blue;
    }
}

// One sweep: a paint mixed with itself looks like itself.
TEST(PigmentMix, PaintMixedWithItselfReturnsItsOwnColour)
{
    double worst = 0.0;
    for (int r = 0; r <= 255; r += 5) {
        for (int g = 0; g <= 255; g += 5) {
            for (int b = 0; b <= 255; b += 5) {
                const KsCurve curve = ksCurveOf({r, g, b});
                const double d = deltaE00(labOf({r, g, b}), pigmentLab(pigmentXyz(curve, 0.37, curve, 0.63)));
                worst = std::max(worst, d);
            }
        }
    }
    EXPECT_LT(worst, 0.5);
}

// The search's pruning rests on these bounds never exceeding a true
// difference: every share of random pairs, and the lanes against pigmentXyz.
TEST(PigmentMix, LowerBoundsNeverExceedTheDifference)
{
    std::mt19937 rng(77);
    PigmentLanes lanes;
    for (int k = 0; k <= 100; ++k) {
        lanes.c1[static_cast<std::size_t>(k)] = k / 100.0;
        lanes.c2[static_cast<std::size_t>(k)] = (100 - k) / 100.0;
    }
    for (int i = 0; i < 1500; ++i) {
        // Targets near one of the paints make the bounds tight.
        const RgbColor a = test::randomColor(rng);
        const RgbColor b = i % 3 == 0 ? RgbColor{255 - a.red, a.green, a.blue / 2} : test::randomColor(rng);
        const RgbColor t = i % 2 == 0 ? test::randomColor(rng) : RgbColor{a.red / 2 + b.red / 2, a.green, b.blue};
        const Lab target = labOf(t);
        const KsCurve ka = ksCurveOf(a);
        const KsCurve kb = ksCurveOf(b);
        const double pairBound = pairLowerBound(target, reflectanceOf(ka), reflectanceOf(kb));
        LaneXyz lanesXyz;
        pigmentLanesXyz(ka, kb, nullptr, lanes, lanesXyz);
        for (int k = 0; k <= 100; ++k) {
            const auto l = static_cast<std::size_t>(k);
            const Xyz xyz = pigmentXyz(ka, k / 100.0, kb, (100 - k) / 100.0);
            ASSERT_TRUE(xyz.x == lanesXyz.x[l] && xyz.y == lanesXyz.y[l] && xyz.z == lanesXyz.z[l]) << i << ' ' << k;
            const Lab lab = pigmentLab(xyz);
            const double d = deltaE00(target, lab);
            ASSERT_LE(pairBound, d) << i << ' ' << k;
            ASSERT_LE(deltaE00LowerBound(target, lab), d) << i << ' ' << k;
        }
    }
}

} // namespace
} // namespace pigmora
