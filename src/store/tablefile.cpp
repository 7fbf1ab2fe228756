#include "store/tablefile.h"

#include "data/bytes.h"
#include "data/platform.h"
#include "store/dcfile.h"
#include "store/dcfilebuffer.h"
#include "store/safefile.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <sys/stat.h>
#include <utility>

namespace pigmora {

namespace {

// Directory order: names descending by unsigned bytes, up to the first NUL.
int compareNames31Descending(const void *key, const void *element)
{
    return -le::compareText(static_cast<const std::uint8_t *>(key), static_cast<const std::uint8_t *>(element), 31);
}

int compareNames21Descending(const void *key, const void *element)
{
    return -le::compareText(static_cast<const std::uint8_t *>(key), static_cast<const std::uint8_t *>(element), 21);
}

constexpr int kHeaderValue = 100;

} // namespace

const TableFormat kColorBoxTableFormat{"ZQX_COLORBOX",     13, 77, 31, 1, 44, 84, true, compareNames31Descending,
                                       "a colour box file"};
const TableFormat kColorGroupTableFormat{"ZQX_COLORGRP",       13, 77, 31, 1, 44, 84, true, compareNames31Descending,
                                         "a colour group file"};
const TableFormat kPaletteTableFormat{"ZQX_PALETTE",   12, 76, 31, 1, 44, 37, false, compareNames31Descending,
                                      "a palette file"};
const TableFormat kConfigTableFormat{"ZQX_COFIG",           10, 74, 21, 4, 37, 0, true, compareNames21Descending,
                                     "a configuration file"};

TableFile::TableFile(const TableFormat &format)
    : m_format(format)
    , m_directory(static_cast<std::uint32_t>(format.entrySize), format.compare)
{ }

TableFile::~TableFile()
{
    close();
}

// --- Byte access ---

std::int32_t TableFile::headerInt(int offset) const
{
    return le::readI32(&m_header[static_cast<std::size_t>(m_format.magicField + offset)]);
}

void TableFile::setHeaderInt(int offset, std::int32_t value)
{
    le::writeI32(&m_header[static_cast<std::size_t>(m_format.magicField + offset)], value);
}

std::int32_t TableFile::entryInt(const EntryBytes &entry, int offset) const
{
    return le::readI32(&entry[static_cast<std::size_t>(m_format.nameField + offset)]);
}

void TableFile::setEntryInt(EntryBytes &entry, int offset, std::int32_t value) const
{
    le::writeI32(&entry[static_cast<std::size_t>(m_format.nameField + offset)], value);
}

std::int32_t TableFile::tagOf(const EntryBytes &entry) const
{
    const auto at = static_cast<std::size_t>(m_format.nameField + kTagField);
    return m_format.tagField == 4 ? le::readI32(&entry[at]) : entry[at];
}

TableFile::EntryBytes TableFile::makeKey(std::string_view name) const
{
    EntryBytes key{};
    const auto width = static_cast<std::size_t>(m_format.nameField);
    le::writeText(key.data(), width, platform::cutGbk(name, width));
    return key;
}

int TableFile::findEntry(std::string_view name, EntryBytes &entry) const
{
    if (!m_open)
        return -1;
    const EntryBytes key = makeKey(name);
    const int index = m_directory.find(key.data());
    if (index >= 0)
        m_directory.get(index, entry.data());
    return index;
}

bool TableFile::writeHeader(DCFile &file) const
{
    return file.writeAt(0, m_header.data(), m_format.headerSize) == m_format.headerSize;
}

bool TableFile::writeHeaderAndDirectory(DCFile &file) const
{
    if (!writeHeader(file))
        return false;
    const int bytes = m_directory.byteSize();
    return bytes == 0 || file.writeAt(m_format.headerSize, m_directory.data(), bytes) == bytes;
}

bool TableFile::refuse(std::string reason)
{
    close();
    m_lastError = Status::error(std::move(reason));
    return false;
}

bool TableFile::failEdit(std::string reason)
{
    // Only the working copy was written: the transaction is dropped at its end.
    m_editFailed = true;
    m_lastError = Status::error(m_path.filename().string() + ": " + reason + "; the file is unchanged");
    return false;
}

// --- Open and create ---

bool TableFile::create(const std::filesystem::path &path)
{
    return beginCreate(path) && commitEdit();
}

bool TableFile::beginCreate(const std::filesystem::path &path)
{
    close();
    auto lock = FolderLock::acquire(path.parent_path(), FolderLock::Mode::Exclusive);
    if (!lock)
        return refuse("cannot create " + path.string() + ": " + lock.message());
    if (safefile::pathExists(path)) {
        if (Status regular = safefile::checkRegularFile(path); !regular)
            return refuse("cannot create " + path.string() + ": " + regular.message());
    }
    m_target = safefile::resolveLinks(path);
    m_workPath = safefile::workPath(m_target);
    DCFile file;
    if (!file.create(m_workPath)) {
        m_workPath.clear();
        return refuse("cannot create " + path.string() + ": the data folder is not writable");
    }
    m_header.fill(0);
    std::memcpy(m_header.data(), m_format.magic.data(), m_format.magic.size());
    setHeaderInt(0, 0);
    setHeaderInt(4, 0);
    setHeaderInt(8, m_format.headerSize);
    setHeaderInt(12, kHeaderValue);
    m_directory.clear();
    m_path = path;
    m_open = true;
    m_creating = true;
    m_editDepth = 1;
    m_editFailed = false;
    m_editDirty = true;
    m_editLock = std::move(*lock);
    if (!writeHeader(file)) {
        close();
        m_lastError = Status::error("cannot write the header of " + path.string());
        return false;
    }
    m_lastError = Status::ok();
    return true;
}

bool TableFile::open(const std::filesystem::path &path)
{
    close();
    auto lock = FolderLock::acquire(path.parent_path(), FolderLock::Mode::Shared);
    if (!lock)
        return refuse(path.filename().string() + ": " + lock.message());
    return load(path);
}

// Reads and checks header and directory; the caller holds the folder's lock.
bool TableFile::load(const std::filesystem::path &path)
{
    const std::string fileName = path.filename().string();
    if (Status regular = safefile::checkRegularFile(path); !regular)
        return refuse(regular.message());
    DCFileBuffer reader;
    // Both handles must see one version: a change may replace the file
    // between the two opens where the folder has no lock file.
    for (int attempt = 0;; ++attempt) {
        if (!m_snapshot.openForReading(path) || !reader.open(path))
            return refuse("cannot open " + path.string() + " for reading");
        struct stat a {
        }, b{};
        if (::fstat(m_snapshot.descriptor(), &a) == 0 && ::fstat(reader.descriptor(), &b) == 0 && a.st_dev == b.st_dev
            && a.st_ino == b.st_ino)
            break;
        if (attempt == 10)
            return refuse("cannot open " + path.string() + ": it keeps being replaced");
    }
    const int fileLength = reader.seek(0, SeekOrigin::End);
    if (fileLength < 0)
        return refuse(fileName + ": the file is too large (more than 2 GiB)");
    const int headerSize = m_format.headerSize;
    if (reader.seek(0, SeekOrigin::Start) != 0 || reader.read(m_header.data(), headerSize) != headerSize)
        return refuse(fileName + ": the file is shorter than its header");
    const std::string_view stored = le::readText(m_header.data(), static_cast<std::size_t>(headerSize));
    if (stored != m_format.magic)
        return refuse(fileName + ": not " + std::string(m_format.kind));

    const long long cap = capacity();
    const long long n = count();
    if (cap < 0 || n < 0 || n > cap)
        return refuse(fileName + ": the header's entry count or capacity is impossible");
    if (dataOffset() != headerSize + cap * m_format.entrySize || dataOffset() > fileLength)
        return refuse(fileName + ": the header's data offset does not match its directory");

    std::vector<std::uint8_t> entries(static_cast<std::size_t>(n * m_format.entrySize));
    if (reader.read(entries.data(), static_cast<int>(entries.size())) != static_cast<int>(entries.size()))
        return refuse(fileName + ": the directory is shorter than its entry count");
    if (!m_directory.assign(static_cast<int>(n), entries.data()))
        return refuse(fileName + ": not enough memory for the directory");
    m_path = path;
    if (Status checked = checkFile(fileLength); !checked)
        return refuse(fileName + ": " + checked.message());
    m_open = true;
    rememberIdentity();
    m_lastError = Status::ok();
    return true;
}

// Everything the operations rely on: names in strict directory order, every
// entry's data inside the file, and the data blocks tiling the data area
// without gaps or overlaps (so deleting one block moves the others intact).
Status TableFile::checkFile(int fileLength) const
{
    const long long dataLength = static_cast<long long>(fileLength) - dataOffset();
    struct Block {
        long long position;
        long long length;
    };
    std::vector<Block> blocks;
    std::vector<long long> emptyPositions;
    EntryBytes entry{};
    EntryBytes previous{};
    for (int i = 0; i < m_directory.count(); ++i) {
        m_directory.get(i, entry.data());
        if (i > 0 && m_format.compare(previous.data(), entry.data()) >= 0)
            return Status::error("the directory is not sorted by name or holds a name twice");
        previous = entry;
        const long long position = entryInt(entry, kPositionField);
        const long long length = entryInt(entry, kLengthField);
        const long long value = entryInt(entry, kValueField);
        if (position < 0 || length < 0 || position + length > dataLength)
            return Status::error("an entry's data lies outside the file");
        if (value < 0 || value * m_format.valueUnit > length)
            return Status::error("an entry's record count does not fit its data");
        if (length > 0)
            blocks.push_back({position, length});
        else
            emptyPositions.push_back(position);
    }
    std::sort(blocks.begin(), blocks.end(), [](const Block &a, const Block &b) { return a.position < b.position; });
    std::vector<long long> boundaries{0};
    long long end = 0;
    for (const Block &block : blocks) {
        if (block.position != end)
            return Status::error("the entries' data overlap or leave gaps");
        end += block.length;
        boundaries.push_back(end);
    }
    if (end != dataLength)
        return Status::error("the data area holds bytes no entry owns");
    for (long long position : emptyPositions) {
        if (!std::binary_search(boundaries.begin(), boundaries.end(), position))
            return Status::error("an empty entry points inside another entry's data");
    }
    return Status::ok();
}

void TableFile::close()
{
    if (m_editDepth > 0)
        abandonEdit();
    m_snapshot.close();
    m_identity = Identity();
    m_directory.clear();
    m_path.clear();
    m_open = false;
    m_header.fill(0);
}

// --- Queries ---

bool TableFile::hasEntry(std::string_view name) const
{
    EntryBytes entry{};
    return findEntry(name, entry) >= 0;
}

bool TableFile::listNames(std::vector<std::string> &list) const
{
    if (!listStoredNames(list))
        return false;
    for (std::string &name : list)
        name = platform::gbkToUtf8(name);
    return true;
}

bool TableFile::listStoredNames(std::vector<std::string> &list) const
{
    if (!m_open)
        return false;
    list.clear();
    EntryBytes entry{};
    for (int i = 0; i < m_directory.count(); ++i) {
        m_directory.get(i, entry.data());
        list.emplace_back(le::readText(entry.data(), static_cast<std::size_t>(m_format.nameField)));
    }
    return true;
}

int TableFile::entryValue(std::string_view name) const
{
    EntryBytes entry{};
    return findEntry(name, entry) >= 0 ? entryInt(entry, kValueField) : -1;
}

int TableFile::entryLength(std::string_view name) const
{
    EntryBytes entry{};
    return findEntry(name, entry) >= 0 ? entryInt(entry, kLengthField) : -1;
}

int TableFile::entryTag(std::string_view name) const
{
    EntryBytes entry{};
    return findEntry(name, entry) >= 0 ? tagOf(entry) : -1;
}

bool TableFile::readData(std::string_view name, std::uint8_t *buffer, int &length)
{
    EntryBytes entry{};
    if (findEntry(name, entry) < 0 || !buffer)
        return false;
    const int dataLength = entryInt(entry, kLengthField);
    if (length < dataLength)
        return false;
    // Inside a transaction the directory describes the working copy.
    DCFile work;
    DCFile *file = &m_snapshot;
    if (m_editDepth > 0) {
        if (!work.openForReading(m_workPath))
            return false;
        file = &work;
    }
    if (file->readAt(dataOffset() + entryInt(entry, kPositionField), buffer, dataLength) != dataLength) {
        m_lastError = Status::error(m_path.filename().string() + ": an entry's data could not be read in full");
        return false;
    }
    length = dataLength;
    return true;
}

bool TableFile::readEntry(std::string_view name, int &value, std::uint8_t *buffer, int &length)
{
    if (!readData(name, buffer, length))
        return false;
    value = entryValue(name);
    return true;
}

// --- Variants ---

CColorBoxFile::CColorBoxFile(int mode)
    : TableFile(mode == kColorGroupMode ? kColorGroupTableFormat : kColorBoxTableFormat)
    , m_mode(mode)
{ }

bool CColorBoxFile::loadPaintRecords(std::string_view name, std::vector<PaintColorRecord> &list)
{
    const int length = entryLength(name);
    if (length < 0)
        return false;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(length) + 1);
    int read = length;
    int value = 0;
    if (!readEntry(name, value, buffer.data(), read))
        return false;
    if (value < 0 || static_cast<long long>(value) * static_cast<long long>(PaintColorRecord::kSize) > read)
        return false;
    for (int i = 0; i < value; ++i)
        list.push_back(
            PaintColorRecord::fromBytes(buffer.data() + static_cast<std::size_t>(i) * PaintColorRecord::kSize));
    return true;
}

CPalettePanelFile::CPalettePanelFile()
    : TableFile(kPaletteTableFormat)
{ }

CConfigFile::CConfigFile()
    : TableFile(kConfigTableFormat)
{ }

} // namespace pigmora
