#pragma once

#include "data/dcarray.h"
#include "data/records.h"
#include "data/status.h"
#include "store/dcfile.h"
#include "store/folderlock.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pigmora {

// The constants that tell the four variants of the table-file format apart.
struct TableFormat {
    std::string_view magic; // stored followed by one NUL
    int magicField; // M: bytes of the magic field
    int headerSize; // H = M + 64
    int nameField; // N
    int tagField; // T: 1 (unsigned byte) or 4 (int32)
    int entrySize; // E = N + 12 + T
    // Least bytes of data one unit of an entry's value stands for (the record
    // size of the stores that count records in the value; 0: not checked).
    int valueUnit;
    bool keepTagOnReplace;
    DCArray::CompareFunction compare; // descending by name over N bytes
    std::string_view kind; // for messages: "a colour box file", ...
};

extern const TableFormat kColorBoxTableFormat;
extern const TableFormat kColorGroupTableFormat;
extern const TableFormat kPaletteTableFormat;
extern const TableFormat kConfigTableFormat;

// The container behind every data file: a header, a directory of named
// entries kept sorted by name (descending bytes) and a data area holding the
// entries' data back to back in the order they were added.
//
// The object holds a copy of the header and the directory and a read-only
// handle on the file as it was opened, from which entries are read. Names
// are GBK byte strings; a name longer than the name field is cut at its last
// whole character that fits.
//
// A file is trusted only after open has checked it completely (header,
// directory order, every entry's data inside a gap-free data area). Reading
// never opens the file for writing.
//
// Every change is atomic: under the data folder's exclusive lock the object
// first reads the file again when another process replaced it, copies it to
// "<file>.tmp", applies the change there, flushes it and renames it over the
// file; the version replaced is kept as "<file>.bak". A change that fails
// leaves the file as it was and the object as it was before the change.
// beginEdit/commitEdit group several changes into one such replacement (all
// or none). lastError() says why an open or an operation failed.
//
// The variants publish the operations they offer (see the classes below).
class TableFile
{
public:
    const TableFormat &format() const { return m_format; }
    const Status &lastError() const { return m_lastError; }

    // A transaction: the changes until commitEdit reach the file together or
    // not at all. Changes inside it write only the working copy; a failed one
    // makes the commit fail. cancelEdit drops the working copy and restores
    // the header and directory held before beginEdit.
    bool beginEdit();
    bool commitEdit();
    void cancelEdit();
    bool inEdit() const { return m_editDepth > 0; }

protected:
    explicit TableFile(const TableFormat &format);
    ~TableFile();
    TableFile(const TableFile &) = delete;
    TableFile &operator=(const TableFile &) = delete;

    bool create(const std::filesystem::path &path);
    // create as the start of a transaction: the new file appears, complete,
    // only at commitEdit.
    bool beginCreate(const std::filesystem::path &path);
    bool open(const std::filesystem::path &path);
    void close();
    bool isOpen() const { return m_open; }

    bool hasEntry(std::string_view name) const;
    // Names in directory order, converted to UTF-8 (a name filling its whole
    // field is read up to the field's end).
    bool listNames(std::vector<std::string> &list) const;
    // The names as stored (GBK bytes, NUL padding removed), in listing order.
    bool listStoredNames(std::vector<std::string> &list) const;
    int entryValue(std::string_view name) const;
    int entryLength(std::string_view name) const;
    int entryTag(std::string_view name) const;

    // length: in, the buffer's size; out, the data length.
    bool readData(std::string_view name, std::uint8_t *buffer, int &length);
    bool readEntry(std::string_view name, int &value, std::uint8_t *buffer, int &length);
    bool addEntry(std::string_view name, int value, std::span<const std::uint8_t> data, int tag);
    bool deleteEntry(std::string_view name);
    bool replaceEntry(std::string_view name, int value, std::span<const std::uint8_t> data);
    bool writeEntry(std::string_view name, int value, std::span<const std::uint8_t> data, int tag);
    bool renameEntry(std::string_view oldName, std::string_view newName);
    bool adjustDirectory();

private:
    enum class Resize { NotNeeded, Done, Failed };
    // One directory entry as stored (E bytes; the largest variant's size).
    using EntryBytes = std::array<std::uint8_t, 44>;
    static constexpr int kGrowthSlots = 16;
    // Offsets of an entry's fields after its name field.
    static constexpr int kPositionField = 0;
    static constexpr int kLengthField = 4;
    static constexpr int kValueField = 8;
    static constexpr int kTagField = 12;

    EntryBytes makeKey(std::string_view name) const;
    // Directory index of the name (-1 when absent); entry receives the record.
    int findEntry(std::string_view name, EntryBytes &entry) const;
    std::int32_t entryInt(const EntryBytes &entry, int offset) const;
    void setEntryInt(EntryBytes &entry, int offset, std::int32_t value) const;
    std::int32_t tagOf(const EntryBytes &entry) const;
    std::int32_t headerInt(int offset) const;
    void setHeaderInt(int offset, std::int32_t value);
    std::int32_t capacity() const { return headerInt(0); }
    std::int32_t count() const { return headerInt(4); }
    std::int32_t dataOffset() const { return headerInt(8); }
    bool writeHeader(DCFile &file) const;
    bool writeHeaderAndDirectory(DCFile &file) const;
    // The file edits of add and delete, inside a transaction.
    bool appendEntry(std::string_view name, int value, std::span<const std::uint8_t> data, int tag);
    bool removeEntry(int index, const EntryBytes &entry);
    Resize resizeDirectory();
    Status checkFile(int fileLength) const;
    bool load(const std::filesystem::path &path);
    bool refuse(std::string reason);
    bool failEdit(std::string reason);
    // Every change runs between enterEdit and leaveEdit; the outermost pair
    // takes the lock and makes the working copy, and commits or drops it.
    bool enterEdit();
    bool leaveEdit(bool done);
    bool finishEdit();
    void abandonEdit();
    bool fileUnchanged() const;
    void rememberIdentity();

