#include "clitest.h"

#include <gtest/gtest.h>

#include "data/buildinfo.h"
#include "store/configmanager.h"

#include <fstream>

namespace pigmora::test {
namespace {

class StoreCommands : public ::testing::Test
{
protected:
    CliRun cli(std::vector<std::string> args, const std::string &input = {}) { return runCli(args, input, dir.path()); }
    std::string writeFile(const std::string &name, const std::string &text)
    {
        std::ofstream(dir / name, std::ios::binary) << text;
        return (dir / name).string();
    }
    TempDir dir;
};

TEST_F(StoreCommands, InitCreatesTheDefaultFilesAndNothingElse)
{
    const auto run = cli({"init"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.empty());
    for (const char *name : {"QorConfig.bin", "QorColorGroup.bin", "QorColorbox.bin", "QorPalette.bin"}) {
        const auto golden = readFileBytes(std::filesystem::path(PIGMORA_SOURCE_DIR) / "tests/store/golden" / name);
        EXPECT_EQ(readFileBytes(dir / name), golden) << name;
    }
    // A second init leaves existing files alone, a damaged one included, and
    // says which file is unusable.
    writeFileBytes(dir / "QorPalette.bin", {1, 2, 3});
    const auto again = cli({"init"});
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("QorPalette.bin"), std::string::npos) << again.err;
    EXPECT_EQ(readFileBytes(dir / "QorPalette.bin"), (std::vector<unsigned char>{1, 2, 3}));
}

TEST_F(StoreCommands, ListsBoxesGroupsAndPalettesInFileOrder)
{
    auto run = cli({"boxes"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.outLines(),
              (std::vector<std::string>{"油漆颜色盒", "我的颜色盒", "国画颜色盒", "纺织颜色盒", "标准颜色盒",
                                        "24色水粉颜色盒", "24色丙烯颜色盒", "18色油画颜色盒", "12色油画颜色盒",
                                        "12色水粉颜色盒", "12色丙烯颜色盒"}));
    run = cli({"palettes", "--json"});
    EXPECT_EQ(run.out, "[\"Tarlowe色板\",\"Quessel色板\",\"Morvane色板\"]\n");
    run = cli({"groups"});
    EXPECT_EQ(run.outLines(),
              (std::vector<std::string>{"油画颜色", "丙烯颜色", "中国画颜色", "油漆颜色", "水粉颜色", "纺织颜色"}));
}

TEST_F(StoreCommands, BoxAndGroupContents)
{
    auto run = cli({"box", "我的颜色盒"});
    ASSERT_EQ(run.status, 0) << run.err;
    auto lines = run.outLines();
    ASSERT_EQ(lines.size(), 21u); // 20 of the 22 listed paints exist
    EXPECT_EQ(lines[0], "code,name,name_en,r,g,b");
    EXPECT_EQ(lines[1], "100,柠檬黄,Lemon Yellow,243,255,15");

    run = cli({"group", "2"});
    lines = run.outLines();
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[0], "code,name,name_en,r,g,b,origin");
    EXPECT_EQ(lines[1], "3001,銀朱,,191,36,42,1");
    EXPECT_EQ(cli({"group", "中国画颜色"}).out, run.out);
}

TEST_F(StoreCommands, PaletteAsCsvAndAsGimpPalette)
{
    auto run = cli({"palette", "Tarlowe色板"});
    ASSERT_EQ(run.status, 0) << run.err;
    auto lines = run.outLines();
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "code,r,g,b,cell");
    EXPECT_EQ(lines[1], "100001,0,0,0,15");
    EXPECT_EQ(lines[8], "100008,0,255,255,99");

    run = cli({"palette", "Tarlowe色板", "--gpl"});
    ASSERT_EQ(run.status, 0) << run.err;
    lines = run.outLines();
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], "GIMP Palette");
    EXPECT_EQ(lines[1], "Name: Tarlowe色板");
    EXPECT_EQ(lines[4], "255   0 255\t100007"); // cell 0
    EXPECT_EQ(lines[11], "  0 255 255\t100008"); // cell 99
}

