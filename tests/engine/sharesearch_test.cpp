#include "engine/sharesearch.h"

#include "engine/paintbox.h"

#include <gtest/gtest.h>

#include <bit>
#include <string>

namespace pigmora {
namespace {

TEST(SubtractiveSharesTest, AreTheSinglePrecisionWalkFromZero)
{
    const SubtractiveShares &table = subtractiveShares();
    EXPECT_EQ(table.shareAsFloat[0], 0.0f);
    EXPECT_EQ(table.shareAsFloat[1], 0.01f);
    EXPECT_EQ(table.shareAsFloat[50], 0.49999982f);
    EXPECT_EQ(table.shareAsFloat[100], 0.99999934f);
    float p = 0.0f;
    for (std::size_t k = 0; k < kPaddedShareCount; ++k) {
        const bool padding = k >= kSubtractiveShareCount;
        const float share = padding ? 0.0f : p;
        ASSERT_EQ(table.shareAsFloat[k], share) << k;
        ASSERT_EQ(table.share[k], static_cast<double>(share)) << k;
        ASSERT_EQ(table.weight[k], share < 0.5f ? static_cast<double>(share) : 1.0 - share) << k;
        p = static_cast<float>(static_cast<double>(p) + 0.01);
    }
    // The walk ends after 101 shares.
    EXPECT_GE(static_cast<float>(static_cast<double>(table.shareAsFloat[100]) + 0.01), 1.0f);
}

struct Kernel {
    std::string name;
    ShareDistancesFn distances;
};

std::vector<Kernel> kernels()
{
    std::vector<Kernel> list{{"Scalar", shareDistancesScalar}};
#if defined(__x86_64__) || defined(__SSE2__)
    list.push_back({"Sse2", shareDistancesSse2});
    if (avx2Supported())
        list.push_back({"Avx2", shareDistancesAvx2});
#endif
    return list;
}

void PrintTo(const Kernel &kernel, std::ostream *os)
{
    *os << kernel.name;
}

class ShareDistancesTest : public ::testing::TestWithParam<Kernel>
{ };

// Every channel pair at every share: with a black target and the other
// channels 0 the squared distance is the mixed red channel squared.
TEST_P(ShareDistancesTest, MatchesTheMixOfEveryChannelPairAtEveryShare)
{
    const SubtractiveShares &table = subtractiveShares();
    alignas(32) double sums[kPaddedShareCount];
    for (int a = 0; a <= 255; ++a) {
        for (int b = 0; b <= 255; ++b) {
            const RgbColor colorA{a, 0, 0};
            const RgbColor colorB{b, 0, 0};
            GetParam().distances({0, 0, 0}, colorA, colorB, sums);
            for (std::size_t k = 0; k < kSubtractiveShareCount; ++k) {
                const int red = mixSubtractive(colorA, colorB, table.shareAsFloat[k]).red;
                ASSERT_EQ(sums[k], static_cast<double>(red * red)) << a << ' ' << b << ' ' << k;
            }
        }
    }
}

TEST_P(ShareDistancesTest, FitEqualsThePlainFitOnRandomAndExtremeColours)
{
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> pick(0, 3);
    auto color = [&] {
        switch (pick(rng)) {
        case 0: { // extremes
            std::uniform_int_distribution<int> bit(0, 1);
            const int r = bit(rng) * 255;
            const int g = bit(rng) * 255;
            return RgbColor{r, g, bit(rng) * 255};
        }
        case 1: { // grey
            const int v = test::randomColor(rng).red;
            return RgbColor{v, v, v};
        }
        default:
            return test::randomColor(rng);
        }
    };
    for (int i = 0; i < 20000; ++i) {
        const RgbColor target = color();
        const RgbColor a = color();
        const RgbColor b = i % 50 == 0 ? a : color();
        const PairFit plain = fitSubtractivePair(target, a, b);
        const PairFit fast = fitSubtractivePairWith(GetParam().distances, target, a, b);
        ASSERT_EQ(std::bit_cast<std::uint32_t>(fast.share), std::bit_cast<std::uint32_t>(plain.share)) << i;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(fast.distance), std::bit_cast<std::uint64_t>(plain.distance)) << i;
        ASSERT_EQ(fast.firstUsed, plain.firstUsed);
        ASSERT_EQ(fast.secondUsed, plain.secondUsed);
    }
}

INSTANTIATE_TEST_SUITE_P(Kernels, ShareDistancesTest, ::testing::ValuesIn(kernels()),
                         [](const ::testing::TestParamInfo<Kernel> &kernel) { return kernel.param.name; });

} // namespace
} // namespace pigmora
