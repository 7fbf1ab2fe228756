#include "store/dcfile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace pigmora {

namespace {

std::ptrdiff_t systemRead(int fd, void *buffer, std::size_t n)
{
    return ::read(fd, buffer, n);
}

std::ptrdiff_t systemWrite(int fd, const void *buffer, std::size_t n)
{
    return ::write(fd, buffer, n);
}

int systemSync(int fd)
{
    return ::fsync(fd);
}

constexpr DCFileIo kSystemIo{systemRead, systemWrite, systemSync};
const DCFileIo *g_io = &kSystemIo;

bool fitsOffset(long long value)
{
    return value >= 0 && value <= INT_MAX;
}

// Repeats a read or write until n bytes moved, the end of the file or an
// error; the bytes moved.
template<typename Byte, typename Call>
int transferAll(Byte *buffer, int n, Call call)
{
    int done = 0;
    while (done < n) {
        const std::ptrdiff_t moved = call(buffer + done, static_cast<std::size_t>(n - done));
        if (moved < 0 && errno == EINTR)
            continue;
        if (moved <= 0)
            break;
        done += static_cast<int>(moved);
    }
    return done;
}

} // namespace

void setDCFileIo(const DCFileIo *io)
{
    g_io = io ? io : &kSystemIo;
}

bool syncFolder(const std::filesystem::path &folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool done = (g_io->sync ? g_io->sync(fd) : ::fsync(fd)) == 0;
    ::close(fd);
    return done;
}

DCFile::~DCFile()
{
    close();
}

bool DCFile::openWith(const std::filesystem::path &path, int flags)
{
    close();
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0) {
        m_errno = errno;
        return false;
    }
    m_fd = fd;
    m_path = path;
    m_flags = flags;
    m_open = true;
    return true;
}

bool DCFile::create(const std::filesystem::path &path)
{
    return openWith(path, O_RDWR | O_CREAT | O_TRUNC);
}

bool DCFile::open(const std::filesystem::path &path)
{
    return openWith(path, O_RDWR);
}

bool DCFile::openForReading(const std::filesystem::path &path)
{
    return openWith(path, O_RDONLY);
}

void DCFile::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_open = false;
}

bool DCFile::exists(const std::filesystem::path &path)
{
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

int DCFile::seek(int offset, SeekOrigin origin)
{
    if (!m_open)
        return -1;
    const int whence = origin == SeekOrigin::Start ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
    const off_t position = ::lseek(m_fd, offset, whence);
    return fitsOffset(position) ? static_cast<int>(position) : -1;
}

void DCFile::seekToEnd()
{
    seek(0, SeekOrigin::End);
}

int DCFile::length() const
{
    struct stat info { };
    if (!m_open || ::fstat(m_fd, &info) != 0 || !fitsOffset(info.st_size))
        return -1;
    return static_cast<int>(info.st_size);
}

int DCFile::read(void *buffer, int n)
{
    if (!m_open || n < 0 || (n > 0 && !buffer))
        return -1;
    return transferAll(static_cast<char *>(buffer), n,
                       [this](char *at, std::size_t left) { return g_io->read(m_fd, at, left); });
}

int DCFile::write(const void *buffer, int n)
{
    if (!m_open || n < 0 || (n > 0 && !buffer))
        return -1;
    const int done = transferAll(static_cast<const char *>(buffer), n, [this](const char *at, std::size_t left) {
        const std::ptrdiff_t moved = g_io->write(m_fd, at, left);
        if (moved <= 0)
            m_errno = moved < 0 ? errno : ENOSPC; // a write that makes no progress: the disk is full
        return moved;
    });
    return done;
}

int DCFile::readAt(int offset, void *buffer, int n)
{
    if (!m_open || offset < 0 || seek(offset, SeekOrigin::Start) != offset)
        return -1;
    return read(buffer, n);
}

int DCFile::writeAt(int offset, const void *buffer, int n)
{
    if (!m_open || offset < 0 || seek(offset, SeekOrigin::Start) != offset)
        return -1;
    return write(buffer, n);
}

bool DCFile::appendFill(std::uint8_t value, int n)
{
    if (!m_open || n <= 0)
        return false;
    const int end = length();
    if (end < 0 || static_cast<long long>(end) + n > INT_MAX)
        return false;
    const int chunk = std::min(n, m_blockSize);
    auto block = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(chunk));
    std::fill_n(block.get(), chunk, value);
    if (seek(0, SeekOrigin::End) != end)
        return false;
    for (int left = n; left > 0;) {
        const int step = std::min(left, chunk);
        if (write(block.get(), step) != step)
            return false;
        left -= step;
    }
    return true;
}

bool DCFile::moveBlock(int destination, int source, int count)
{
    if (!m_open || destination < 0 || source < 0 || count < 0)
        return false;
    const long long fileLength = length();
    if (fileLength < destination + static_cast<long long>(count) || fileLength < source + static_cast<long long>(count))
        return false;
    if (destination == source || count == 0)
        return true;

    const int chunk = std::min(m_blockSize, count);
    auto block = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(chunk));
    // Towards the start the copy runs forwards, towards the end backwards, so
    // an overlapping source is read before it is overwritten.
    const bool forwards = destination < source;
    int readPos = forwards ? source : source + count - chunk;
    int writePos = forwards ? destination : destination + count - chunk;
    for (int left = count; left > 0;) {
        const int step = std::min(left, chunk);
        if (readAt(readPos, block.get(), step) != step || writeAt(writePos, block.get(), step) != step)
            return false;
        left -= step;
        if (forwards) {
            readPos += step;
            writePos += step;
        } else if (left > 0) {
            // The last piece of a backward copy is the block's first bytes.
            readPos -= std::min(left, chunk);
            writePos -= std::min(left, chunk);
        }
    }
    return true;
}

bool DCFile::insertBytes(int offset, const void *data, int n)
{
    if (n <= 0 || !m_open || offset < 0 || !data)
        return false;
    const int fileLength = length();
    if (fileLength < 0 || offset > fileLength)
        return false;
    return appendZeros(n) && moveBlock(offset + n, offset, fileLength - offset) && writeAt(offset, data, n) == n;
}

bool DCFile::deleteBytes(int offset, int n)
{
    if (!m_open || offset < 0)
        return false;
    const int fileLength = length();
    if (fileLength < 0 || offset >= fileLength || n <= 0)
        return false;
    if (static_cast<long long>(offset) + n >= fileLength)
        return truncate(offset);
    return moveBlock(offset, offset + n, fileLength - offset - n) && truncate(fileLength - n);
}

bool DCFile::truncate(int newLength)
{
    return m_open && newLength >= 0 && ::ftruncate(m_fd, newLength) == 0;
}

bool DCFile::sync()
{
    if (!m_open)
        return false;
    if ((g_io->sync ? g_io->sync(m_fd) : ::fsync(m_fd)) == 0)
        return true;
    m_errno = errno;
    return false;
}

bool DCFile::setMode(unsigned mode)
{
    return m_open && ::fchmod(m_fd, static_cast<mode_t>(mode)) == 0;
}

} // namespace pigmora
