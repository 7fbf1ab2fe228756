// pigmora-cli on a shared, full, damaged or read-only data folder.
#include "clitest.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pigmora::test {
namespace {

class DataSafety : public ::testing::Test
{
protected:
    CliRun cli(std::vector<std::string> args) { return runCli(args, {}, dir.path()); }
    std::string writeCsv(const std::string &name, const std::string &prefix, int rows)
    {
        std::ofstream out(dir / name, std::ios::binary);
        out << "name,r,g,b\n";
        for (int i = 0; i < rows; ++i)
            out << prefix << i << ',' << i % 256 << ",1,2\n";
        return (dir / name).string();
    }
    std::set<std::string> listing() const
    {
        std::set<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(dir.path()))
            names.insert(entry.path().filename().string());
        return names;
    }
    TempDir dir;
};

// Several command lines importing distinct rows at once: every row ends up
// present exactly once, with codes given out once.
TEST_F(DataSafety, ConcurrentImportsKeepEveryRow)
{
    ASSERT_EQ(cli({"init"}).status, 0);
    constexpr int kProcesses = 4;
    constexpr int kRows = 150;
    std::vector<std::string> files;
    for (int p = 0; p < kProcesses; ++p)
        files.push_back(writeCsv("p" + std::to_string(p) + ".csv", "p" + std::to_string(p) + "_", kRows));
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            ::_exit(runCli({"import-paints", "4", files[static_cast<std::size_t>(p)]}, {}, dir.path()).status);
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const auto lines = cli({"group", "4"}).outLines();
    std::set<std::string> names;
    std::set<std::string> codes;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        codes.insert(lines[i].substr(0, lines[i].find(',')));
        names.insert(lines[i].substr(lines[i].find(',') + 1,
                                     lines[i].find(',', lines[i].find(',') + 1) - lines[i].find(',') - 1));
    }
    EXPECT_EQ(codes.size(), lines.size() - 1) << "codes are unique";
    EXPECT_EQ(names.size(), lines.size() - 1);
    for (int p = 0; p < kProcesses; ++p) {
        for (int i = 0; i < kRows; ++i)
            EXPECT_TRUE(names.contains("p" + std::to_string(p) + "_" + std::to_string(i))) << p << ' ' << i;
    }
}

