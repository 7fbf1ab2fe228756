#pragma once

#include "data/status.h"
#include "store/dcfile.h"

#include <filesystem>
#include <string>

// How the data files are replaced safely: an edit works on a copy beside the
// file, which is flushed and renamed over it; the version it replaces is kept
// as one backup, and a damaged file is moved aside, never deleted.
namespace pigmora::safefile {

// The file a data-file path stands for: a symbolic link is followed, hop by
// hop, to its target (which may not exist), where the file's working copy,
// backup and damaged copies live; any other path stays as it is. Every
// edit, restore and start-up check resolves a data file through this.
std::filesystem::path resolveLinks(const std::filesystem::path &path);

// "<file>.tmp": the working copy of an edit (one writer at a time).
std::filesystem::path workPath(const std::filesystem::path &file);
// "<file>.bak": the last good version before the latest edit.
std::filesystem::path backupPath(const std::filesystem::path &file);

// Ok when the path is a regular file (or a link to one) that can be opened;
// else a message naming what it is instead: missing, a dangling link, a
// folder, a FIFO or another special file.
Status checkRegularFile(const std::filesystem::path &path);
// True when the path itself exists, even as a dangling link.
bool pathExists(const std::filesystem::path &path);

// Copies source to destination (created, or truncated), flushed when asked;
// the destination gets the source's permission bits. Writes go through DCFile.
Status copyFile(const std::filesystem::path &source, const std::filesystem::path &destination, bool flush = true);

// Keeps the current file as its backup (a second link to it, or a flushed
// copy where links are not possible), replacing any older backup.
Status keepBackup(const std::filesystem::path &file);

// Renames the flushed working copy over the file and flushes the folder.
Status replaceWith(const std::filesystem::path &work, const std::filesystem::path &file);

// Keeps a damaged file as "<file>.damaged-YYYYMMDD-HHMMSS" (a number is added
// when that name is taken) while it stays in place: a second link to it, or
// a flushed copy where links are not possible. The new path.
Result<std::filesystem::path> keepDamagedCopy(const std::filesystem::path &file);

// A whole small file (an import, a palette) read into memory; refused when
// it cannot be opened or read, or holds more than maxBytes. Messages name
// the path.
Result<std::string> readWholeFile(const std::filesystem::path &path, std::size_t maxBytes);

// Writes a file the program exports (not a data file): the bytes go to a
// copy beside it, which is renamed over it, so a failure leaves what the
// path held before.
Status writeExportFile(const std::filesystem::path &path, std::string_view bytes);

// The folder's write access as the edits need it: creating and renaming
// files inside it.
bool folderWritable(const std::filesystem::path &folder);

// True when both paths name one existing file (links followed, a second hard
// link too).
bool sameFile(const std::filesystem::path &a, const std::filesystem::path &b);

// A file that appears complete or not at all (an exported picture): the
// bytes go to a temporary file beside the destination (a link followed to
// its target), which commit flushes and renames over it. Until then an
// existing destination stays as it was; without a commit the temporary file
// is removed again.
class OutputFile
{
public:
    explicit OutputFile(const std::filesystem::path &destination);
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // Makes the temporary file; why it cannot be made.
    Status open();
    // False when the bytes could not all be written (writeStatus says why).
    bool write(const std::uint8_t *bytes, std::size_t size);
    Status writeStatus() const;
    // Flushes and renames; refused after a failed write.
    Status commit();

private:
    std::filesystem::path m_named; // as given, for messages
    std::filesystem::path m_destination;
    std::filesystem::path m_temporary;
    DCFile m_file;
    int m_writeError = 0;
};

} // namespace pigmora::safefile
