#include "clitest.h"

#include <gtest/gtest.h>

namespace pigmora::test {
namespace {

TEST(NearestCommand, TextAndJson)
{
    auto run = runCli({"nearest", "--card", "ral", "214,199,148", "#FF0000"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.outLines(),
              (std::vector<std::string>{"214,199,148  RAL 1000  214,199,148", "255,0,0  RAL 3026  252,20,20"}));

    run = runCli({"nearest", "--json", "#e0dfc5"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "{\"target\":[224,223,197],\"card\":\"pantone\",\"code\":\"9602C\",\"rgb\":[224,223,197],"
              "\"delta_e00\":0.0000}\n");

    run = runCli({"nearest", "--card", "building", "--json", "0,0,0"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "{\"target\":[0,0,0],\"card\":\"building\",\"code\":\"1716\",\"rgb\":[61,61,62],"
              "\"delta_e00\":16.6292}\n");
}

TEST(CardCommand, ListsEveryEntryInArrayOrder)
{
    auto run = runCli({"card", "building"});
    ASSERT_EQ(run.status, 0) << run.err;
    auto lines = run.outLines();
    ASSERT_EQ(lines.size(), 1027u);
    EXPECT_EQ(lines[0], "code,name_zh,name_en,r,g,b");
    EXPECT_EQ(lines[1], "0011,,,239,235,213");
    EXPECT_EQ(lines[3], "0013,,,,,");
    EXPECT_EQ(lines.back(), "1716,,,61,61,62");

    run = runCli({"card", "pantone"});
    lines = run.outLines();
    ASSERT_EQ(lines.size(), 1205u);
    EXPECT_EQ(lines[1], "100C,,,242,237,130");
    EXPECT_EQ(lines.back(), "Yellow 012C,黄012,,255,215,0");

    run = runCli({"card", "ral"});
    lines = run.outLines();
    ASSERT_EQ(lines.size(), 195u);
    EXPECT_EQ(lines[1], "RAL 1000,,Green beige,214,199,148");
}

struct BadInvocation {
    std::vector<std::string> args;
    int status;
    const char *errorContains;
};

class BadInvocations : public ::testing::TestWithParam<BadInvocation>
{ };

TEST_P(BadInvocations, OneClearLineAndTheRightStatus)
{
    const BadInvocation &bad = GetParam();
    const auto run = runCli(bad.args);
    EXPECT_EQ(run.status, bad.status);
    EXPECT_NE(run.err.find(bad.errorContains), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
}

INSTANTIATE_TEST_SUITE_P(
    Cli, BadInvocations,
    ::testing::Values(BadInvocation{{}, 2, "usage: pigmora-cli"},
                      BadInvocation{{"bogus"}, 2, "unknown command 'bogus'"},
                      BadInvocation{{"nearest"}, 2, "COLOUR is required"},
                      BadInvocation{{"nearest", "--colour-card", "ral", "1,2,3"}, 2, "--colour-card"},
                      BadInvocation{{"card"}, 2, "usage"}, BadInvocation{{"card", "pantone", "extra"}, 2, "extra"},
                      BadInvocation{{"card", "ncs"}, 1, "unknown colour card 'ncs'"},
                      BadInvocation{{"nearest", "--card", "x", "1,2,3"}, 1, "unknown colour card 'x'"},
                      BadInvocation{{"nearest", "1,2"}, 1, "malformed colour '1,2'"},
                      BadInvocation{{"nearest", "256,0,0"}, 1, "malformed colour '256,0,0'"},
                      BadInvocation{{"nearest", "-1,0,0"}, 1, "malformed colour '-1,0,0'"},
                      BadInvocation{{"nearest", "#12345"}, 1, "malformed colour"},
                      BadInvocation{{"nearest", "#12345G"}, 1, "malformed colour"},
                      BadInvocation{{"nearest", "1,2,3", "1, 2, 3"}, 1, "malformed colour '1, 2, 3'"}));

} // namespace
} // namespace pigmora::test
