// Every change of a data file is atomic: with the k-th write or flush failing,
// or the process stopped there, for every k, the file is afterwards exactly
// the old or the new version (the old one when the change reported failure)
// and opens.
#include "data/colormanager.h"
#include "store/configmanager.h"
#include "store/tablefile.h"

#include "faultinjection.h"
#include "storetestsupport.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <sys/wait.h>

namespace pigmora {
namespace {

using Bytes = std::vector<unsigned char>;

std::vector<std::uint8_t> filled(std::size_t n, std::uint8_t value)
{
    return std::vector<std::uint8_t>(n, value);
}

// A colour box table with entries e00..e<n-1>, e<i> holding 84 bytes of i.
void makeTable(const std::filesystem::path &path, int n)
{
    CColorBoxFile file(CColorBoxFile::kColorBoxMode);
    ASSERT_TRUE(file.create(path));
    for (int i = 0; i < n; ++i)
        ASSERT_TRUE(file.addEntry("e" + std::to_string(100 + i), 1, filled(84, static_cast<std::uint8_t>(i)), i));
}

struct Change {
    const char *name;
    const char *file; // the file the change replaces
    std::function<void(const std::filesystem::path &)> setUp; // the folder before the change
    std::function<bool(const std::filesystem::path &)> apply; // the change; its result
};

const Change kChanges[] = {
    {"AddGrowingTheDirectory", "QorColorbox.bin", [](const auto &dir) { makeTable(dir / "QorColorbox.bin", 16); },
     [](const auto &dir) {
         CColorBoxFile file(CColorBoxFile::kColorBoxMode);
         return file.open(dir / "QorColorbox.bin") && file.addEntry("new", 2, filled(168, 9), 3);
     }},
    {"DeleteMovingData", "QorColorbox.bin", [](const auto &dir) { makeTable(dir / "QorColorbox.bin", 20); },
     [](const auto &dir) {
         CColorBoxFile file(CColorBoxFile::kColorBoxMode);
         return file.open(dir / "QorColorbox.bin") && file.deleteEntry("e100");
     }},
    {"Rename", "QorColorbox.bin", [](const auto &dir) { makeTable(dir / "QorColorbox.bin", 3); },
     [](const auto &dir) {
         CColorBoxFile file(CColorBoxFile::kColorBoxMode);
         return file.open(dir / "QorColorbox.bin") && file.renameEntry("e101", "zz");
     }},
    {"BatchOfThree", "QorColorbox.bin", [](const auto &dir) { makeTable(dir / "QorColorbox.bin", 15); },
     [](const auto &dir) {
         CColorBoxFile file(CColorBoxFile::kColorBoxMode);
         if (!file.open(dir / "QorColorbox.bin") || !file.beginEdit())
             return false;
         const bool written = file.writeEntry("e100", 2, filled(168, 7), 0) && file.addEntry("a", 0, {}, 0)
             && file.addEntry("b", 1, filled(84, 1), 0);
         return written ? file.commitEdit() : (file.cancelEdit(), false);
     }},
    {"CreateWithDefaults", "QorColorGroup.bin", [](const auto &) {},
     [](const auto &dir) {
         CColorManager manager(dir);
         manager.buildBuiltInCatalogue();
         return manager.createDefaultColorGroupFile();
     }},
    {"ImportOfFiftyPaints", "QorColorGroup.bin",
     [](const auto &dir) {
         CColorManager manager(dir);
         manager.buildBuiltInCatalogue();
         ASSERT_TRUE(manager.createDefaultColorGroupFile());
     },
     [](const auto &dir) {
         CColorManager manager(dir);
         manager.buildBuiltInCatalogue();
         manager.loadColorGroups();
         std::vector<CColorManager::NewGroupColor> paints;
         for (int i = 0; i < 50; ++i)
             paints.push_back({"imported" + std::to_string(i), "", {i, i, i}});
         return manager.addGroupColors("水粉颜色", paints).isOk();
     }},
    {"SettingsSave", "QorConfig.bin",
     [](const auto &dir) { ASSERT_TRUE(CConfigManager(dir).createDefaultConfigFile()); },
     [](const auto &dir) {
         CConfigManager config(dir);
         config.open();
         return config.loadSysConfig() && config.setInt("GridColCount", 12) && config.saveSysConfig();
     }},
};

// Opens when present; absent counts as the old version of a created file.
::testing::AssertionResult opensOrIsAbsent(const std::filesystem::path &path)
{
    if (!std::filesystem::exists(path))
        return ::testing::AssertionSuccess();
    CConfigFile config;
    CColorBoxFile groups(CColorBoxFile::kColorGroupMode);
    CColorBoxFile boxes(CColorBoxFile::kColorBoxMode);
    const std::string name = path.filename().string();
    const bool opened = name == "QorConfig.bin" ? config.open(path)
        : name == "QorColorGroup.bin"           ? groups.open(path)
                                                : boxes.open(path);
    return opened ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << name << " does not open";
}

Bytes bytesOrNothing(const std::filesystem::path &path)
{
    return std::filesystem::exists(path) ? test::readFileBytes(path) : Bytes{};
}

class AtomicChange : public ::testing::TestWithParam<Change>
{
protected:
    void SetUp() override
    {
        GetParam().setUp(start.path());
        test::TempDir reference;
        startIn(reference.path());
        oldBytes = bytesOrNothing(reference / GetParam().file);
        test::FaultInjection counting;
        ASSERT_TRUE(GetParam().apply(reference.path()));
        steps = counting.steps();
        newBytes = bytesOrNothing(reference / GetParam().file);
        ASSERT_NE(oldBytes, newBytes);
        ASSERT_GT(steps, 1);
    }

