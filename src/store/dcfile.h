#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace pigmora {

enum class SeekOrigin {
    Start,
    Current,
    End,
};

// The system calls DCFile makes for reading, writing and flushing. Tests
// replace them to simulate a full disk, a failing flush or a file cut short by
// someone else; everything else goes straight to the operating system.
struct DCFileIo {
    std::ptrdiff_t (*read)(int fd, void *buffer, std::size_t n);
    std::ptrdiff_t (*write)(int fd, const void *buffer, std::size_t n);
    int (*sync)(int fd); // fsync; null: the operating system's
};

// Installs io for every DCFile (null restores the operating system's calls).
void setDCFileIo(const DCFileIo *io);

// An unbuffered binary file handle that also edits a file in place: it opens
// a gap inside the file, cuts a range out of it, moves a block and appends
// filler bytes. Offsets and lengths are 32-bit signed; moves and fills work in
// chunks of at most 64000 bytes. Two handles may have the same file open at
// once; each sees the other's completed writes because nothing is cached.
class DCFile
{
public:
    static constexpr int kBlockSize = 64000;

    DCFile() = default;
    ~DCFile();
    DCFile(const DCFile &) = delete;
    DCFile &operator=(const DCFile &) = delete;

    bool create(const std::filesystem::path &path);
    bool open(const std::filesystem::path &path);
    // Opens an existing file for reading only (writes then fail).
    bool openForReading(const std::filesystem::path &path);
    void close();
    bool isOpen() const { return m_open; }
    static bool exists(const std::filesystem::path &path);

    // New position, or -1 when closed or the position is not a 32-bit offset.
    int seek(int offset, SeekOrigin origin);
    void seekToEnd();
    // -1 when closed (or longer than a 32-bit length); the position is kept.
    int length() const;

    // Bytes transferred, or -1 when closed or n is negative.
    int read(void *buffer, int n);
    int write(const void *buffer, int n);
    int readAt(int offset, void *buffer, int n);
    int writeAt(int offset, const void *buffer, int n);

    bool appendZeros(int n) { return appendFill(0, n); }
    bool appendFill(std::uint8_t value, int n);
    // Copies count bytes from source to destination; the ranges may overlap.
    // Every read and write is checked: a short one fails the move.
    bool moveBlock(int destination, int source, int count);
    bool insertBytes(int offset, const void *data, int n);
    bool deleteBytes(int offset, int n);
    // The position is kept; a longer length extends the file with zeros.
    bool truncate(int newLength);
    // Flushes the file's data to the disk (fsync).
    bool sync();
    // Sets the permission bits (fchmod).
    bool setMode(unsigned mode);
    // The errno of the last failed open, read, write or flush.
    int lastErrno() const { return m_errno; }

    const std::filesystem::path &path() const { return m_path; }
    int descriptor() const { return m_fd; }

private:
    bool openWith(const std::filesystem::path &path, int flags);

    int m_fd = -1;
    std::filesystem::path m_path;
    bool m_open = false;
    int m_blockSize = kBlockSize;
    int m_flags = 0;
    int m_errno = 0;
};

// Flushes a folder's entries (after a rename inside it).
bool syncFolder(const std::filesystem::path &folder);

} // namespace pigmora
