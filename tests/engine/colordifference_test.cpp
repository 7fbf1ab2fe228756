#include "engine/colordifference.h"

#include "engine/colorpick.h"
#include "engine/mixsolver.h"
#include "engine/paintbox.h" // the one MixModel printer of this test program

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <sstream>

namespace pigmora {
namespace {

struct PublishedPair {
    int id;
    Lab first;
    Lab second;
    double difference;
};

// The published CIEDE2000 test pairs (data/ciede2000/SOURCES.md).
std::vector<PublishedPair> publishedPairs()
{
    std::ifstream in(PIGMORA_SOURCE_DIR "/data/ciede2000/ciede2000_sharma.csv");
    std::string line;
    std::getline(in, line); // header
    std::vector<PublishedPair> pairs;
    while (std::getline(in, line)) {
        for (char &c : line)
            c = c == ',' ? ' ' : c;
        std::istringstream fields(line);
        PublishedPair p{};
        fields >> p.id >> p.first.lightness >> p.first.a >> p.first.b >> p.second.lightness >> p.second.a >> p.second.b
            >> p.difference;
        pairs.push_back(p);
    }
    return pairs;
}

TEST(DeltaE00, PublishedPairsInBothOrders)
{
    const auto pairs = publishedPairs();
    ASSERT_EQ(pairs.size(), 34u);
    for (const PublishedPair &p : pairs) {
        SCOPED_TRACE("pair " + std::to_string(p.id));
        // Pair 14's hues are exactly opposite: the mean hue must take the
        // same branch as pair 13's (4.8045), not the other half-turn.
        EXPECT_NEAR(deltaE00(p.first, p.second), p.difference, 1e-4);
        EXPECT_NEAR(deltaE00(p.second, p.first), p.difference, 1e-4);
    }
    EXPECT_EQ(deltaE00(Lab{50, 2, -80}, Lab{50, 2, -80}), 0.0);
}

TEST(DeltaE00, SrgbToLab)
{
    struct Case {
        RgbColor rgb;
        Lab lab;
    };
    // The published four-decimal matrix and its own white (hand-computed
    // from the primaries' XYZ columns); grey has a* = b* = 0 exactly.
    const Case cases[] = {
        {{255, 255, 255}, {100.0, 0.0, 0.0}},       {{0, 0, 0}, {0.0, 0.0, 0.0}},
        {{255, 0, 0}, {53.2329, 80.1053, 67.2228}}, {{0, 0, 255}, {32.3026, 79.1936, -107.8537}},
        {{128, 128, 128}, {53.5850, 0.0, 0.0}},
    };
    for (const Case &c : cases) {
        const Lab lab = labOf(c.rgb);
        EXPECT_NEAR(lab.lightness, c.lab.lightness, 1e-4) << c.rgb.red << ',' << c.rgb.green << ',' << c.rgb.blue;
        EXPECT_NEAR(lab.a, c.lab.a, 1e-4) << c.rgb.red << ',' << c.rgb.green << ',' << c.rgb.blue;
        EXPECT_NEAR(lab.b, c.lab.b, 1e-4) << c.rgb.red << ',' << c.rgb.green << ',' << c.rgb.blue;
    }
    // Every channel value survives decoding and encoding, and XYZ maps back.
    for (int v = 0; v < 256; ++v) {
        ASSERT_EQ(linearToSrgb8(srgbToLinear(v)), v);
        double r = 0, g = 0, b = 0;
        linearRgbOfXyz(xyzOfLinearRgb(srgbToLinear(v), srgbToLinear(255 - v), srgbToLinear(v / 2)), r, g, b);
        ASSERT_EQ(linearToSrgb8(r), v);
        ASSERT_EQ(linearToSrgb8(g), 255 - v);
        ASSERT_EQ(linearToSrgb8(b), v / 2);
    }
    EXPECT_EQ(linearToSrgb8(-0.5), 0);
    EXPECT_EQ(linearToSrgb8(7.0), 255);
}

TEST(DeltaE00, TextAndReading)
{
    struct Case {
        double difference;
        const char *text;
        const char *reading;
    };
    const Case cases[] = {
        {0.0, "ΔE00 0.00", "不可见"}, {0.999, "ΔE00 1.00", "不可见"}, // the reading judges the value, not its text
        {1.0, "ΔE00 1.00", "极接近"}, {2.3125, "ΔE00 2.31", "接近"},  {2.0, "ΔE00 2.00", "接近"},
        {4.99, "ΔE00 4.99", "接近"},  {5.0, "ΔE00 5.00", "可见差异"}, {57.5, "ΔE00 57.50", "可见差异"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(deltaE00Text(c.difference), c.text);
        EXPECT_EQ(deltaE00Reading(c.difference), c.reading) << c.difference;
    }
}

TEST(MixingModeSetting, StoredValuesSelectTheModelAndItsText)
{
    struct Case {
        int stored;
        MixModel model;
        const char *text;
    };
    const Case cases[] = {
        {0, MixModel::Subtractive, "减法混色"},  {1, MixModel::Spatial, "空间混色"},
        {2, MixModel::Pigment, "颜料混色"},      {3, MixModel::Subtractive, "减法混色"},
        {-1, MixModel::Subtractive, "减法混色"}, {INT_MAX, MixModel::Subtractive, "减法混色"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(mixModelOfSetting(c.stored), c.model) << c.stored;
        EXPECT_EQ(mixModelStatusText(mixModelOfSetting(c.stored)), c.text) << c.stored;
    }
}

} // namespace
} // namespace pigmora