// A refused row refuses the whole file (nothing written); --skip-bad adds the
// good rows. Refusals are stderr lines, added rows stdout lines.
TEST_F(StoreCommands, ImportPaintsRefusesTheWholeFileOrSkipsTheBadRows)
{
    const auto file = writeFile("paints.csv",
                                "name,r,g,b\n朱砂红,200,30,20\n  赭石 ,1,2,3\n,1,2,3\nbad,1,2\n"
                                "过红,300,0,0\n新绿,0,200,0\n朱砂红,1,1,1\n");
    ASSERT_EQ(cli({"init"}).status, 0);
    const auto before = readFileBytes(dir / "QorColorGroup.bin");
    const std::vector<std::string> refusals{
        "pigmora-cli: line 3: refused 赭石: 色谱中同名颜色存在!",
        "pigmora-cli: line 4: refused: 颜色名称不能为空!",
        "pigmora-cli: line 5: refused: expected 4 fields (name,r,g,b), found 3",
        "pigmora-cli: line 6: refused 过红: r, g and b must be whole numbers 0..255",
        "pigmora-cli: line 8: refused 朱砂红: 色谱中同名颜色存在!",
    };
    auto run = cli({"import-paints", "中国画颜色", file});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.empty()) << run.out;
    auto errLines = run.errLines();
    ASSERT_EQ(errLines.size(), refusals.size() + 1) << run.err;
    EXPECT_EQ(std::vector<std::string>(errLines.begin(), errLines.end() - 1), refusals);
    EXPECT_NE(errLines.back().find("5 of 7 rows refused; nothing was added"), std::string::npos);
    EXPECT_EQ(readFileBytes(dir / "QorColorGroup.bin"), before);

    run = cli({"import-paints", "中国画颜色", file, "--skip-bad"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.errLines(), refusals);
    EXPECT_EQ(run.outLines(),
              (std::vector<std::string>{"line 2: added u_10000001 朱砂红", "line 7: added u_10000002 新绿"}));
    run = cli({"group", "2"});
    const auto lines = run.outLines();
    EXPECT_EQ(lines[lines.size() - 2], "u_10000001,朱砂红,,200,30,20,2");
    EXPECT_EQ(lines.back(), "u_10000002,新绿,,0,200,0,2");

    const auto clean = writeFile("clean.csv", "name,r,g,b\n天青,90,160,200\n");
    run = cli({"import-paints", "0", clean});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "line 2: added u_10000003 天青\n");
}

