#include "storetestsupport.h"

#include "data/bytes.h"
#include "support/testsupport.h"

#include <algorithm>

namespace pigmora::test {

std::span<const std::uint8_t> bytesOf(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t *>(text.data()), text.size()};
}

std::vector<std::uint8_t> RawTable::dataOf(const RawEntry &entry) const
{
    const auto begin = bytes.begin() + dataOffset + entry.position;
    return {begin, begin + entry.length};
}

const RawEntry *RawTable::find(std::string_view gbkName) const
{
    for (const RawEntry &entry : entries) {
        if (entry.name == gbkName)
            return &entry;
    }
    return nullptr;
}

RawTable readRawTable(const std::filesystem::path &path, const TableFormat &format)
{
    RawTable table;
    const auto file = readFileBytes(path);
    table.bytes.assign(file.begin(), file.end());
    const std::uint8_t *b = table.bytes.data();
    table.magic = std::string(le::readText(b, static_cast<std::size_t>(format.magicField)));
    table.capacity = le::readI32(b + headerField(format, 0));
    table.count = le::readI32(b + headerField(format, 1));
    table.dataOffset = le::readI32(b + headerField(format, 2));
    table.headerValue = le::readI32(b + format.magicField + 12);
    for (int i = 0; i < table.count; ++i) {
        const std::uint8_t *e = b + entryField(format, i, 0);
        RawEntry entry;
        entry.name = std::string(le::readText(e, static_cast<std::size_t>(format.nameField)));
        entry.position = le::readI32(b + entryField(format, i, 1));
        entry.length = le::readI32(b + entryField(format, i, 2));
        entry.value = le::readI32(b + entryField(format, i, 3));
        entry.tag = format.tagField == 4 ? le::readI32(b + entryField(format, i, 4)) : *(b + entryField(format, i, 4));
        table.entries.push_back(entry);
    }
    return table;
}

::testing::AssertionResult tableInvariantsHold(const RawTable &table, const TableFormat &format)
{
    if (table.magic != format.magic)
        return ::testing::AssertionFailure() << "magic " << table.magic;
    if (table.headerValue != 100)
        return ::testing::AssertionFailure() << "header value " << table.headerValue;
    const auto reserved = table.bytes.begin() + format.magicField + 16;
    if (std::any_of(reserved, reserved + 48, [](std::uint8_t b) { return b != 0; }))
        return ::testing::AssertionFailure() << "reserved header bytes are not zero";
    if (table.count < 0 || table.count > table.capacity || table.capacity > table.count + 16)
        return ::testing::AssertionFailure() << "count " << table.count << " capacity " << table.capacity;
    if (table.dataOffset != format.headerSize + table.capacity * format.entrySize)
        return ::testing::AssertionFailure() << "data offset " << table.dataOffset;
    for (std::size_t i = 1; i < table.entries.size(); ++i) {
        if (!(table.entries[i - 1].name > table.entries[i].name)) // std::string compares bytes as unsigned
            return ::testing::AssertionFailure() << "directory order at slot " << i;
    }
    std::vector<RawEntry> byPosition = table.entries;
    std::sort(byPosition.begin(), byPosition.end(), [](const RawEntry &a, const RawEntry &b) {
        return a.position != b.position ? a.position < b.position : a.length < b.length;
    });
    std::int64_t end = 0;
    for (const RawEntry &entry : byPosition) {
        if (entry.length > 0 && entry.position != end)
            return ::testing::AssertionFailure()
                << "data of " << entry.name << " at " << entry.position << ", expected " << end;
        if (entry.length == 0 && (entry.position < 0 || entry.position > end))
            return ::testing::AssertionFailure() << "empty entry " << entry.name << " at " << entry.position;
        end += entry.length;
    }
    if (end != static_cast<std::int64_t>(table.bytes.size()) - table.dataOffset)
        return ::testing::AssertionFailure()
            << "data area of " << table.bytes.size() - static_cast<std::size_t>(table.dataOffset)
            << " bytes, entries hold " << end;
    return ::testing::AssertionSuccess();
}

} // namespace pigmora::test
