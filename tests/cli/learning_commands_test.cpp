#include "clitest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>

// Parts in match, calibrate, the observations of a data folder and correct.
namespace pigmora::test {
namespace {

class LearningCommands : public ::testing::Test
{
protected:
    std::string write(const std::string &name, const std::string &text)
    {
        const auto path = dir / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    double number(const std::string &json, const std::string &key)
    {
        std::smatch m;
        EXPECT_TRUE(std::regex_search(json, m, std::regex("\"" + key + "\":(-?[0-9.]+)"))) << key << ' ' << json;
        return m.empty() ? NAN : std::stod(m[1]);
    }
    TempDir dir;
};

// The parts recipe a match reports is what mix says of those parts.
TEST_F(LearningCommands, MatchPartsAreWhatMixGives)
{
    const auto box
        = write("box.csv", "code,name,r,g,b,strength\nW,白,250,250,245,2.5\nB,蓝,20,40,150,\nR,红,200,30,40,0.6\n");
    for (const std::string mode : {"pigment", "subtractive", "spatial"}) {
        const auto match
            = runCli({"match", "--paints", box, "--mode", mode, "--card", "none", "--json", "#8A7090"}, {}, dir.path());
        ASSERT_EQ(match.status, 0) << match.err;
        std::smatch m;
        ASSERT_TRUE(std::regex_search(match.out, m, std::regex("\"parts\":\\[(\\d+),(\\d+),(\\d+)\\]"))) << match.out;
        EXPECT_NE(match.out.find(mode == "pigment" ? "\"strengths\":\"box\"" : "\"strengths\":\"none\""),
                  std::string::npos);
        std::vector<std::string> args{"mix", "--paints", box, "--mode", mode, "--target", "#8A7090", "--json"};
        std::smatch codes;
        std::string rest = match.out;
        std::vector<std::string> paintCodes;
        while (std::regex_search(rest, codes, std::regex("\\{\"code\":\"([A-Z])\""))) {
            paintCodes.push_back(codes[1]);
            rest = codes.suffix();
        }
        for (std::size_t k = 0; k < paintCodes.size(); ++k) {
            if (m[k + 1] != "0")
                args.push_back(paintCodes[k] + ":" + std::string(m[k + 1]));
        }
        if (args.size() < 10)
            continue; // a single paint
        const auto mix = runCli(args, {}, dir.path());
        ASSERT_EQ(mix.status, 0) << mix.err;
        EXPECT_NEAR(number(mix.out, "delta_e00"), number(match.out, "parts_delta_e00"), 1e-4) << mode;
    }
    const auto tooMany = runCli({"match", "--paints", box, "--max-parts", "101", "1,2,3"}, {}, dir.path());
    EXPECT_EQ(tooMany.status, 1);
    EXPECT_NE(tooMany.err.find("--max-parts must be 2..100"), std::string::npos);
}

TEST_F(LearningCommands, CalibratePrintsTheBoxWithFittedStrengths)
{
    const auto truth
        = write("truth.csv", "code,name,r,g,b,strength\nW,白,250,250,245,3\nB,蓝,20,40,150,1\nY,黄,240,200,20,0.4\n");
    std::string observations = "measured,paint1,parts1,paint2,parts2\n";
    for (const auto &[a, b] : {std::pair{"W", "B"}, std::pair{"W", "Y"}, std::pair{"B", "Y"}}) {
        for (const char *parts : {"1", "3"}) {
            const auto mix
                = runCli({"mix", "--paints", truth, "--json", std::string(a) + ":" + parts, std::string(b) + ":1"}, {},
                         dir.path());
            std::smatch m;
            ASSERT_TRUE(std::regex_search(mix.out, m, std::regex("\\],\"rgb\":\\[(\\d+),(\\d+),(\\d+)\\]")));
            char hex[8];
            std::snprintf(hex, sizeof hex, "#%02X%02X%02X", std::stoi(m[1]), std::stoi(m[2]), std::stoi(m[3]));
            observations += std::string(hex) + "," + a + "," + parts + "," + b + ",1\n";
        }
    }
    const auto box = write("box.csv", "code,name,r,g,b\nW,白,250,250,245\nB,蓝,20,40,150\nY,黄,240,200,20\n");
    const auto obs = write("obs.csv", observations);
    const auto run = runCli({"calibrate", "--paints", box, obs}, {}, dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = run.outLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "code,name,r,g,b,strength");
    const double w = std::stod(lines[1].substr(lines[1].rfind(',') + 1));
    const double b = std::stod(lines[2].substr(lines[2].rfind(',') + 1));
    const double y = std::stod(lines[3].substr(lines[3].rfind(',') + 1));
    EXPECT_NEAR(w / b, 3.0, 0.15);
    EXPECT_NEAR(y / b, 0.4, 0.03);
    EXPECT_EQ(lines[1].substr(0, lines[1].rfind(',')), "W,白,250,250,245");
    const auto json = runCli({"calibrate", "--json", "--paints", box, obs}, {}, dir.path());
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.out.find("{\"strengths\":[{\"code\":\"W\",\"strength\":"), std::string::npos);
    EXPECT_NE(json.out.find("\"observations\":6,"), std::string::npos);
    EXPECT_LT(number(json.out, "mean_delta_e00_after"), number(json.out, "mean_delta_e00_before"));
    // Handed straight back as a box.
    EXPECT_EQ(runCli({"match", "--paints", write("fitted.csv", run.out), "--mode", "pigment", "1,2,3"}, {}, dir.path())
                  .status,
              0);
}

struct BadInput {
    const char *name;
    const char *box;
    const char *observations;
    const char *error;
};

class BadCalibrations : public ::testing::TestWithParam<BadInput>
{ };

TEST_P(BadCalibrations, AreRefusedNamingTheLine)
{
    TempDir dir;
    const auto box = dir / "box.csv";
    const auto obs = dir / "obs.csv";
    std::ofstream(box, std::ios::binary) << GetParam().box;
    std::ofstream(obs, std::ios::binary) << GetParam().observations;
    const auto run = runCli({"calibrate", "--paints", box.string(), obs.string()}, {}, dir.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.empty());
    EXPECT_NE(run.err.find(GetParam().error), std::string::npos) << run.err;
}

constexpr const char *kBox = "code,name,r,g,b\nW,白,250,250,245\nB,蓝,20,40,150\n";
constexpr const char *kObs = "measured,paint1,parts1,paint2,parts2\n#808080,W,1,B,1\n";

INSTANTIATE_TEST_SUITE_P(
    Calibrate, BadCalibrations,
    ::testing::Values(
        BadInput{"StrengthNotPositive", "code,name,r,g,b,strength\nW,白,250,250,245,0\n", kObs,
                 "line 2: strength '0' must be a positive number"},
        BadInput{"StrengthWord", "code,name,r,g,b,strength\nW,白,250,250,245,strong\n", kObs, "line 2: strength"},
        BadInput{"UnknownCode", kBox, "measured,paint1,parts1,paint2,parts2\n#808080,W,1,X,1\n", "line 2: paint 'X'"},
        BadInput{"BadColour", kBox, "measured,paint1,parts1,paint2,parts2\n#80808G,W,1,B,1\n",
                 "line 2: malformed colour"},
        BadInput{"ZeroParts", kBox, "measured,paint1,parts1,paint2,parts2\n#808080,W,1,B,0\n",
                 "line 2: parts '0' of B"},
        BadInput{"OnePaint", kBox, "measured,paint1,parts1,paint2,parts2,paint3,parts3\n#808080,W,1,,,,\n",
                 "line 2: paint ''"},
        BadInput{"BadHeader", kBox, "colour,paint1,parts1,paint2,parts2\n#808080,W,1,B,1\n",
                 "the header row must be measured,paint1,parts1,paint2,parts2"},
        BadInput{"BadBoxHeader", "code,name,r,g,b,power\n", kObs, "the header row must be code,name,r,g,b"}),
    [](const ::testing::TestParamInfo<BadInput> &param) { return param.param.name; });

// observe, observations and forget on a data folder; match learns from them.
TEST_F(LearningCommands, ObservationsAreKeptAndUsed)
{
    const auto folder = dir / "data";
    std::filesystem::create_directory(folder);
    auto cli = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"--data-dir", folder.string()});
        return runCli(args, {}, folder);
    };
    ASSERT_EQ(cli({"init"}).status, 0);
    const auto noneYet = cli({"match", "--mode", "pigment", "--json", "#7A8A9B"});
    EXPECT_NE(noneYet.out.find("\"strengths\":\"none\""), std::string::npos);
    const auto added = cli({"observe", "#7A8A9B", "340:1", "710:2"});
    ASSERT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(added.outLines().at(0), "observation 1: got #7A8A9B  1 × 340 群青 + 2 × 710 钛白");
    ASSERT_EQ(cli({"observe", "--box", "我的颜色盒", "120,120,140", "340:1", "710:3", "640:1"}).status, 0);
    for (const auto &[args, error] :
         {std::pair{std::vector<std::string>{"observe", "#7A8A9B", "999:1", "710:2"}, "paint '999' is not in"},
          std::pair{std::vector<std::string>{"observe", "#7A8A9B", "340:1"}, "two or three paints, 1 given"},
          std::pair{std::vector<std::string>{"observe", "#7A8A9G", "340:1", "710:2"}, "malformed colour"},
          std::pair{std::vector<std::string>{"observe", "#7A8A9B", "340:0", "710:2"}, "positive number of parts"},
          std::pair{std::vector<std::string>{"observe", "--box", "无", "#7A8A9B", "340:1", "710:2"}, "no colour box"},
          std::pair{std::vector<std::string>{"forget", "3"}, "there is no observation 3 (the file holds 2)"}}) {
        const auto run = cli(args);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(error), std::string::npos) << run.err;
    }
    const auto listed = cli({"observations", "--json"});
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_NE(listed.out.find("{\"number\":2,\"measured\":[120,120,140]"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("{\"group\":0,\"code\":\"710\",\"strength\":"), std::string::npos);
    const auto stored = cli({"match", "--mode", "pigment", "--json", "#7A8A9B"});
    EXPECT_NE(stored.out.find("\"strengths\":\"stored\""), std::string::npos) << stored.out;
    ASSERT_EQ(cli({"forget", "1"}).status, 0);
    EXPECT_EQ(cli({"observations"}).outLines().at(0).rfind("1  got #78788C  1 × 340 群青 + 3 × 710 钛白 + 1 × 640", 0),
              0u);

    // A damaged file: listed as such, matching goes on without it, restore.
    auto bytes = readFileBytes(folder / "QorObservation.bin");
    bytes.back() = 0x7F; // parts in the last record's empty third slot
    writeFileBytes(folder / "QorObservation.bin", bytes);
    const auto damaged = cli({"observations"});
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.err.find("observation 1 is damaged"), std::string::npos) << damaged.err;
    const auto matched = cli({"match", "--mode", "pigment", "--json", "#7A8A9B"});
    EXPECT_EQ(matched.status, 0);
    EXPECT_NE(matched.out.find("\"strengths\":\"none\""), std::string::npos);
    EXPECT_NE(matched.err.find("matching without the strengths"), std::string::npos);
    EXPECT_EQ(cli({"observe", "#7A8A9B", "340:1", "710:2"}).status, 1);
    EXPECT_EQ(readFileBytes(folder / "QorObservation.bin"), bytes);
    ASSERT_EQ(cli({"restore", "QorObservation.bin"}).status, 0);
    EXPECT_EQ(cli({"observations", "--json"}).status, 0);
}

