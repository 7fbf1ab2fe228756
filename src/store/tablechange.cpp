// The changes of TableFile: add, delete, replace, rename and the directory's
// resizing, each writing the working copy of a transaction.
#include "data/bytes.h"
#include "store/tablefile.h"

#include <algorithm>
#include <climits>

namespace pigmora {

bool TableFile::addEntry(std::string_view name, int value, std::span<const std::uint8_t> data, int tag)
{
    if (!m_open || data.size() > static_cast<std::size_t>(INT_MAX))
        return false;
    // Never write an entry that open would refuse.
    if (value < 0 || static_cast<long long>(value) * m_format.valueUnit > static_cast<long long>(data.size()))
        return false;
    if (!enterEdit())
        return false;
    return leaveEdit(!hasEntry(name) && appendEntry(name, value, data, tag));
}

bool TableFile::appendEntry(std::string_view name, int value, std::span<const std::uint8_t> data, int tag)
{
    m_editDirty = true;
    DCFile file;
    if (!file.open(m_workPath))
        return failEdit("the working copy cannot be opened");
    const int fileLength = file.length();
    const int length = static_cast<int>(data.size());
    if (fileLength < 0 || static_cast<long long>(fileLength) + length + kGrowthSlots * m_format.entrySize > INT_MAX)
        return false;

    EntryBytes entry = makeKey(name);
    setEntryInt(entry, kPositionField, fileLength - dataOffset());
    setEntryInt(entry, kLengthField, length);
    setEntryInt(entry, kValueField, value);
    const auto tagAt = static_cast<std::size_t>(m_format.nameField + kTagField);
    if (m_format.tagField == 4)
        le::writeI32(&entry[tagAt], tag);
    else
        entry[tagAt] = static_cast<std::uint8_t>(tag);
    if (m_directory.insertSorted(entry.data()) < 0)
        return false;

    // A full directory grows through a second handle; the data position
    // stays valid because the whole data area moves with the data offset.
    if (count() >= capacity() && resizeDirectory() != Resize::Done)
        return failEdit("the directory could not be grown");
    setHeaderInt(4, count() + 1);
    if (!writeHeaderAndDirectory(file))
        return failEdit("the directory could not be written");
    if (length > 0 && file.writeAt(dataOffset() + entryInt(entry, kPositionField), data.data(), length) != length)
        return failEdit("an entry's data could not be written");
    return true;
}

bool TableFile::deleteEntry(std::string_view name)
{
    if (!m_open || !enterEdit())
        return false;
    EntryBytes entry{};
    const int index = findEntry(name, entry);
    if (index < 0)
        return leaveEdit(true); // nothing to delete (nothing written)
    return leaveEdit(count() > 0 && removeEntry(index, entry));
}

bool TableFile::removeEntry(int index, const EntryBytes &entry)
{
    m_editDirty = true;
    m_directory.removeAt(index);
    setHeaderInt(4, count() - 1);
    const int position = entryInt(entry, kPositionField);
    const int length = entryInt(entry, kLengthField);
    EntryBytes other{};
    for (int i = 0; i < m_directory.count(); ++i) {
        m_directory.get(i, other.data());
        if (const int p = entryInt(other, kPositionField); p > position) {
            setEntryInt(other, kPositionField, p - length);
            m_directory.setAt(i, other.data());
        }
    }

    {
        DCFile file;
        if (!file.open(m_workPath) || !writeHeaderAndDirectory(file))
            return failEdit("the directory could not be written");
        if (length > 0 && !file.deleteBytes(dataOffset() + position, length))
            return failEdit("an entry's data could not be cut out");
    }
    if (resizeDirectory() == Resize::Failed)
        return failEdit("the directory could not be shrunk");
    return true;
}

bool TableFile::replaceEntry(std::string_view name, int value, std::span<const std::uint8_t> data)
{
    // Delete and add reach the file together.
    if (!m_open || !enterEdit())
        return false;
    if (!hasEntry(name))
        return leaveEdit(false);
    const int tag = m_format.keepTagOnReplace ? entryTag(name) : 0;
    return leaveEdit(deleteEntry(name) && addEntry(name, value, data, tag));
}

bool TableFile::writeEntry(std::string_view name, int value, std::span<const std::uint8_t> data, int tag)
{
    if (!m_open || !enterEdit())
        return false;
    return leaveEdit(hasEntry(name) ? replaceEntry(name, value, data) : addEntry(name, value, data, tag));
}

bool TableFile::renameEntry(std::string_view oldName, std::string_view newName)
{
    if (!m_open || !enterEdit())
        return false;
    EntryBytes entry{};
    const int index = findEntry(oldName, entry);
    if (index < 0 || hasEntry(newName) || count() <= 0)
        return leaveEdit(false);
    m_directory.removeAt(index);
    // The whole name field is replaced: nothing of the old name survives.
    const EntryBytes key = makeKey(newName);
    std::copy_n(key.begin(), m_format.nameField, entry.begin());
    m_directory.insertSorted(entry.data());
    m_editDirty = true;
    DCFile file;
    if (!file.open(m_workPath) || !writeHeaderAndDirectory(file))
        return leaveEdit(failEdit("the directory could not be written"));
    return leaveEdit(true);
}

bool TableFile::adjustDirectory()
{
    if (!m_open || !enterEdit())
        return false;
    switch (resizeDirectory()) {
    case Resize::Done:
        return leaveEdit(true);
    case Resize::NotNeeded:
        return leaveEdit(false);
    case Resize::Failed:
        break;
    }
    return leaveEdit(failEdit("the directory could not be resized"));
}

// Grows a full directory by 16 slots, or shrinks one with more than 16 free
// slots to count + 16. The header in memory changes only once the file has.
TableFile::Resize TableFile::resizeDirectory()
{
    int newCapacity = 0;
    if (count() >= capacity())
        newCapacity = capacity() + kGrowthSlots;
    else if (capacity() - count() > kGrowthSlots)
        newCapacity = count() + kGrowthSlots;
    else
        return Resize::NotNeeded;

    const int entrySize = m_format.entrySize;
    m_editDirty = true;
    DCFile file;
    if (!file.open(m_workPath))
        return Resize::Failed;
    bool edited = false;
    if (newCapacity > capacity()) {
        const std::vector<std::uint8_t> zeros(static_cast<std::size_t>(kGrowthSlots * entrySize), 0);
        edited = file.insertBytes(m_format.headerSize + capacity() * entrySize, zeros.data(),
                                  static_cast<int>(zeros.size()));
    } else {
        edited
            = file.deleteBytes(m_format.headerSize + newCapacity * entrySize, (capacity() - newCapacity) * entrySize);
    }
    if (!edited)
        return Resize::Failed;
    setHeaderInt(8, dataOffset() + (newCapacity - capacity()) * entrySize);
    setHeaderInt(0, newCapacity);
    return writeHeader(file) ? Resize::Done : Resize::Failed;
}

} // namespace pigmora
