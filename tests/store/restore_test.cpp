// Restoring a data file from its backup: the data file exists, damaged or
// restored, at every instant; a missing file whose backup opens is not
// replaced by defaults; a data file that is a symbolic link is restored and
// checked at its target.
#include "data/colormanager.h"
#include "store/datafolder.h"

#include "faultinjection.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace pigmora {
namespace {

using Bytes = std::vector<unsigned char>;

class Restore : public ::testing::Test
{
protected:
    // A prepared folder whose palette file has a backup (one change made) and
    // was then damaged.
    void SetUp() override
    {
        ASSERT_TRUE(DataFolder(dir.path(), nullptr).prepare().isOk());
        CColorManager colors(dir.path());
        ASSERT_TRUE(colors.createPalette("新色板"));
        backup = test::readFileBytes(dir / "QorPalette.bin.bak");
        damaged = test::readFileBytes(dir / "QorPalette.bin");
        damaged.resize(damaged.size() - 3);
        test::writeFileBytes(dir / "QorPalette.bin", damaged);
    }
    int damagedCopies() const
    {
        int n = 0;
        for (const auto &entry : std::filesystem::directory_iterator(dir.path()))
            n += entry.path().filename().string().starts_with("QorPalette.bin.damaged-");
        return n;
    }
    test::TempDir dir;
    Bytes backup;
    Bytes damaged;
};

// A kill at each write or flush of a restore leaves the damaged file or the
// restored one, never no file; the backup stays as it was.
TEST_F(Restore, AKillAtAnyStepLeavesADataFile)
{
    for (int step = 0;; ++step) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            test::FaultInjection faults;
            faults.stopAtStep(step);
            ::_exit(DataFolder::restoreFromBackup(dir / "QorPalette.bin") ? 2 : 3);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        const Bytes now = test::readFileBytes(dir / "QorPalette.bin");
        EXPECT_TRUE(now == damaged || now == backup) << "stopped at step " << step;
        EXPECT_EQ(test::readFileBytes(dir / "QorPalette.bin.bak"), backup);
        if (WEXITSTATUS(status) != 0) {
            EXPECT_EQ(WEXITSTATUS(status), 2) << "the restore ran to its end";
            EXPECT_EQ(now, backup);
            EXPECT_GE(step, 2) << "a copy and a flush at least";
            break;
        }
        test::writeFileBytes(dir / "QorPalette.bin", damaged);
    }
}

// A failure at any step changes nothing and says why.
TEST_F(Restore, AFailureAtAnyStepChangesNothing)
{
    for (int step = 0;; ++step) {
        Result<std::filesystem::path> restored = Status::error("not run");
        {
            test::FaultInjection faults;
            faults.failStepsFrom(step);
            restored = DataFolder::restoreFromBackup(dir / "QorPalette.bin");
        }
        if (restored) {
            EXPECT_EQ(test::readFileBytes(dir / "QorPalette.bin"), backup);
            EXPECT_EQ(test::readFileBytes(*restored), damaged);
            break;
        }
        EXPECT_NE(restored.message().find("nothing was changed"), std::string::npos) << restored.message();
        EXPECT_EQ(test::readFileBytes(dir / "QorPalette.bin"), damaged) << "failing from step " << step;
        EXPECT_EQ(damagedCopies(), 0);
        EXPECT_FALSE(std::filesystem::exists(dir / "QorPalette.bin.tmp"));
    }
}

// Where the working copy would go a folder stands: the restore names it and
// the damaged file stays.
TEST_F(Restore, AFolderInTheWorkingCopysPlaceIsNamed)
{
    std::filesystem::create_directory(dir / "QorPalette.bin.tmp");
    const auto restored = DataFolder::restoreFromBackup(dir / "QorPalette.bin");
    ASSERT_FALSE(restored.isOk());
    EXPECT_NE(restored.message().find("QorPalette.bin.tmp: Is a directory"), std::string::npos) << restored.message();
    EXPECT_EQ(test::readFileBytes(dir / "QorPalette.bin"), damaged);
}

