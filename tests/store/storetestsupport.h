#pragma once

#include "store/tablefile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace pigmora::test {

// Test names of a TEST_P table: each case's name field.
struct CaseName {
    template<typename Param>
    std::string operator()(const ::testing::TestParamInfo<Param> &param) const
    {
        return param.param.name;
    }
};

// A table file decoded straight from its bytes, independently of TableFile.
struct RawEntry {
    std::string name; // GBK, up to the first NUL or the field's end
    std::int32_t position = 0;
    std::int32_t length = 0;
    std::int32_t value = 0;
    std::int32_t tag = 0;
};

struct RawTable {
    std::vector<std::uint8_t> bytes;
    std::string magic;
    std::int32_t capacity = 0;
    std::int32_t count = 0;
    std::int32_t dataOffset = 0;
    std::int32_t headerValue = 0;
    std::vector<RawEntry> entries;

    std::vector<std::uint8_t> dataOf(const RawEntry &entry) const;
    const RawEntry *find(std::string_view gbkName) const;
};

// Decodes the header and the first count directory slots (the file must be
// long enough for them).
RawTable readRawTable(const std::filesystem::path &path, const TableFormat &format);

// Everything a sound table file satisfies: magic, header value 100, zero
// reserved bytes, count <= capacity <= count + 16, data offset after the
// directory, names strictly descending, data blocks tiling the data area.
::testing::AssertionResult tableInvariantsHold(const RawTable &table, const TableFormat &format);

// Byte offsets of header fields and entry fields, for hand-made damage.
inline std::size_t headerField(const TableFormat &format, int which) // 0 capacity, 1 count, 2 data offset
{
    return static_cast<std::size_t>(format.magicField + 4 * which);
}
inline std::size_t entryField(const TableFormat &format, int slot,
                              int which) // 0 name, 1 position, 2 length, 3 value, 4 tag
{
    const auto base = static_cast<std::size_t>(format.headerSize + slot * format.entrySize);
    return which == 0 ? base : base + static_cast<std::size_t>(format.nameField + 4 * (which - 1));
}

std::span<const std::uint8_t> bytesOf(std::string_view text);

} // namespace pigmora::test
