#include "store/safefile.h"

#include "store/dcfile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace pigmora::safefile {

namespace {

std::string reasonOf(int error)
{
    return error == ENOSPC ? "the disk is full" : std::strerror(error);
}

std::filesystem::path withSuffix(const std::filesystem::path &file, std::string_view suffix)
{
    std::filesystem::path result = file;
    result += std::string(suffix);
    return result;
}

} // namespace

std::filesystem::path resolveLinks(const std::filesystem::path &path)
{
    std::filesystem::path current = path;
    for (int hop = 0; hop < 40; ++hop) { // the system's own limit on a chain of links
        std::error_code ec;
        if (!std::filesystem::is_symlink(current, ec))
            break;
        const std::filesystem::path target = std::filesystem::read_symlink(current, ec);
        if (ec)
            break;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return current;
}

std::filesystem::path workPath(const std::filesystem::path &file)
{
    return withSuffix(file, ".tmp");
}

std::filesystem::path backupPath(const std::filesystem::path &file)
{
    return withSuffix(file, ".bak");
}

bool pathExists(const std::filesystem::path &path)
{
    struct stat info { };
    return ::lstat(path.c_str(), &info) == 0;
}

Status checkRegularFile(const std::filesystem::path &path)
{
    const std::string name = path.filename().string();
    struct stat link { };
    if (::lstat(path.c_str(), &link) != 0)
        return Status::error(name + ": no such file");
    struct stat info { };
    if (::stat(path.c_str(), &info) != 0) {
        std::error_code ec;
        const auto target = std::filesystem::read_symlink(path, ec);
        return Status::error(name + " is a link to " + (ec ? std::string("a file") : target.string())
                             + ", which does not exist");
    }
    if (S_ISDIR(info.st_mode))
        return Status::error(name + " is a folder, not a data file");
    if (!S_ISREG(info.st_mode))
        return Status::error(name + " is not a regular file (a FIFO, socket or device)");
    return Status::ok();
}

Status copyFile(const std::filesystem::path &source, const std::filesystem::path &destination, bool flush)
{
    DCFile from;
    if (!from.openForReading(source))
        return Status::error("cannot read " + source.filename().string() + ": " + reasonOf(from.lastErrno()));
    DCFile to;
    if (!to.create(destination))
        return Status::error("cannot create " + destination.string() + ": " + reasonOf(to.lastErrno()));
    struct stat info { };
    if (::stat(source.c_str(), &info) == 0)
        to.setMode(info.st_mode & 07777);
    auto block = std::make_unique<std::uint8_t[]>(DCFile::kBlockSize);
    for (;;) {
        const int n = from.read(block.get(), DCFile::kBlockSize);
        if (n < 0)
            return Status::error("cannot read " + source.filename().string());
        if (n == 0)
            break;
        if (to.write(block.get(), n) != n)
            return Status::error("cannot write " + destination.filename().string() + ": " + reasonOf(to.lastErrno()));
    }
    if (flush && !to.sync())
        return Status::error("cannot write " + destination.filename().string() + ": " + reasonOf(to.lastErrno()));
    return Status::ok();
}

Status keepBackup(const std::filesystem::path &file)
{
    const std::filesystem::path backup = backupPath(file);
    const std::filesystem::path staged = withSuffix(backup, ".tmp");
    ::unlink(staged.c_str());
    if (::link(file.c_str(), staged.c_str()) != 0) {
        if (Status copied = copyFile(file, staged); !copied) {
            ::unlink(staged.c_str());
            return Status::error("cannot keep the backup " + backup.filename().string() + ": " + copied.message());
        }
    }
    if (::rename(staged.c_str(), backup.c_str()) != 0) {
        const int error = errno;
        ::unlink(staged.c_str());
        return Status::error("cannot keep the backup " + backup.filename().string() + ": " + reasonOf(error));
    }
    return Status::ok();
}

Status replaceWith(const std::filesystem::path &work, const std::filesystem::path &file)
{
    if (::rename(work.c_str(), file.c_str()) != 0)
        return Status::error("cannot replace " + file.filename().string() + ": " + reasonOf(errno));
    syncFolder(file.parent_path()); // the rename is done either way
    return Status::ok();
}

Result<std::filesystem::path> keepDamagedCopy(const std::filesystem::path &file)
{
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, ".damaged-%Y%m%d-%H%M%S", &local);
    for (int n = 0; n < 1000; ++n) {
        std::filesystem::path aside = withSuffix(file, stamp);
        if (n > 0)
            aside += "-" + std::to_string(n);
        if (pathExists(aside))
            continue;
        if (::link(file.c_str(), aside.c_str()) != 0) {
            if (errno == EEXIST)
                continue;
            if (Status copied = copyFile(file, aside); !copied) {
                ::unlink(aside.c_str());
                return Status::error("cannot keep the damaged " + file.filename().string() + ": " + copied.message());
            }
        }
        return aside;
    }
    return Status::error("cannot keep the damaged " + file.filename().string() + ": too many damaged copies");
}