TEST_F(StoreCommands, PaletteFilesGoToAFileAndBinaryOnesNeverToATerminal)
{
    ASSERT_EQ(cli({"init"}).status, 0);
    const auto out = dir / "morvane.kpl";
    auto run = cli({"palette", "Morvane色板", "--kpl", "-o", out.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(readFileBytes(out).size() > 100, true);
    EXPECT_FALSE(std::filesystem::exists(out.string() + ".part"));

    run = cli({"palette", "Morvane色板", "--ase", "-o", "-"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, 4), "ASEF");
    for (const std::vector<std::string> &args : {std::vector<std::string>{"palette", "Morvane色板", "--ase"},
                                                 {"palette", "Morvane色板", "--kpl", "-o", "-"}}) {
        run = runCli(args, {}, dir.path(), true);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, "pigmora-cli: --ase and --kpl write a binary file: name it with -o FILE\n");
    }
    EXPECT_EQ(cli({"palette", "Morvane色板", "--ase", "--kpl", "-o", "x"}).status, 2);
    run = cli({"palette", "Morvane色板", "--gpl", "-o", (dir / "no/such/folder/x.gpl").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot create"), std::string::npos) << run.err;
}

TEST_F(StoreCommands, ImportPaletteAddsANewPaletteOrNothing)
{
    ASSERT_EQ(cli({"init"}).status, 0);
    const auto gpl = dir / "morvane.gpl";
    ASSERT_EQ(cli({"palette", "Morvane色板", "--gpl", "-o", gpl.string()}).status, 0);
    auto run = cli({"import-palette", "副本", gpl.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "副本: 8 colours in cells 0..7\n");
    EXPECT_EQ(cli({"palette", "副本"}).out.substr(16), cli({"palette", "Morvane色板"}).out.substr(16));

    const auto before = readFileBytes(dir / "QorPalette.bin");
    const struct {
        std::vector<std::string> args;
        std::string err;
    } refusals[] = {
        {{"import-palette", "副本", gpl.string()},
         "pigmora-cli: " + gpl.string() + ": 相同名称的色板已经存在!; nothing was imported\n"},
        {{"import-palette", "坏", writeFile("bad.gpl", "GIMP Palette\n1 2 3\n4 5\n")},
         "pigmora-cli: " + (dir / "bad.gpl").string()
             + ": line 3: expected a colour: three whole numbers 0..255 "
               "and a name\n"},
        {{"import-palette", "坏", (dir / "missing.gpl").string()},
         "pigmora-cli: cannot open " + (dir / "missing.gpl").string() + ": No such file or directory\n"},
    };
    for (const auto &refusal : refusals) {
        run = cli(refusal.args);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, refusal.err);
    }
    EXPECT_EQ(readFileBytes(dir / "QorPalette.bin"), before);
}

TEST_F(StoreCommands, VersionComesFromTheBuild)
{
    const auto run = cli({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "pigmora-cli " + std::string(buildinfo::kVersion) + "\n");
    EXPECT_FALSE(buildinfo::kVersion.empty());
}

TEST_F(StoreCommands, MatchUsesANamedBox)
{
    const auto run = cli({"match", "--box", "国画颜色盒", "--card", "none", "191,36,42"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "191,36,42  100.00 % 3001 銀朱  = 191,36,42  deviation 0.00 %  ΔE00 0.00  parts 1 (ΔE00 0.00, one part "
              "off 0.00)  "
              "CMYK 0,81,78,25\n");
}

TEST_F(StoreCommands, TheConfiguredMixingModeIsTheDefault)
{
    ASSERT_EQ(cli({"init"}).status, 0);
    {
        CConfigManager config(dir.path());
        config.open();
        ASSERT_TRUE(config.loadSysConfig());
        ASSERT_TRUE(config.setInt("ColorMixingMode", 1));
        ASSERT_TRUE(config.saveSysConfig());
    }
    EXPECT_EQ(cli({"match", "--json", "90,120,60"}).out,
              cli({"match", "--mode", "spatial", "--json", "90,120,60"}).out);
}

struct BadStoreRun {
    const char *name;
    std::vector<std::string> args;
    const char *errorContains;
};

class BadStoreRuns : public StoreCommands, public ::testing::WithParamInterface<BadStoreRun>
{ };

TEST_P(BadStoreRuns, FailWithoutChangingAnyFile)
{
    ASSERT_EQ(cli({"init"}).status, 0);
    const auto before = readFileBytes(dir / "QorColorGroup.bin");
    const auto run = cli(GetParam().args);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(GetParam().errorContains), std::string::npos) << run.err;
    EXPECT_EQ(readFileBytes(dir / "QorColorGroup.bin"), before);
}

INSTANTIATE_TEST_SUITE_P(
    Store, BadStoreRuns,
    ::testing::Values(BadStoreRun{"UnknownBox", {"box", "没有"}, "no colour box named '没有'"},
                      BadStoreRun{"UnknownPalette", {"palette", "x"}, "no palette named 'x'"},
                      BadStoreRun{"GroupOutOfRange", {"group", "6"}, "no colour group '6'"},
                      BadStoreRun{"GroupByBadName", {"group", "油画"}, "no colour group '油画'"},
                      BadStoreRun{"ImportIntoNoGroup", {"import-paints", "9", "x.csv"}, "no colour group '9'"},
                      BadStoreRun{"ImportMissingFile", {"import-paints", "0", "/nonexistent.csv"}, "cannot open"}),
    [](const ::testing::TestParamInfo<BadStoreRun> &param) { return param.param.name; });

TEST(DataFolderProblems, AMissingFolderIsAClearFailure)
{
    auto run = runCli({"boxes"}, {}, "/nonexistent/pigmora");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("/nonexistent/pigmora"), std::string::npos) << run.err;
    run = runCli({"init"}, {}, "/nonexistent/pigmora");
    EXPECT_EQ(run.status, 1);
    TempDir dir;
    writeFileBytes(dir / "file", {1});
    run = runCli({"groups"}, {}, dir / "file");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("is not a folder"), std::string::npos) << run.err;
}

TEST(DataFolderProblems, AnUnwritableFolderIsAClearFailure)
{
    // Nobody, root included, can create files in /proc.
    const auto run = runCli({"boxes"}, {}, "/proc");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("新建配置参数文件失败!"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("cannot create /proc/QorConfig.bin: the data folder is not writable"), std::string::npos)
        << run.err;
    EXPECT_TRUE(run.out.empty());
}

TEST(DataFolderProblems, DamagedFilesAreReportedAndLeftAlone)
{
    TempDir dir;
    ASSERT_EQ(runCli({"init"}, {}, dir.path()).status, 0);
    std::vector<unsigned char> bytes = readFileBytes(dir / "QorColorbox.bin");
    bytes.resize(bytes.size() - 10); // cut into the last box's data
    writeFileBytes(dir / "QorColorbox.bin", bytes);
    const auto run = runCli({"boxes"}, {}, dir.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("打开颜色盒文件失败!"), std::string::npos) << run.err;
    EXPECT_EQ(readFileBytes(dir / "QorColorbox.bin"), bytes);
}

} // namespace
} // namespace pigmora::test