TEST_F(LearningCommands, CorrectSuggestsWholePartsToAdd)
{
    const auto target = runCli({"mix", "--json", "#1E3C96:2", "#FFFFFF:5", "#C8A028:1"}, {}, dir.path());
    const auto got = runCli({"mix", "--json", "#1E3C96:2", "#FFFFFF:5", "#C8A028:2"}, {}, dir.path());
    auto rgbOf = [](const std::string &json) {
        std::smatch m;
        std::regex_search(json, m, std::regex("\\],\"rgb\":\\[(\\d+),(\\d+),(\\d+)\\]"));
        return std::string(m[1]) + "," + std::string(m[2]) + "," + std::string(m[3]);
    };
    const std::vector<std::string> recipe{"#1E3C96:2", "#FFFFFF:5", "#C8A028:1"};
    std::vector<std::string> args{"correct", rgbOf(target.out), rgbOf(got.out)};
    args.insert(args.end(), recipe.begin(), recipe.end());
    const auto text = runCli(args, {}, dir.path());
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_TRUE(std::regex_match(text.out,
                                 std::regex("add 2 parts of #1E3C96 and 5 parts of #FFFFFF "
                                            "\\(ΔE00 [0-9]+\\.[0-9]{2} → 0\\.[0-9]{2}\\)\n")))
        << text.out;
    args.insert(args.begin() + 1, "--json");
    const auto json = runCli(args, {}, dir.path());
    ASSERT_EQ(json.status, 0) << json.err;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(json.out, m,
                                  std::regex("\"add\":\\[(\\d+),(\\d+),(\\d+)\\],\"estimated_parts\":\\[([0-9.]+),"
                                             "([0-9.]+),([0-9.]+)\\]")));
    std::vector<std::string> mix{"mix", "--json", "--target", rgbOf(target.out)};
    const char *colours[] = {"#1E3C96", "#FFFFFF", "#C8A028"};
    for (int k = 0; k < 3; ++k) {
        char parts[64];
        std::snprintf(parts, sizeof parts, "%.4f", std::stod(m[4 + k]) + std::stoi(m[1 + k]));
        mix.push_back(std::string(colours[k]) + ":" + parts);
    }
    EXPECT_NEAR(number(runCli(mix, {}, dir.path()).out, "delta_e00"), number(json.out, "delta_e00_after"), 1e-4);

    const auto nothing = runCli(
        {"correct", "--mode", "subtractive", rgbOf(target.out), rgbOf(target.out), "255,255,255:1", "250,250,250:1"},
        {}, dir.path());
    EXPECT_EQ(nothing.out.substr(0, 14), "nothing helps:") << nothing.out;
    for (const auto &[bad, error] :
         {std::pair{std::vector<std::string>{"correct", "1,2,3", "1,2,3", "1,2,3:1"},
                    "two or three paints, 1 paints given"},
          std::pair{std::vector<std::string>{"correct", "1,2,3", "1,2", "1,2,3:1", "4,5,6:1"},
                    "malformed colour '1,2'"},
          std::pair{std::vector<std::string>{"correct", "1,2,3", "1,2,3", "1,2,3:-1", "4,5,6:1"}, "parts '-1'"}}) {
        const auto run = runCli(bad, {}, dir.path());
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(error), std::string::npos) << run.err;
    }
}

} // namespace
} // namespace pigmora::test
