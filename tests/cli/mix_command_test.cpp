#include "clitest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace pigmora::test {
namespace {

struct GoodMix {
    const char *name;
    std::vector<std::string> args;
    const char *out;
};

class GoodMixes : public ::testing::TestWithParam<GoodMix>
{ };

// The command reads and writes no data file.
TEST_P(GoodMixes, PrintThePredictedColour)
{
    TempDir dir;
    std::vector<std::string> args{"mix"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    const auto run = runCli(args, {}, dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, GetParam().out);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

INSTANTIATE_TEST_SUITE_P(
    Mix, GoodMixes,
    ::testing::Values(
        GoodMix{
            "PigmentByDefault",
            {"--json", "230,210,40:2", "#142896:1"},
            "{\"mode\":\"pigment\",\"paints\":[{\"rgb\":[230,210,40],\"parts\":2},{\"rgb\":[20,40,150],\"parts\":1}],"
            "\"rgb\":[39,82,86],\"lab\":[31.9978,-13.7023,-6.8757]}\n"},
        GoodMix{"ThreePigments",
                {"255,255,255:1", "61,41,156:1", "255,255,0:0.5"},
                "88,78,122  Lab 35.7770 14.5224 -23.6069  (pigment)\n"},
        GoodMix{
            "SubtractiveRedAndBlue",
            {"--mode", "subtractive", "--json", "255,0,0:1", "0,0,255:1"},
            "{\"mode\":\"subtractive\",\"paints\":[{\"rgb\":[255,0,0],\"parts\":1},{\"rgb\":[0,0,255],\"parts\":1}],"
            "\"rgb\":[0,0,0],\"lab\":[0.0000,0.0000,0.0000]}\n"},
        // Black's share 1/4: each channel 255·0.75 truncated.
        GoodMix{"SpatialShareOfTheFirst",
                {"--mode", "spatial", "0,0,0:1", "255,255,255:3"},
                "191,191,191  Lab 77.3403 0.0000 0.0000  (spatial)\n"}),
    [](const ::testing::TestParamInfo<GoodMix> &param) { return param.param.name; });

struct BadMix {
    const char *name;
    std::vector<std::string> args;
    int status;
    const char *errorContains;
};

class BadMixes : public ::testing::TestWithParam<BadMix>
{ };

TEST_P(BadMixes, AreRefusedWithOneLine)
{
    TempDir dir;
    std::vector<std::string> args{"mix"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    const auto run = runCli(args, {}, dir.path());
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_NE(run.err.find(GetParam().errorContains), std::string::npos) << run.err;
    if (GetParam().status == 1) { // usage errors add the usage line
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

INSTANTIATE_TEST_SUITE_P(
    Mix, BadMixes,
    ::testing::Values(BadMix{"ZeroParts", {"1,2,3:0", "4,5,6:1"}, 1, "parts '0' of 1,2,3 must be a positive number"},
                      BadMix{"NegativeParts", {"1,2,3:1", "4,5,6:-2"}, 1, "parts '-2'"},
                      BadMix{"WordParts", {"1,2,3:two", "4,5,6:1"}, 1, "parts 'two'"},
                      BadMix{"EmptyParts", {"1,2,3:", "4,5,6:1"}, 1, "parts ''"},
                      BadMix{"NotANumber", {"1,2,3:nan", "4,5,6:1"}, 1, "parts 'nan'"},
                      BadMix{"Infinite", {"1,2,3:inf", "4,5,6:1"}, 1, "parts 'inf'"},
                      BadMix{"Overflow", {"1,2,3:1e999", "4,5,6:1"}, 1, "parts '1e999'"},
                      BadMix{"HugeParts", {"1,2,3:1e308", "4,5,6:1e308"}, 1, "must be a positive number up to 1000000"},
                      BadMix{"NoParts", {"1,2,3", "4,5,6:1"}, 1, "'1,2,3' is not COLOUR:PARTS"},
                      BadMix{"BadColour", {"1,2,300:1", "4,5,6:1"}, 1, "malformed colour '1,2,300'"},
                      BadMix{"OnePaint", {"1,2,3:1"}, 1, "pigment mixing takes two or three paints, 1 given"},
                      BadMix{"FourPigments",
                             {"1,2,3:1", "1,2,3:1", "1,2,3:1", "1,2,3:1"},
                             1,
                             "pigment mixing takes two or three paints, 4 given"},
                      BadMix{"OneSpatial", {"--mode", "spatial", "1,2,3:1"}, 1, "spatial mixing takes two or three"},
                      BadMix{"FourSubtractive",
                             {"--mode", "subtractive", "1,2,3:1", "1,2,3:1", "1,2,3:1", "1,2,3:1"},
                             1,
                             "subtractive mixing takes two or three paints, 4 given"},
                      BadMix{"UnknownMode", {"--mode", "additive", "1,2,3:1", "1,2,3:1"}, 1, "unknown mixing mode"},
                      BadMix{"NoPaints", {}, 2, "PAINT is required"}),
    [](const ::testing::TestParamInfo<BadMix> &param) { return param.param.name; });

TEST(MatchCommandPigment, RedAndBlueFindTheirPigmentMix)
{
    TempDir dir;
    const auto paints = dir / "paints.csv";
    std::ofstream(paints, std::ios::binary) << "code,name,r,g,b\nA,红,255,0,0\nB,蓝,0,0,255\n";
    const auto run
        = runCli({"match", "--mode", "pigment", "--paints", paints.string(), "--card", "none", "--json", "56,22,53"},
                 {}, dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(
        run.out,
        "{\"target\":[56,22,53],\"ok\":true,\"paints\":[{\"code\":\"A\",\"name\":\"红\",\"rgb\":[255,0,0]},"
        "{\"code\":\"B\",\"name\":\"蓝\",\"rgb\":[0,0,255]},null],\"proportions\":[0.5,0.5,0],\"mixed\":[56,22,53],"
        "\"deviation\":0,\"deviation_text\":\"0.00 %\",\"delta_e00\":0.0000,\"card\":null,\"cmyk\":[0,60,5,78],"
        "\"parts\":[1,1,0],\"parts_delta_e00\":0.0847,\"parts_one_off\":5.0723,\"strengths\":\"none\"}\n");
}

} // namespace
} // namespace pigmora::test