// A missing data file whose backup opens is not made anew with defaults
// (which the next change would keep as the backup, losing the good copy):
// start-up lists it for restoring.
TEST_F(Restore, AMissingFileWithABackupIsOfferedNotReplaced)
{
    std::filesystem::remove(dir / "QorPalette.bin");
    test::RecordingNotifier notifier;
    DataFolder folder(dir.path(), &notifier);
    const Status prepared = folder.prepare();
    EXPECT_FALSE(prepared.isOk());
    EXPECT_FALSE(std::filesystem::exists(dir / "QorPalette.bin"));
    ASSERT_EQ(folder.problems().size(), 1u);
    EXPECT_EQ(folder.problems()[0].kind, DataFolder::FileProblem::Kind::MissingWithBackup);
    EXPECT_NE(folder.problems()[0].message().find("pigmora-cli restore QorPalette.bin"), std::string::npos);
    ASSERT_EQ(folder.damagedFiles().size(), 1u);
    EXPECT_TRUE(folder.damagedFiles()[0].missing);

    notifier.scriptAnswers({true});
    EXPECT_TRUE(folder.offerRestore());
    EXPECT_EQ(test::readFileBytes(dir / "QorPalette.bin"), backup);
    EXPECT_EQ(test::readFileBytes(dir / "QorPalette.bin.bak"), backup);
    EXPECT_EQ(damagedCopies(), 0);
    EXPECT_TRUE(folder.prepare().isOk());
}

// A data file that is a link to a file elsewhere keeps its backup beside
// the target: the start-up check finds it there and restore works there.
TEST_F(Restore, ALinkedDataFileIsRestoredAtItsTarget)
{
    test::TempDir elsewhere;
    std::filesystem::rename(dir / "QorPalette.bin", elsewhere / "QorPalette.bin");
    std::filesystem::rename(dir / "QorPalette.bin.bak", elsewhere / "QorPalette.bin.bak");
    std::filesystem::create_symlink(elsewhere / "QorPalette.bin", dir / "QorPalette.bin");

    DataFolder folder(dir.path(), nullptr);
    EXPECT_FALSE(folder.prepare().isOk());
    ASSERT_EQ(folder.damagedFiles().size(), 1u);
    EXPECT_TRUE(folder.damagedFiles()[0].backupUsable);

    const auto restored = DataFolder::restoreFromBackup(dir / "QorPalette.bin");
    ASSERT_TRUE(restored.isOk()) << restored.message();
    EXPECT_EQ(restored->parent_path(), elsewhere.path());
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "QorPalette.bin"));
    EXPECT_EQ(test::readFileBytes(elsewhere / "QorPalette.bin"), backup);

    // Edits keep their backup there too.
    CColorManager colors(dir.path());
    ASSERT_TRUE(colors.createPalette("再一个"));
    EXPECT_EQ(test::readFileBytes(elsewhere / "QorPalette.bin.bak"), backup);
    EXPECT_FALSE(std::filesystem::exists(dir / "QorPalette.bin.bak"));
}

// Names that are no data file are refused before anything is locked or
// looked at, each for its own reason.
TEST(RestoreNames, AreRefusedForWhatTheyAre)
{
    test::TempDir dir;
    const struct {
        std::filesystem::path file;
        const char *reason;
    } cases[] = {
        {dir / "", "names a folder, not a data file"},
        {dir / "notes.txt", "notes.txt is not a data file"},
        {dir / "absent" / "QorPalette.bin", "does not exist"},
    };
    for (const auto &c : cases) {
        const auto restored = DataFolder::restoreFromBackup(c.file);
        ASSERT_FALSE(restored.isOk()) << c.file;
        EXPECT_NE(restored.message().find(c.reason), std::string::npos) << restored.message();
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << "no lock file was made";
}

} // namespace
} // namespace pigmora