bool folderWritable(const std::filesystem::path &folder)
{
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

Result<std::string> readWholeFile(const std::filesystem::path &path, std::size_t maxBytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Status::error("cannot open " + path.string() + ": " + reasonOf(errno));
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0)
        return Status::error("cannot read " + path.string());
    if (static_cast<std::size_t>(size) > maxBytes)
        return Status::error(path.string() + " is too large");
    in.seekg(0);
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!in.read(text.data(), size))
        return Status::error("cannot read " + path.string());
    return text;
}

bool sameFile(const std::filesystem::path &a, const std::filesystem::path &b)
{
    struct stat first { };
    struct stat second { };
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev
        && first.st_ino == second.st_ino;
}

OutputFile::OutputFile(const std::filesystem::path &destination)
    : m_named(destination)
    , m_destination(resolveLinks(destination))
{ }

OutputFile::~OutputFile()
{
    if (!m_temporary.empty()) {
        m_file.close();
        ::unlink(m_temporary.c_str());
    }
}

Status OutputFile::open()
{
    struct stat info { };
    const bool exists = ::stat(m_destination.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode))
        return Status::error(m_named.string() + " is a folder");
    if (exists && !S_ISREG(info.st_mode))
        return Status::error(m_named.string() + " is not a regular file (a FIFO, socket or device)");
    m_temporary = withSuffix(m_destination, ".tmp-" + std::to_string(::getpid()));
    if (!m_file.create(m_temporary)) {
        const int error = m_file.lastErrno();
        m_temporary.clear();
        return Status::error("cannot create " + m_named.string() + ": " + reasonOf(error));
    }
    if (exists)
        m_file.setMode(info.st_mode & 07777);
    return Status::ok();
}

bool OutputFile::write(const std::uint8_t *bytes, std::size_t size)
{
    while (size > 0 && m_writeError == 0) {
        const int chunk = static_cast<int>(std::min<std::size_t>(size, DCFile::kBlockSize * 16));
        if (m_file.write(bytes, chunk) != chunk)
            m_writeError = m_file.lastErrno() ? m_file.lastErrno() : EIO;
        bytes += chunk;
        size -= static_cast<std::size_t>(chunk);
    }
    return m_writeError == 0;
}

Status OutputFile::writeStatus() const
{
    if (m_writeError != 0)
        return Status::error("cannot write " + m_named.string() + ": " + reasonOf(m_writeError));
    return Status::ok();
}

Status OutputFile::commit()
{
    if (m_temporary.empty())
        return Status::error("cannot write " + m_named.string());
    if (m_writeError == 0 && !m_file.sync())
        m_writeError = m_file.lastErrno() ? m_file.lastErrno() : EIO;
    if (Status written = writeStatus(); !written)
        return written;
    m_file.close();
    if (::rename(m_temporary.c_str(), m_destination.c_str()) != 0)
        return Status::error("cannot replace " + m_named.string() + ": " + reasonOf(errno));
    m_temporary.clear();
    syncFolder(m_destination.parent_path());
    return Status::ok();
}

Status writeExportFile(const std::filesystem::path &path, std::string_view bytes)
{
    OutputFile out(path);
    if (Status opened = out.open(); !opened)
        return opened;
    out.write(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
    return out.commit();
}

} // namespace pigmora::safefile
