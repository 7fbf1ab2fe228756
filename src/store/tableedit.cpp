// The transactions of TableFile: the exclusive lock, the working copy, and
// its commit (flush, backup, rename) or its removal.
#include "store/safefile.h"
#include "store/tablefile.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace pigmora {

bool TableFile::beginEdit()
{
    return m_open && enterEdit();
}

bool TableFile::commitEdit()
{
    return m_editDepth > 0 && leaveEdit(true);
}

void TableFile::cancelEdit()
{
    if (m_editDepth > 0)
        abandonEdit();
}

void TableFile::rememberIdentity()
{
    struct stat info { };
    m_identity = Identity();
    if (::fstat(m_snapshot.descriptor(), &info) == 0)
        m_identity = {static_cast<unsigned long long>(info.st_dev), static_cast<unsigned long long>(info.st_ino),
                      static_cast<long long>(info.st_size),
                      static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec};
}

bool TableFile::fileUnchanged() const
{
    struct stat info { };
    if (::stat(m_path.c_str(), &info) != 0)
        return false;
    const Identity now{static_cast<unsigned long long>(info.st_dev), static_cast<unsigned long long>(info.st_ino),
                       static_cast<long long>(info.st_size),
                       static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec};
    return now == m_identity;
}

bool TableFile::enterEdit()
{
    if (m_editDepth > 0) {
        if (m_editFailed)
            return false; // a failed change ends the transaction's writing
        ++m_editDepth;
        return true;
    }
    auto lock = FolderLock::acquire(m_path.parent_path(), FolderLock::Mode::Exclusive);
    if (!lock) {
        m_lastError = Status::error(m_path.filename().string() + ": " + lock.message());
        return false;
    }
    // Another process may have replaced the file since it was read here.
    if (!fileUnchanged()) {
        const std::filesystem::path path = m_path;
        if (!load(path))
            return false;
    }
    m_target = safefile::resolveLinks(m_path);
    m_workPath = safefile::workPath(m_target);
    if (Status copied = safefile::copyFile(m_target, m_workPath, false); !copied) {
        ::unlink(m_workPath.c_str());
        m_workPath.clear();
        m_lastError = Status::error(m_path.filename().string() + ": " + copied.message() + "; the file is unchanged");
        return false;
    }
    m_savedHeader = m_header;
    m_savedDirectory.assign(reinterpret_cast<const std::uint8_t *>(m_directory.data()),
                            reinterpret_cast<const std::uint8_t *>(m_directory.data()) + m_directory.byteSize());
    m_editLock = std::move(*lock);
    m_editDepth = 1;
    m_editFailed = false;
    m_editDirty = false;
    return true;
}

bool TableFile::leaveEdit(bool done)
{
    if (m_editDepth == 0)
        return done;
    if (--m_editDepth > 0)
        return done;
    if (!done || m_editFailed) {
        abandonEdit();
        return false;
    }
    return finishEdit();
}

bool TableFile::finishEdit()
{
    if (!m_editDirty) {
        abandonEdit(); // nothing changed: the file and its backup stay as they are
        m_lastError = Status::ok();
        return true;
    }
    const std::string name = m_path.filename().string();
    DCFile work;
    if (!work.open(m_workPath) || !work.sync()) {
        const int error = work.lastErrno();
        abandonEdit();
        m_lastError = Status::error(name + ": the change could not be flushed to the disk ("
                                    + (error == ENOSPC ? std::string("the disk is full") : std::strerror(error))
                                    + "); the file is unchanged");
        return false;
    }
    work.close();
    if (safefile::pathExists(m_target)) {
        if (Status kept = safefile::keepBackup(m_target); !kept) {
            abandonEdit();
            m_lastError = Status::error(name + ": " + kept.message() + "; the file is unchanged");
            return false;
        }
    }
    if (Status replaced = safefile::replaceWith(m_workPath, m_target); !replaced) {
        abandonEdit();
        m_lastError = Status::error(replaced.message() + "; the file is unchanged");
        return false;
    }
    m_workPath.clear();
    m_creating = false;
    m_editFailed = false;
    m_editDepth = 0;
    m_snapshot.openForReading(m_path);
    rememberIdentity();
    m_editLock.release();
    m_lastError = Status::ok();
    return true;
}

void TableFile::abandonEdit()
{
    if (!m_workPath.empty())
        ::unlink(m_workPath.c_str());
    m_workPath.clear();
    m_editDepth = 0;
    m_editFailed = false;
    m_editDirty = false;
    if (m_creating) {
        m_creating = false;
        m_editLock.release();
        close(); // the file never existed
        return;
    }
    m_header = m_savedHeader;
    m_directory.assign(static_cast<int>(m_savedDirectory.size() / static_cast<std::size_t>(m_format.entrySize)),
                       m_savedDirectory.data());
    m_editLock.release();
}

} // namespace pigmora
