#include "store/folderlock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace pigmora {

namespace {

// One lock file per folder per process: flock locks belong to an open file,
// so nested requests of the process share the file and only count.
struct Holding {
    int fd = -1; // -1: granted without a lock file
    int shared = 0;
    int exclusive = 0;
};

std::mutex g_mutex;
std::map<std::string, Holding> g_holdings;
std::chrono::milliseconds g_waitLimit{5000};
// The deadline of the thread's command scope, if one is open.
thread_local std::optional<std::chrono::steady_clock::time_point> t_commandDeadline;

// Tries flock until the wait limit (or the command's deadline, when that is
// sooner); true once held.
bool lockWithin(int fd, int operation)
{
    auto deadline = std::chrono::steady_clock::now() + g_waitLimit;
    if (t_commandDeadline && *t_commandDeadline < deadline)
        deadline = *t_commandDeadline;
    for (;;) {
        if (::flock(fd, operation | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return false;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// Readers never create the lock file: where none exists yet no change has
// been made, and changes replace files whole, so a reader still sees one
// complete version. A lock file that is not a regular file (a link, a
// socket, a folder) is never used: another program could not share it.
int openLockFile(const std::filesystem::path &folder, bool create)
{
    const std::filesystem::path path = folder / FolderLock::kFileName;
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | (create ? O_CREAT : 0), 0666);
    if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
        fd = ::open(path.c_str(),
                    O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK); // flock works on a read-only file too
    struct stat info { };
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        fd = -1;
    }
    return fd;
}

// Why an exclusive lock could not be had where no lock file opens: the
// folder is read-only, or something else stands where the lock file goes.
std::string noLockFileMessage(const std::filesystem::path &folder)
{
    const std::filesystem::path path = folder / FolderLock::kFileName;
    const std::string name(FolderLock::kFileName);
    struct stat info { };
    if (::lstat(path.c_str(), &info) == 0) {
        if (S_ISLNK(info.st_mode))
            return "the lock file " + name + " in " + folder.string()
                + " is a symbolic link; remove it (the programs make a new one); nothing was changed";
        if (!S_ISREG(info.st_mode))
            return "the lock file " + name + " in " + folder.string() + " is "
                + (S_ISDIR(info.st_mode) ? "a folder" : "not a regular file (a socket, FIFO or device)")
                + "; remove it (the programs make a new one); nothing was changed";
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(folder.empty() ? "." : folder, ec))
        return "the data folder " + folder.string() + " does not exist; nothing was changed";
    return "the data folder " + folder.string() + " is read-only; nothing was changed";
}

std::string busyMessage(const std::filesystem::path &folder)
{
    return "the data folder " + folder.string() + " is in use by another program (waited "
        + std::to_string(g_waitLimit.count() / 1000.0).substr(0, 3) + " s); nothing was changed";
}

} // namespace

FolderLock::~FolderLock()
{
    release();
}

FolderLock::FolderLock(FolderLock &&other) noexcept
    : m_key(std::move(other.m_key))
    , m_mode(other.m_mode)
    , m_locked(other.m_locked)
{
    other.m_key.clear();
}

FolderLock &FolderLock::operator=(FolderLock &&other) noexcept
{
    if (this != &other) {
        release();
        m_key = std::move(other.m_key);
        m_mode = other.m_mode;
        m_locked = other.m_locked;
        other.m_key.clear();
    }
    return *this;
}

FolderLock::CommandScope::CommandScope()
    : m_outermost(!t_commandDeadline)
{
    if (m_outermost)
        t_commandDeadline = std::chrono::steady_clock::now() + g_waitLimit;
}

FolderLock::CommandScope::~CommandScope()
{
    if (m_outermost)
        t_commandDeadline.reset();
}

std::chrono::milliseconds FolderLock::waitLimit()
{
    return g_waitLimit;
}

void FolderLock::setWaitLimit(std::chrono::milliseconds limit)
{
    g_waitLimit = limit;
}

Result<FolderLock> FolderLock::acquire(const std::filesystem::path &folder, Mode mode)
{
    // One key per folder however it is spelled (relative, trailing slash, a link).
    std::error_code ec;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(folder.empty() ? "." : folder, ec);
    if (ec)
        resolved = folder;
    if (!resolved.has_filename() && resolved.has_parent_path())
        resolved = resolved.parent_path();
    const std::string key = resolved.string();
    std::lock_guard guard(g_mutex);
    Holding &holding = g_holdings[key];
    const bool fresh = holding.shared == 0 && holding.exclusive == 0;
    if (fresh)
        holding.fd = openLockFile(folder, mode == Mode::Exclusive);
    else if (holding.fd < 0 && mode == Mode::Exclusive) {
        holding.fd = openLockFile(folder, true);
        if (holding.fd >= 0 && !lockWithin(holding.fd, LOCK_SH)) { // what the readers here hold
            ::close(holding.fd);
            holding.fd = -1;
        }
    }
    auto forgetIfUnused = [&] {
        if (holding.shared == 0 && holding.exclusive == 0) {
            if (holding.fd >= 0)
                ::close(holding.fd);
            g_holdings.erase(key);
        }
    };

    if (holding.fd < 0) {
        if (mode == Mode::Exclusive) {
            forgetIfUnused();
            return Status::error(noLockFileMessage(folder));
        }
        ++holding.shared;
    } else if (mode == Mode::Shared) {
        if (fresh && !lockWithin(holding.fd, LOCK_SH)) {
            forgetIfUnused();
            return Status::error(busyMessage(folder));
        }
        ++holding.shared;
    } else {
        if (holding.exclusive == 0 && !lockWithin(holding.fd, LOCK_EX)) {
            // A failed conversion may have dropped the shared lock: take it again.
            if (holding.shared > 0)
                ::flock(holding.fd, LOCK_SH);
            forgetIfUnused();
            return Status::error(busyMessage(folder));
        }
        ++holding.exclusive;
    }
    FolderLock lock;
    lock.m_key = key;
    lock.m_mode = mode;
    lock.m_locked = holding.fd >= 0;
    return lock;
}

void FolderLock::release()
{
    if (m_key.empty())
        return;
    std::lock_guard guard(g_mutex);
    const auto found = g_holdings.find(m_key);
    m_key.clear();
    if (found == g_holdings.end())
        return;
    Holding &holding = found->second;
    if (m_mode == Mode::Exclusive)
        --holding.exclusive;
    else
        --holding.shared;
    if (holding.exclusive == 0 && holding.shared == 0) {
        if (holding.fd >= 0)
            ::close(holding.fd); // closing the last descriptor unlocks
        g_holdings.erase(found);
    } else if (holding.exclusive == 0 && m_mode == Mode::Exclusive && holding.fd >= 0) {
        ::flock(holding.fd, LOCK_SH); // back to the readers' lock still held
    }
}

} // namespace pigmora