// A full disk: one line naming it, the file as it was, and the next command
// still works. A small tmpfs where the tests may mount, else skipped (the
// store tests inject the same failure into every write).
TEST_F(DataSafety, AFullDiskChangesNothingAndSaysSo)
{
    if (::geteuid() != 0 || ::mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "no tmpfs mount here";
    ASSERT_EQ(cli({"init"}).status, 0);
    const auto before = readFileBytes(dir / "QorColorGroup.bin");
    TempDir elsewhere;
    {
        std::ofstream out(elsewhere / "many.csv");
        out << "name,r,g,b\n";
        for (int i = 0; i < 3000; ++i)
            out << 'm' << i << ",1,2,3\n";
    }
    const std::string csv = (elsewhere / "many.csv").string();
    const auto run = cli({"import-paints", "0", csv});
    EXPECT_EQ(run.status, 1);
    ASSERT_EQ(run.errLines().size(), 1u) << run.err;
    EXPECT_NE(run.err.find("the disk is full"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(readFileBytes(dir / "QorColorGroup.bin"), before);
    EXPECT_EQ(cli({"group", "0"}).status, 0);
    ::umount(dir.path().c_str());
}

TEST_F(DataSafety, ADamagedFileNamesTheRestoreCommand)
{
    ASSERT_EQ(cli({"init"}).status, 0);
    ASSERT_EQ(cli({"import-paints", "1", writeCsv("one.csv", "x", 1)}).status, 0);
    const auto backup = readFileBytes(dir / "QorColorGroup.bin.bak");
    auto damaged = readFileBytes(dir / "QorColorGroup.bin");
    damaged[77 + 31] ^= 0x40; // the first entry's data position
    writeFileBytes(dir / "QorColorGroup.bin", damaged);

    auto run = cli({"groups"});
    EXPECT_EQ(run.status, 1);
    ASSERT_EQ(run.errLines().size(), 1u) << run.err;
    EXPECT_NE(run.err.find("pigmora-cli restore QorColorGroup.bin"), std::string::npos) << run.err;

    run = cli({"restore", "QorColorGroup.bin"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("the damaged file is kept as QorColorGroup.bin.damaged-"), std::string::npos) << run.out;
    EXPECT_EQ(readFileBytes(dir / "QorColorGroup.bin"), backup);
    EXPECT_EQ(cli({"groups"}).status, 0);
    run = cli({"restore", "QorColorGroup.bin"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("is not damaged"), std::string::npos) << run.err;
}

// Commands that need no stored data leave the folder alone, even a missing
// or unusable one.
TEST_F(DataSafety, CommandsWithoutStoredDataDoNotTouchTheFolder)
{
    std::ofstream(dir / "box.csv") << "code,name,r,g,b\n1,红,255,0,0\n2,蓝,0,0,255\n";
    const std::string box = (dir / "box.csv").string();
    for (const auto &args : std::vector<std::vector<std::string>>{
             {"nearest", "1,2,3"}, {"card", "ral"}, {"match", "--paints", box, "200,0,40"}}) {
        EXPECT_EQ(runCli(args, {}, "/nonexistent/pigmora").status, 0) << args[0];
        EXPECT_EQ(runCli(args, {}, dir.path()).status, 0) << args[0];
    }
    EXPECT_EQ(listing(), (std::set<std::string>{"box.csv"}));
    ASSERT_EQ(cli({"init"}).status, 0);
    const auto before = listing();
    for (const char *command : {"boxes", "groups", "palettes"})
        EXPECT_EQ(cli({command}).status, 0);
    EXPECT_EQ(listing(), before) << "reading creates nothing";
}

// Names with control characters are refused, named by their line; a name
// longer than the field is stored cut, and said so.
TEST_F(DataSafety, NamesAreCheckedAndCutNamesAnnounced)
{
    ASSERT_EQ(cli({"init"}).status, 0);
    std::ofstream(dir / "names.csv", std::ios::binary)
        << std::string("name,r,g,b\nab\0cd,1,2,3\n", 23) << "\"x\ny\",1,2,3\n一二三四五六七八九十十一,1,2,3\n";
    const std::string csv = (dir / "names.csv").string();
    auto run = cli({"import-paints", "0", csv, "--skip-bad"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.errLines(),
              (std::vector<std::string>{
                  "pigmora-cli: line 2: refused ab...: the name holds a control character (U+0000)",
                  "pigmora-cli: line 3: refused x...: the name holds a control character (U+000A)",
                  "pigmora-cli: line 5: the name '一二三四五六七八九十十一' is stored cut to '一二三四五六七八九十' "
                  "(20 bytes)",
              }));
    EXPECT_EQ(run.out, "line 5: added u_10000001 一二三四五六七八九十\n");
}

// Each refusal names its real cause, not a neighbouring one.
TEST_F(DataSafety, RefusalsNameTheirRealCause)
{
    ASSERT_EQ(cli({"init"}).status, 0);
    std::filesystem::create_directory(dir / "paints");
    const struct {
        std::vector<std::string> args;
        const char *cause;
    } cases[] = {
        {{"restore", ""}, "restore needs the name of a data file"},
        {{"restore", (dir / "sub/").string()}, "names a folder, not a data file"},
        {{"restore", "notes.txt"}, "notes.txt is not a data file"},
        {{"match", "--paints", (dir / "paints").string(), "1,2,3"}, "is a folder, not a CSV file"},
    };
    for (const auto &c : cases) {
        const auto run = cli(c.args);
        EXPECT_EQ(run.status, 1) << c.args[0];
        EXPECT_NE(run.err.find(c.cause), std::string::npos) << run.err;
    }
    // A lock file that is a link: the change says so, not "read-only".
    std::filesystem::remove(dir / "QorData.lock");
    std::filesystem::create_symlink("/nonexistent/lock", dir / "QorData.lock");
    const auto run = cli({"import-paints", "0", writeCsv("one.csv", "x", 1)});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("QorData.lock in " + dir.path().string() + " is a symbolic link"), std::string::npos)
        << run.err;
}

// A data file lost while its backup holds the last version: commands do not
// make it anew with defaults, name the restore, and restore brings it back.
TEST_F(DataSafety, ALostFileWithABackupIsRestoredNotRecreated)
{
    ASSERT_EQ(cli({"init"}).status, 0);
    ASSERT_EQ(cli({"import-paints", "2", writeCsv("one.csv", "x", 1)}).status, 0);
    const auto before = readFileBytes(dir / "QorColorGroup.bin.bak");
    std::filesystem::remove(dir / "QorColorGroup.bin");
    for (const char *command : {"groups", "init"}) {
        const auto run = cli({command});
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_NE(run.err.find("'pigmora-cli restore QorColorGroup.bin'"), std::string::npos) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "QorColorGroup.bin"));
    EXPECT_EQ(readFileBytes(dir / "QorColorGroup.bin.bak"), before);
    ASSERT_EQ(cli({"restore", "QorColorGroup.bin"}).status, 0);
    EXPECT_EQ(cli({"groups"}).status, 0);
}

TEST_F(DataSafety, APhotoThatIsAFolderIsNamedSo)
{
    std::filesystem::create_directory(dir / "photo.jpg");
    const auto run = cli({"view", (dir / "photo.jpg").string(), (dir / "out.bmp").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("a folder, not a picture file"), std::string::npos) << run.err;
    EXPECT_EQ(cli({"view", (dir / "missing.jpg").string(), (dir / "out.bmp").string()}).err.find("文件不存在!")
                  != std::string::npos,
              true);
}

} // namespace
} // namespace pigmora::test