    // The folder before the change, copied (made once: making it flushes).
    void startIn(const std::filesystem::path &dir) const
    {
        for (const auto &entry : std::filesystem::directory_iterator(start.path()))
            std::filesystem::copy(entry.path(), dir / entry.path().filename());
    }

    test::TempDir start;
    Bytes oldBytes;
    Bytes newBytes;
    int steps = 0;
};

TEST_P(AtomicChange, AFailingWriteOrFlushLeavesTheOldFile)
{
    for (int k = 0; k < steps; ++k) {
        test::TempDir dir;
        startIn(dir.path());
        bool done = false;
        {
            test::FaultInjection faults;
            faults.failStepsFrom(k);
            done = GetParam().apply(dir.path());
        }
        const std::filesystem::path path = dir / GetParam().file;
        // Only the folder's flush after the rename may fail once the file is replaced.
        EXPECT_EQ(bytesOrNothing(path), done ? newBytes : oldBytes) << "step " << k << " of " << steps;
        EXPECT_TRUE(opensOrIsAbsent(path)) << "step " << k;
        EXPECT_FALSE(std::filesystem::exists(dir / (std::string(GetParam().file) + ".tmp"))) << "step " << k;
        if (!done) {
            EXPECT_TRUE(GetParam().apply(dir.path())) << "the next change succeeds, step " << k;
        }
    }
}

TEST_P(AtomicChange, AStopAtAnyStepLeavesTheOldOrTheNewFile)
{
    for (int k = 0; k <= steps; ++k) {
        test::TempDir dir;
        startIn(dir.path());
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            test::FaultInjection faults;
            faults.stopAtStep(k);
            GetParam().apply(dir.path());
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        const std::filesystem::path path = dir / GetParam().file;
        const Bytes bytes = bytesOrNothing(path);
        EXPECT_TRUE(bytes == oldBytes || bytes == newBytes) << "stopped before step " << k << " of " << steps;
        EXPECT_TRUE(opensOrIsAbsent(path)) << "step " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Store, AtomicChange, ::testing::ValuesIn(kChanges), test::CaseName());

// The version an edit replaces is kept as the backup.
TEST(Backup, KeepsTheVersionBeforeTheLastChange)
{
    test::TempDir dir;
    makeTable(dir / "QorColorbox.bin", 2);
    const Bytes before = test::readFileBytes(dir / "QorColorbox.bin");
    CColorBoxFile file(CColorBoxFile::kColorBoxMode);
    ASSERT_TRUE(file.open(dir / "QorColorbox.bin"));
    ASSERT_TRUE(file.deleteEntry("e100"));
    EXPECT_EQ(test::readFileBytes(dir / "QorColorbox.bin.bak"), before);
    EXPECT_TRUE(file.deleteEntry("absent"));
    EXPECT_EQ(test::readFileBytes(dir / "QorColorbox.bin.bak"), before) << "no change, no new backup";
}

} // namespace
} // namespace pigmora
