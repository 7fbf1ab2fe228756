// Sharing a data folder between processes, read-only folders, damaged files
// and their backups, and names the stores refuse.
#include "data/colormanager.h"
#include "store/configmanager.h"
#include "store/datafolder.h"
#include "store/folderlock.h"
#include "store/tablefile.h"

#include "storetestsupport.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pigmora {
namespace {

using Bytes = std::vector<unsigned char>;
const char *const kDataFiles[] = {"QorConfig.bin", "QorColorGroup.bin", "QorColorbox.bin", "QorPalette.bin"};

std::vector<Bytes> folderBytes(const std::filesystem::path &dir)
{
    std::vector<Bytes> all;
    for (const char *name : kDataFiles)
        all.push_back(test::readFileBytes(dir / name));
    return all;
}

class PreparedFolder : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(DataFolder(dir.path(), nullptr).prepare().isOk()); }
    std::unique_ptr<CColorManager> manager(Notifier *notifier = nullptr)
    {
        auto colors = std::make_unique<CColorManager>(dir.path(), notifier);
        colors->buildBuiltInCatalogue();
        colors->loadColorGroups();
        return colors;
    }
    test::TempDir dir;
};

// A writer that cannot get the lock in time changes nothing and says why.
TEST_F(PreparedFolder, AWriterWaitsForAnotherProcessThenGivesUp)
{
    CPalettePanelFile file;
    ASSERT_TRUE(file.open(dir / "QorPalette.bin"));
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        auto lock = FolderLock::acquire(dir.path(), FolderLock::Mode::Exclusive);
        const char byte = lock ? 1 : 0;
        (void)!::write(ready[1], &byte, 1);
        ::sleep(2);
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ASSERT_EQ(byte, 1);
    const auto before = folderBytes(dir.path());
    FolderLock::setWaitLimit(std::chrono::milliseconds(200));
    EXPECT_FALSE(file.addEntry("new", 0, {}, 0));
    EXPECT_NE(file.lastError().message().find("in use by another program"), std::string::npos)
        << file.lastError().message();
    EXPECT_TRUE(file.isOpen());
    FolderLock::setWaitLimit(std::chrono::milliseconds(5000));
    int status = 0;
    ::waitpid(holder, &status, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_EQ(folderBytes(dir.path()), before);
    EXPECT_TRUE(file.addEntry("new", 0, {}, 0)) << "once the other process is done";
}

// Two programs on one folder: neither undoes the other's change.
TEST_F(PreparedFolder, ChangesOfAnotherManagerAreKept)
{
    auto first = manager();
    auto second = manager();
    ASSERT_TRUE(first->addGroupColor("油画颜色", "甲", "", {1, 1, 1}, 1.0f, 2, 2));
    ASSERT_TRUE(second->addGroupColor("油画颜色", "乙", "", {2, 2, 2}, 1.0f, 2, 2));
    auto fresh = manager();
    PaintColorRecord a;
    PaintColorRecord b;
    ASSERT_TRUE(fresh->findGroupColor("油画颜色", "甲", a));
    ASSERT_TRUE(fresh->findGroupColor("油画颜色", "乙", b));
    EXPECT_NE(a.code(), b.code()) << "a code is not given out twice";

    // The second deletes and changes paints of the group; the first, which
    // still holds the old ones, then edits that group: nothing comes back.
    ASSERT_TRUE(first->addGroupColor("油画颜色", "丙", "", {3, 3, 3}, 1.0f, 2, 2));
    ASSERT_TRUE(second->deleteGroupColor("油画颜色", "丙"));
    ASSERT_TRUE(second->modifyGroupColor("油画颜色", "甲", "", {9, 9, 9}, 1.0f, 2, 2));
    ASSERT_TRUE(first->addGroupColor("油画颜色", "丁", "", {4, 4, 4}, 1.0f, 2, 2));
    fresh = manager();
    PaintColorRecord c;
    EXPECT_FALSE(fresh->findGroupColor("油画颜色", "丙", c));
    ASSERT_TRUE(fresh->findGroupColor("油画颜色", "甲", a));
    EXPECT_EQ(a.color(), (RgbColor{9, 9, 9}));
    EXPECT_TRUE(fresh->findGroupColor("油画颜色", "乙", b) && fresh->findGroupColor("油画颜色", "丁", c));
    EXPECT_FALSE(first->findGroupColor("油画颜色", "丙", c)) << "the editing manager shows the file's group";

    CConfigManager one(dir.path());
    CConfigManager other(dir.path());
    for (CConfigManager *config : {&one, &other}) {
        config->open();
        ASSERT_TRUE(config->loadSysConfig());
    }
    ASSERT_TRUE(one.setInt("GridColCount", 9));
    ASSERT_TRUE(one.saveSysConfig());
    ASSERT_TRUE(other.setInt("ColorMixingMode", 1));
    ASSERT_TRUE(other.saveSysConfig());
    CConfigManager reader(dir.path());
    reader.open();
    ASSERT_TRUE(reader.loadSysConfig());
    std::int32_t columns = 0;
    std::int32_t mode = 0;
    EXPECT_TRUE(reader.getInt("GridColCount", columns) && columns == 9);
    EXPECT_TRUE(reader.getInt("ColorMixingMode", mode) && mode == 1);
}

// Control characters are refused in every name; nothing is written.
struct NamedChange {
    const char *name;
    std::function<bool(CColorManager &, const std::string &)> apply;
};

const NamedChange kNamedChanges[] = {
    {"GroupPaint",
     [](CColorManager &m, const std::string &n) { return m.addGroupColor("油画颜色", n, "", {}, 1, 2, 2); }},
    {"GroupPaintEnglishName",
     [](CColorManager &m, const std::string &n) { return m.addGroupColor("油画颜色", "新", n, {}, 1, 2, 2); }},
    {"ColorBox", [](CColorManager &m, const std::string &n) { return m.createColorBox(0, n); }},
    {"ColorBoxRename", [](CColorManager &m, const std::string &n) { return m.renameColorBox("我的颜色盒", n); }},
    {"Palette", [](CColorManager &m, const std::string &n) { return m.createPalette(n); }},
    {"PaletteSave", [](CColorManager &m, const std::string &n) { return m.savePalette(n, {}); }},
    {"PaletteRename", [](CColorManager &m, const std::string &n) { return m.renamePalette("Morvane色板", n); }},
};

class ControlCharacters : public PreparedFolder, public ::testing::WithParamInterface<NamedChange>
{ };

TEST_P(ControlCharacters, AreRefusedInNames)
{
    auto colors = manager();
    const auto before = folderBytes(dir.path());
    for (const std::string &name : {std::string("ab\0cd", 5), std::string("a\nb"), std::string("\tx"),
                                    std::string("x\x7F"), std::string("y\x1F")})
        EXPECT_FALSE(GetParam().apply(*colors, name)) << test::utf8(name);
    EXPECT_EQ(folderBytes(dir.path()), before);
    EXPECT_TRUE(GetParam().apply(*colors, "正常名")) << "a clean name is taken";
}

INSTANTIATE_TEST_SUITE_P(Store, ControlCharacters, ::testing::ValuesIn(kNamedChanges), test::CaseName());

// A damaged file is listed with its usable backup, restored on Yes, and the
// damaged bytes are kept aside.
TEST_F(PreparedFolder, ADamagedFileIsRestoredFromItsBackup)
{
    ASSERT_TRUE(manager()->createColorBox(1, "新盒"));
    const Bytes good = test::readFileBytes(dir / "QorColorbox.bin");
    const Bytes backup = test::readFileBytes(dir / "QorColorbox.bin.bak");
    Bytes damaged = good;
    damaged.resize(damaged.size() - 5);
    test::writeFileBytes(dir / "QorColorbox.bin", damaged);

    test::RecordingNotifier notifier;
    DataFolder folder(dir.path(), &notifier);
    const Status refused = folder.prepare();
    ASSERT_FALSE(refused.isOk());
    ASSERT_EQ(folder.damagedFiles().size(), 1u);
    EXPECT_EQ(folder.damagedFiles()[0].path, dir / "QorColorbox.bin");
    EXPECT_TRUE(folder.damagedFiles()[0].backupUsable);

    notifier.clear();
    notifier.scriptAnswers({true});
    EXPECT_TRUE(folder.offerRestore());
    ASSERT_EQ(notifier.messages().size(), 1u);
    EXPECT_TRUE(notifier.messages()[0].question);
    EXPECT_EQ(test::readFileBytes(dir / "QorColorbox.bin"), backup);
    int aside = 0;
    for (const auto &entry : std::filesystem::directory_iterator(dir.path())) {
        if (entry.path().filename().string().starts_with("QorColorbox.bin.damaged-")) {
            ++aside;
            EXPECT_EQ(test::readFileBytes(entry.path()), damaged);
        }
    }
    EXPECT_EQ(aside, 1);
    EXPECT_TRUE(folder.prepare().isOk());
}

struct RestoreRefusal {
    const char *name;
    std::function<void(const std::filesystem::path &)> arrange;
    const char *reason;
};

const RestoreRefusal kRestoreRefusals[] = {
    {"NotDamaged", [](const auto &) {}, "is not damaged"},
    {"NoBackup",
     [](const auto &dir) {
         test::writeFileBytes(dir / "QorPalette.bin", {1, 2});
     },
     "no backup"},
    {"BackupDamagedToo",
     [](const auto &dir) {
         test::writeFileBytes(dir / "QorPalette.bin", {1, 2});
         test::writeFileBytes(dir / "QorPalette.bin.bak", {3});
     },
     "cannot be used either"},
};

class RestoreRefused : public PreparedFolder, public ::testing::WithParamInterface<RestoreRefusal>
{ };

TEST_P(RestoreRefused, ChangesNothing)
{
    GetParam().arrange(dir.path());
    const auto before = test::readFileBytes(dir / "QorPalette.bin");
    const auto restored = DataFolder::restoreFromBackup(dir / "QorPalette.bin");
    ASSERT_FALSE(restored.isOk());
    EXPECT_NE(restored.message().find(GetParam().reason), std::string::npos) << restored.message();
    EXPECT_EQ(test::readFileBytes(dir / "QorPalette.bin"), before);
}

INSTANTIATE_TEST_SUITE_P(Store, RestoreRefused, ::testing::ValuesIn(kRestoreRefusals), test::CaseName());

// What stands where a data file should be is named.
struct Impostor {
    const char *name;
    std::function<void(const std::filesystem::path &)> make;
    const char *message;
};

const Impostor kImpostors[] = {
    {"Fifo", [](const auto &path) { ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0); }, "is not a regular file"},
    {"DanglingLink", [](const auto &path) { std::filesystem::create_symlink("/nonexistent/pigmora", path); },
     "is a link to /nonexistent/pigmora, which does not exist"},
    {"Folder", [](const auto &path) { std::filesystem::create_directory(path); }, "is a folder"},
};

