// The data folder's lock: one wait limit for a whole command, and a lock file
// that cannot be used is named for what it is.
#include "data/colormanager.h"
#include "store/datafolder.h"
#include "store/folderlock.h"

#include "storetestsupport.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pigmora {
namespace {

using test::LockHolder;

class WaitLimit : public ::testing::Test
{
protected:
    void SetUp() override { FolderLock::setWaitLimit(std::chrono::milliseconds(300)); }
    void TearDown() override { FolderLock::setWaitLimit(std::chrono::milliseconds(5000)); }
    test::TempDir dir;
};

// Six lock requests of one command while another program holds the lock:
// they wait 0.3 s together, not 0.3 s each.
TEST_F(WaitLimit, IsOneForTheWholeCommand)
{
    ASSERT_TRUE(DataFolder(dir.path(), nullptr).prepare().isOk());
    LockHolder holder(dir.path());
    ASSERT_TRUE(holder.holding());
    CColorManager colors(dir.path());
    const auto start = std::chrono::steady_clock::now();
    {
        const FolderLock::CommandScope command;
        for (int i = 0; i < 6; ++i)
            EXPECT_FALSE(colors.createPalette("色板" + std::to_string(i)));
    }
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(300));
    EXPECT_LT(waited, std::chrono::milliseconds(1200)) << "six requests would wait 1.8 s";
}

// A busy lock at start-up is reported as such, not as damaged files.
TEST_F(WaitLimit, ABusyFolderAtStartIsNoDamage)
{
    ASSERT_TRUE(DataFolder(dir.path(), nullptr).prepare().isOk());
    LockHolder holder(dir.path());
    ASSERT_TRUE(holder.holding());
    DataFolder folder(dir.path(), nullptr);
    const Status prepared = folder.prepare();
    EXPECT_FALSE(prepared.isOk());
    EXPECT_NE(prepared.message().find("in use by another program"), std::string::npos) << prepared.message();
    EXPECT_TRUE(folder.damagedFiles().empty());
    ASSERT_FALSE(folder.problems().empty());
    EXPECT_EQ(folder.problems()[0].kind, DataFolder::FileProblem::Kind::Busy);
}

// Something that is no regular file where the lock file goes: changes name
// it instead of calling the (writable) folder read-only.
struct LockImpostor {
    const char *name;
    std::function<void(const std::filesystem::path &)> make;
    const char *message;
};

const LockImpostor kLockImpostors[] = {
    {"LinkToAFile",
     [](const auto &path) {
         test::writeFileBytes(path.parent_path() / "other", {});
         std::filesystem::create_symlink(path.parent_path() / "other", path);
     },
     "is a symbolic link"},
    {"DanglingLink", [](const auto &path) { std::filesystem::create_symlink("/nonexistent/lock", path); },
     "is a symbolic link"},
    {"Folder", [](const auto &path) { std::filesystem::create_directory(path); }, "is a folder"},
    {"Socket",
     [](const auto &path) {
         const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
         sockaddr_un address{};
         address.sun_family = AF_UNIX;
         std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
         ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
         ::close(fd);
     },
     "not a regular file"},
};

class LockFileImpostor : public ::testing::TestWithParam<LockImpostor>
{ };

TEST_P(LockFileImpostor, IsNamedForWhatItIs)
{
    test::TempDir dir;
    ASSERT_TRUE(DataFolder(dir.path(), nullptr).prepare().isOk());
    std::filesystem::remove(dir / "QorData.lock");
    GetParam().make(dir / "QorData.lock");
    CPalettePanelFile file;
    ASSERT_TRUE(file.open(dir / "QorPalette.bin")) << "reading still works";
    EXPECT_FALSE(file.addEntry("新", 0, {}, 0));
    const std::string message = file.lastError().message();
    EXPECT_NE(message.find(GetParam().message), std::string::npos) << message;
    EXPECT_EQ(message.find("read-only"), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(Store, LockFileImpostor, ::testing::ValuesIn(kLockImpostors), test::CaseName());

} // namespace
} // namespace pigmora
