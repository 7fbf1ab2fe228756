#include "store/folderlock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/file.h>
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

// Tries flock until the wait limit; true once held.
bool lockWithin(int fd, int operation)
{
    const auto deadline = std::chrono::steady_clock::now() + g_waitLimit;
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
// complete version.
int openLockFile(const std::filesystem::path &folder, bool create)
{
    const std::filesystem::path path = folder / FolderLock::kFileName;
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | (create ? O_CREAT : 0), 0666);
    if (fd < 0)
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW); // flock works on a read-only file too
    return fd;
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
            return Status::error("the data folder " + folder.string() + " is read-only; nothing was changed");
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