    struct Identity {
        unsigned long long device = 0;
        unsigned long long inode = 0;
        long long size = -1;
        long long modified = 0;
        bool operator==(const Identity &) const = default;
    };

    const TableFormat &m_format;
    std::filesystem::path m_path;
    bool m_open = false;
    std::array<std::uint8_t, 80> m_header{};
    DCArray m_directory;
    Status m_lastError;
    DCFile m_snapshot; // read-only, on the file as opened
    Identity m_identity;
    // The transaction in progress.
    int m_editDepth = 0;
    bool m_editFailed = false;
    bool m_editDirty = false; // the working copy differs from the file
    bool m_creating = false;
    std::filesystem::path m_target; // the file replaced (links followed)
    std::filesystem::path m_workPath;
    FolderLock m_editLock;
    std::array<std::uint8_t, 80> m_savedHeader{};
    std::vector<std::uint8_t> m_savedDirectory;
};

// "QorColorbox.bin" (mode 0) and "QorColorGroup.bin" (mode 1).
class CColorBoxFile : protected TableFile
{
public:
    static constexpr int kColorBoxMode = 0;
    static constexpr int kColorGroupMode = 1;

    explicit CColorBoxFile(int mode);

    int mode() const { return m_mode; }

    using TableFile::addEntry;
    using TableFile::adjustDirectory;
    using TableFile::beginCreate;
    using TableFile::beginEdit;
    using TableFile::cancelEdit;
    using TableFile::close;
    using TableFile::commitEdit;
    using TableFile::create;
    using TableFile::deleteEntry;
    using TableFile::entryLength;
    using TableFile::entryTag;
    using TableFile::entryValue;
    using TableFile::format;
    using TableFile::hasEntry;
    using TableFile::inEdit;
    using TableFile::isOpen;
    using TableFile::lastError;
    using TableFile::listNames;
    using TableFile::listStoredNames;
    using TableFile::open;
    using TableFile::readData;
    using TableFile::readEntry;
    using TableFile::renameEntry;
    using TableFile::replaceEntry;
    using TableFile::writeEntry;

    // Appends the entry's paint records in data order; false when the entry
    // cannot be read or holds fewer records than its value says.
    bool loadPaintRecords(std::string_view name, std::vector<PaintColorRecord> &list);
    static void freeRecordList(std::vector<PaintColorRecord> &list) { list.clear(); }

private:
    int m_mode;
};

// "QorPalette.bin".
class CPalettePanelFile : protected TableFile
{
public:
    CPalettePanelFile();

    using TableFile::addEntry;
    using TableFile::adjustDirectory;
    using TableFile::beginCreate;
    using TableFile::beginEdit;
    using TableFile::cancelEdit;
    using TableFile::close;
    using TableFile::commitEdit;
    using TableFile::create;
    using TableFile::deleteEntry;
    using TableFile::entryLength;
    using TableFile::entryTag;
    using TableFile::entryValue;
    using TableFile::format;
    using TableFile::hasEntry;
    using TableFile::inEdit;
    using TableFile::isOpen;
    using TableFile::lastError;
    using TableFile::listNames;
    using TableFile::listStoredNames;
    using TableFile::open;
    using TableFile::readData;
    using TableFile::renameEntry;
    using TableFile::replaceEntry;
    using TableFile::writeEntry;
};

// One key/value item of a configuration section. Keys and values are bytes;
// a text's stored length includes its NUL. std::string keeps one more NUL
// after the bytes, so both can always be read as C strings.
struct ConfigItem {
    std::string key;
    std::string value;
};
using ConfigItemList = std::vector<ConfigItem>;

// "QorConfig.bin": sections of key/value items.
class CConfigFile : protected TableFile
{
public:
    CConfigFile();

    using TableFile::addEntry;
    using TableFile::adjustDirectory;
    using TableFile::beginCreate;
    using TableFile::beginEdit;
    using TableFile::cancelEdit;
    using TableFile::close;
    using TableFile::commitEdit;
    using TableFile::create;
    using TableFile::deleteEntry;
    using TableFile::entryLength;
    using TableFile::entryTag;
    using TableFile::format;
    using TableFile::hasEntry;
    using TableFile::inEdit;
    using TableFile::isOpen;
    using TableFile::lastError;
    using TableFile::open;
    using TableFile::readData;
    using TableFile::readEntry;
    using TableFile::replaceEntry;
    using TableFile::writeEntry;

    // Appends the section's items; on a malformed section the items before
    // the fault stay appended and the result is false.
    bool readItems(std::string_view section, ConfigItemList &list);
    // Stores the list as the section (value = number of items, tag 0).
    bool writeItems(std::string_view section, const ConfigItemList &list);
    static void freeItems(ConfigItemList &list) { list.clear(); }
};

} // namespace pigmora
