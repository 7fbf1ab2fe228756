#pragma once

#include "data/status.h"

#include <chrono>
#include <filesystem>
#include <string>

namespace pigmora {

// The advisory lock of one data folder, shared by every process that uses the
// folder (the desktop program, command lines): a lock file beside the data
// files, locked with flock. Readers hold it shared, an edit holds it
// exclusive for the whole read-modify-write.
//
// Within one process the lock nests: a holder may take it again (an
// exclusive holder in any mode, a shared holder also exclusive, which then
// waits for the other processes' readers). The last release unlocks.
class FolderLock
{
public:
    enum class Mode { Shared, Exclusive };
    static constexpr std::string_view kFileName = "QorData.lock";

    FolderLock() = default;
    ~FolderLock();
    FolderLock(FolderLock &&other) noexcept;
    FolderLock &operator=(FolderLock &&other) noexcept;
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    // Waits up to waitLimit() for the lock. Only an exclusive request creates
    // the lock file; a shared one where there is none (no change was ever
    // made, or a read-only folder) is granted without locking. An exclusive
    // request where no lock file can be made is refused: nothing can be
    // written there.
    static Result<FolderLock> acquire(const std::filesystem::path &folder, Mode mode);

    // How long a lock request waits for other processes (5 s unless set).
    static std::chrono::milliseconds waitLimit();
    static void setWaitLimit(std::chrono::milliseconds limit);

    // One wait limit for a whole command: while a scope lives, the lock
    // requests of its thread together wait at most waitLimit() from the
    // scope's start (a request after that tries once). A command that asks
    // for the lock many times thus never waits many times the limit. Nested
    // scopes keep the outermost one's deadline.
    class CommandScope
    {
    public:
        CommandScope();
        ~CommandScope();
        CommandScope(const CommandScope &) = delete;
        CommandScope &operator=(const CommandScope &) = delete;

    private:
        bool m_outermost;
    };

    bool held() const { return !m_key.empty(); }
    // False when the shared lock was granted without a lock file.
    bool locked() const { return m_locked; }
    void release();

private:
    std::string m_key; // the folder, as the process-wide table knows it
    Mode m_mode = Mode::Shared;
    bool m_locked = false;
};

} // namespace pigmora
