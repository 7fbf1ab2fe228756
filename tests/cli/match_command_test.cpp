#include "clitest.h"

#include <gtest/gtest.h>

#include <fstream>

namespace pigmora::test {
namespace {

class MatchCommand : public ::testing::Test
{
protected:
    std::string writePaints(const std::string &text)
    {
        const auto path = dir / "paints.csv";
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    TempDir dir;
};

TEST_F(MatchCommand, TwoPaintSpatialExampleAsJson)
{
    const auto paints = writePaints("code,name,r,g,b\nB,黑,0,0,0\nW,白,255,255,255\n");
    const auto run
        = runCli({"match", "--paints", paints, "--mode", "spatial", "--json", "100,120,140"}, {}, dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(
        run.out,
        "{\"target\":[100,120,140],\"ok\":true,"
        "\"paints\":[{\"code\":\"B\",\"name\":\"黑\",\"rgb\":[0,0,0]},{\"code\":\"W\",\"name\":\"白\",\"rgb\":[255,"
        "255,255]},null],"
        "\"proportions\":[0.529411793,0.470588207,0],\"mixed\":[119,119,119],"
        "\"deviation\":28.284271247464602,\"deviation_text\":\"6.40 %\",\"delta_e00\":10.5219,"
        "\"card\":{\"card\":\"pantone\",\"code\":\"5415C\",\"rgb\":[91,127,149],\"delta_e00\":4.9100},"
        "\"cmyk\":[28,14,0,45],\"parts\":[5,4,0],\"parts_delta_e00\":10.6783,\"parts_one_off\":6.8280,"
        "\"strengths\":\"none\"}\n");
}

TEST_F(MatchCommand, SubtractiveRedAndBlueMakeBlack)
{
    const auto paints = writePaints("code,name,r,g,b\nA,红,255,0,0\nB,蓝,0,0,255\n");
    const auto run = runCli({"match", "--paints", paints, "--card", "none", "--json", "#000000"}, {}, dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(
        run.out,
        "{\"target\":[0,0,0],\"ok\":true,"
        "\"paints\":[{\"code\":\"A\",\"name\":\"红\",\"rgb\":[255,0,0]},{\"code\":\"B\",\"name\":\"蓝\",\"rgb\":[0,0,"
        "255]},null],"
        "\"proportions\":[0.499999821,0.500000179,0],\"mixed\":[0,0,0],\"deviation\":0,"
        "\"deviation_text\":\"0.00 %\",\"delta_e00\":0.0000,\"card\":null,\"cmyk\":[0,0,0,100],\"parts\":[1,1,0],"
        "\"parts_delta_e00\":0.0000,\"parts_one_off\":25.8752,\"strengths\":\"none\"}\n");
}

TEST_F(MatchCommand, FailedSolveKeepsTheShapeOfTheAnswer)
{
    const auto paints = writePaints("code,name,r,g,b\nA,红,255,0,0\n");
    const auto run = runCli({"match", "--paints", paints, "--json", "0,0,0"}, {}, dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "{\"target\":[0,0,0],\"ok\":false,\"paints\":[null,null,null],\"proportions\":null,\"mixed\":null,"
              "\"deviation\":null,\"deviation_text\":\"\",\"delta_e00\":null,\"card\":null,\"cmyk\":[0,0,0,100],"
              "\"parts\":null,\"parts_delta_e00\":null,\"parts_one_off\":null,\"strengths\":\"none\"}\n");
    const auto text = runCli({"match", "--paints", paints, "0,0,0"}, {}, dir.path());
    EXPECT_EQ(text.out, "0,0,0  no mix found  CMYK 0,0,0,100\n");
}

TEST_F(MatchCommand, SinglePaintTextLineAndStdin)
{
    // The provisional box holds 100 柠檬黄 (243,255,15).
    const auto run = runCli({"match", "--card", "ral"}, "243,255,15\n\n#F3FF0F\r\n", dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = run.outLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, lines[0].find("  ral")),
              "243,255,15  100.00 % 100 柠檬黄  = 243,255,15  deviation 0.00 %  ΔE00 0.00  parts 1 (ΔE00 0.00, one "
              "part off 0.00)");
    EXPECT_EQ(lines[0], lines[1]);
}

TEST_F(MatchCommand, ModesDiffer)
{
    const auto spatial = runCli({"match", "--mode", "spatial", "--json", "90,120,60"}, {}, dir.path());
    const auto subtractive = runCli({"match", "--mode", "subtractive", "--json", "90,120,60"}, {}, dir.path());
    const auto byDefault = runCli({"match", "--json", "90,120,60"}, {}, dir.path());
    ASSERT_EQ(spatial.status, 0);
    EXPECT_NE(spatial.out, subtractive.out);
    EXPECT_EQ(byDefault.out, subtractive.out); // the default mixing mode is subtractive
}

struct BadMatch {
    const char *name;
    std::vector<std::string> args;
    const char *paintsFile; // written when not null
    const char *input;
    int status;
    const char *errorContains;
};

class BadMatches : public MatchCommand, public ::testing::WithParamInterface<BadMatch>
{ };

TEST_P(BadMatches, AreRefusedWithAClearLine)
{
    const BadMatch &bad = GetParam();
    std::vector<std::string> args = bad.args;
    if (bad.paintsFile) {
        args.push_back("--paints");
        args.push_back(writePaints(bad.paintsFile));
    }
    const auto run = runCli(args, bad.input, dir.path());
    EXPECT_EQ(run.status, bad.status);
    EXPECT_NE(run.err.find(bad.errorContains), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
}

INSTANTIATE_TEST_SUITE_P(
    Match, BadMatches,
    ::testing::Values(
        BadMatch{"BadMode", {"match", "--mode", "additive", "1,2,3"}, nullptr, "", 1, "unknown mixing mode 'additive'"},
        BadMatch{"BadCard", {"match", "--card", "ncs", "1,2,3"}, nullptr, "", 1, "unknown colour card 'ncs'"},
        BadMatch{"BadColour", {"match", "1,2,3", "x"}, nullptr, "", 1, "malformed colour 'x'"},
        BadMatch{"BadStdinLine", {"match"}, nullptr, "1,2\n", 1, "stdin line 1: malformed colour '1,2'"},
        BadMatch{"MissingPaintsFile",
                 {"match", "--paints", "/nonexistent/p.csv", "1,2,3"},
                 nullptr,
                 "",
                 1,
                 "cannot open /nonexistent/p.csv"},
        BadMatch{"WrongHeader", {"match", "1,2,3"}, "code,name,red,green,blue\n", "", 1, "header row must be"},
        BadMatch{"ShortRow", {"match", "1,2,3"}, "code,name,r,g,b\nA,x,1,2\n", "", 1, "line 2: expected 5 fields"},
        BadMatch{"BadChannel", {"match", "1,2,3"}, "code,name,r,g,b\nA,x,1,2,256\n", "", 1, "0..255"},
        BadMatch{"EmptyName", {"match", "1,2,3"}, "code,name,r,g,b\nA,,1,2,3\n", "", 1, "must not be empty"},
        BadMatch{"NotGbk", {"match", "1,2,3"}, "code,name,r,g,b\nA,\xF0\x9F\x8E\xA8,1,2,3\n", "", 1, "cannot store"},
        BadMatch{"Duplicate",
                 {"match", "1,2,3"},
                 "code,name,r,g,b\nA,x,1,2,3\nB,x,1,2,3\nA,x,9,9,9\n",
                 "",
                 1,
                 "line 4: paint A x is listed twice"},
        BadMatch{"NotUtf8", {"match", "1,2,3"}, "code,name,r,g,b\nA,\xC4\xE3,1,2,3\n", "", 1, "not valid UTF-8"},
        BadMatch{
            "BoxAndPaints", {"match", "--box", "x", "1,2,3"}, "code,name,r,g,b\n", "", 1, "cannot be used together"}),
    [](const ::testing::TestParamInfo<BadMatch> &param) { return param.param.name; });

} // namespace
} // namespace pigmora::test