class ImpostorFile : public ::testing::TestWithParam<Impostor>
{ };

TEST_P(ImpostorFile, IsNamedForWhatItIs)
{
    test::TempDir dir;
    GetParam().make(dir / "QorPalette.bin");
    const Status status = DataFolder(dir.path(), nullptr).prepare();
    ASSERT_FALSE(status.isOk());
    EXPECT_NE(status.message().find(GetParam().message), std::string::npos) << status.message();
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(dir / "QorPalette.bin")));
}

INSTANTIATE_TEST_SUITE_P(Store, ImpostorFile, ::testing::ValuesIn(kImpostors), test::CaseName());

// A read-only folder: a read-only mount where the tests may mount (root),
// else the folder's permissions (which do not bind root).
class ReadOnlyFolder : public PreparedFolder
{
protected:
    void SetUp() override
    {
        if (::geteuid() == 0) {
            if (::mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=1m") != 0)
                GTEST_SKIP() << "no tmpfs mount here";
            mounted = true;
        }
        PreparedFolder::SetUp();
        for (const auto &entry : std::filesystem::directory_iterator(dir.path()))
            names.insert(entry.path().filename().string());
        for (const char *name : kDataFiles)
            std::filesystem::permissions(dir / name, std::filesystem::perms::owner_read);
        if (mounted)
            ASSERT_EQ(::mount(nullptr, dir.path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
        else
            std::filesystem::permissions(dir.path(),
                                         std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    }
    void TearDown() override
    {
        if (mounted)
            ::umount(dir.path().c_str());
        else
            std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    }
    bool mounted = false;
    std::set<std::string> names; // the folder's files when it became read-only
};

TEST_F(ReadOnlyFolder, ServesEveryReadingAndRefusesChanges)
{
    test::RecordingNotifier notifier;
    DataFolder folder(dir.path(), &notifier);
    ASSERT_TRUE(folder.prepare().isOk()) << folder.prepare().message();
    EXPECT_TRUE(folder.isReadOnly());
    EXPECT_EQ(folder.colorBoxNames().size(), 11u);
    EXPECT_EQ(folder.colors()->catalogueCount(), 261);
    std::vector<PaletteColorRecord> colors;
    EXPECT_TRUE(folder.colors()->loadPalette("Tarlowe色板", colors));
    EXPECT_EQ(colors.size(), 8u);
    EXPECT_TRUE(notifier.messages().empty());

    EXPECT_FALSE(folder.colors()->addGroupColor("油画颜色", "新", "", {}, 1.0f, 2, 2));
    EXPECT_FALSE(folder.colors()->createPalette("新"));
    EXPECT_FALSE(folder.config()->setInt("GridColCount", 3) && folder.config()->saveSysConfig());
    EXPECT_FALSE(notifier.messages().empty());
    std::set<std::string> now;
    for (const auto &entry : std::filesystem::directory_iterator(dir.path()))
        now.insert(entry.path().filename().string());
    EXPECT_EQ(now, names) << "nothing was created";
}

} // namespace
} // namespace pigmora
