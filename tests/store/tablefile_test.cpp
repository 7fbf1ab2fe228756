#include "store/tablefile.h"

#include "faultinjection.h"
#include "storetestsupport.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

namespace pigmora {
namespace {

using test::bytesOf;
using test::gbk;
using test::readRawTable;
using test::tableInvariantsHold;

std::vector<std::uint8_t> filled(std::size_t n, std::uint8_t value)
{
    return std::vector<std::uint8_t>(n, value);
}

class ColorBoxTable : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(file.create(path)); }

    test::RawTable raw() const { return readRawTable(path, kColorBoxTableFormat); }
    std::vector<std::uint8_t> read(std::string_view name)
    {
        std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::max(file.entryLength(name), 0)) + 1);
        int length = static_cast<int>(buffer.size());
        EXPECT_TRUE(file.readData(name, buffer.data(), length)) << name;
        buffer.resize(static_cast<std::size_t>(std::max(length, 0)));
        return buffer;
    }
    // Adds entries "e00", "e01", ... with 10 + i bytes of value i and tag i
    // (record count 0: the data is shorter than a record).
    void addNumbered(int first, int last)
    {
        for (int i = first; i <= last; ++i) {
            char name[8];
            std::snprintf(name, sizeof name, "e%02d", i);
            ASSERT_TRUE(
                file.addEntry(name, 0, filled(static_cast<std::size_t>(10 + i), static_cast<std::uint8_t>(i)), i));
        }
    }

    test::TempDir dir;
    std::filesystem::path path = dir / "QorColorbox.bin";
    CColorBoxFile file{CColorBoxFile::kColorBoxMode};
};

TEST_F(ColorBoxTable, NewFileIsItsHeaderOnly)
{
    const auto bytes = test::readFileBytes(path);
    ASSERT_EQ(bytes.size(), 77u);
    const std::vector<unsigned char> expected = [] {
        std::vector<unsigned char> b(77, 0);
        std::memcpy(b.data(), "ZQX_COLORBOX", 12);
        b[21] = 77; // data offset
        b[25] = 100; // header value
        return b;
    }();
    EXPECT_EQ(bytes, expected);
    EXPECT_TRUE(tableInvariantsHold(raw(), kColorBoxTableFormat));
}

TEST_F(ColorBoxTable, FirstEntryMakesSixteenSlotsAndAppendsItsData)
{
    EXPECT_FALSE(file.addEntry("box", 3, filled(168, 0x5A), 3)) << "3 records need 252 bytes";
    EXPECT_FALSE(file.addEntry("box", -1, {}, 3));
    ASSERT_TRUE(file.addEntry("box", 2, filled(168, 0x5A), 3));
    const auto table = raw();
    ASSERT_EQ(table.bytes.size(), 949u);
    EXPECT_EQ(table.capacity, 16);
    EXPECT_EQ(table.count, 1);
    EXPECT_EQ(table.dataOffset, 781);
    ASSERT_EQ(table.entries.size(), 1u);
    EXPECT_EQ(table.entries[0].name, "box");
    EXPECT_EQ(table.entries[0].position, 0);
    EXPECT_EQ(table.entries[0].length, 168);
    EXPECT_EQ(table.entries[0].value, 2);
    EXPECT_EQ(table.entries[0].tag, 3);
    EXPECT_EQ(table.bytes[781], 0x5A);
    // Slots 1..15 are zero.
    EXPECT_TRUE(std::all_of(table.bytes.begin() + 77 + 44, table.bytes.begin() + 781, [](auto b) { return b == 0; }));
}

TEST_F(ColorBoxTable, SixteenthEntryFillsTheDirectorySeventeenthGrowsIt)
{
    addNumbered(0, 15);
    EXPECT_EQ(raw().capacity, 16);
    addNumbered(16, 16);
    const auto table = raw();
    EXPECT_EQ(table.capacity, 32);
    EXPECT_EQ(table.dataOffset, 77 + 32 * 44);
    EXPECT_TRUE(tableInvariantsHold(table, kColorBoxTableFormat));
    for (int i = 0; i <= 16; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "e%02d", i);
        EXPECT_EQ(read(name), filled(static_cast<std::size_t>(10 + i), static_cast<std::uint8_t>(i)));
    }
}

TEST_F(ColorBoxTable, DeletingShrinksToCountPlusSixteenKeepingPositions)
{
    addNumbered(0, 32); // 33 entries, 48 slots
    ASSERT_EQ(raw().capacity, 48);
    ASSERT_TRUE(file.deleteEntry("e32"));
    EXPECT_EQ(raw().capacity, 48); // 32 + 16 is not less than 48
    const auto before = raw();
    ASSERT_TRUE(file.deleteEntry("e31"));
    const auto after = raw();
    EXPECT_EQ(after.capacity, 47);
    EXPECT_EQ(after.dataOffset, before.dataOffset - 44);
    EXPECT_EQ(after.bytes.size(), before.bytes.size() - 44 - (10 + 31));
    EXPECT_EQ(after.find("e05")->position, before.find("e05")->position);
    EXPECT_TRUE(tableInvariantsHold(after, kColorBoxTableFormat));
    EXPECT_EQ(read("e30"), filled(40, 30));
}

TEST_F(ColorBoxTable, DeletingTheFirstBlockMovesEveryLaterBlockDown)
{
    addNumbered(0, 3);
    ASSERT_TRUE(file.deleteEntry("e00"));
    const auto table = raw();
    EXPECT_EQ(table.find("e01")->position, 0);
    EXPECT_EQ(table.find("e02")->position, 11);
    EXPECT_EQ(table.find("e03")->position, 23);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(read("e0" + std::to_string(i)),
                  filled(static_cast<std::size_t>(10 + i), static_cast<std::uint8_t>(i)));
    EXPECT_TRUE(tableInvariantsHold(table, kColorBoxTableFormat));
    EXPECT_TRUE(file.deleteEntry("absent")); // nothing to delete
}

TEST_F(ColorBoxTable, ReplaceMovesTheDataToTheEndAndKeepsTheTag)
{
    addNumbered(0, 2);
    ASSERT_TRUE(file.replaceEntry("e00", 2, filled(168, 0xEE)));
    const auto table = raw();
    EXPECT_EQ(table.find("e00")->position, 11 + 12);
    EXPECT_EQ(table.find("e00")->tag, 0);
    EXPECT_EQ(table.find("e00")->value, 2);
    EXPECT_EQ(read("e00"), filled(168, 0xEE));
    ASSERT_TRUE(file.writeEntry("e02", 0, filled(1, 1), 99));
    EXPECT_EQ(file.entryTag("e02"), 2);
    EXPECT_FALSE(file.replaceEntry("absent", 1, {}));
    EXPECT_EQ(file.entryTag("absent"), -1);
    EXPECT_EQ(static_cast<std::uint8_t>(file.entryTag("absent")), 255);
}

TEST(PaletteTable, ReplaceClearsTheTag)
{
    test::TempDir dir;
    CPalettePanelFile file;
    ASSERT_TRUE(file.create(dir / "QorPalette.bin"));
    ASSERT_TRUE(file.addEntry("p", 1, filled(37, 1), 9));
    EXPECT_EQ(file.entryTag("p"), 9);
    ASSERT_TRUE(file.writeEntry("p", 2, filled(74, 2), 9));
    EXPECT_EQ(file.entryTag("p"), 0);
    EXPECT_EQ(file.entryValue("p"), 2);
}

TEST_F(ColorBoxTable, NamesSortDescendingByBytes)
{
    for (const char *name : {"0", "1", "2", "3", "4", "5", "ab", "abc", "b"})
        ASSERT_TRUE(file.addEntry(name, 0, {}, 0));
    std::vector<std::string> names{"stale"};
    ASSERT_TRUE(file.listNames(names));
    EXPECT_EQ(names, (std::vector<std::string>{"b", "abc", "ab", "5", "4", "3", "2", "1", "0"}));
    CColorBoxFile reopened(CColorBoxFile::kColorBoxMode);
    ASSERT_TRUE(reopened.open(path));
    EXPECT_TRUE(reopened.hasEntry("ab"));
    EXPECT_FALSE(reopened.hasEntry("a"));
}

TEST_F(ColorBoxTable, RenameReplacesTheWholeNameField)
{
    const std::string longName(30, 'x');
    ASSERT_TRUE(file.addEntry(longName, 0, filled(3, 3), 4));
    ASSERT_TRUE(file.addEntry("other", 0, {}, 0));
    EXPECT_FALSE(file.renameEntry(longName, "other"));
    EXPECT_FALSE(file.renameEntry("absent", "new"));
    ASSERT_TRUE(file.renameEntry(longName, "b"));
    const auto table = raw();
    const std::size_t slot = table.entries[0].name == "other" ? 1 : 0;
    const auto field
        = table.bytes.begin() + static_cast<long>(test::entryField(kColorBoxTableFormat, static_cast<int>(slot), 0));
    EXPECT_EQ(field[0], 'b');
    EXPECT_TRUE(std::all_of(field + 1, field + 31, [](auto b) { return b == 0; }));
    EXPECT_EQ(read("b"), filled(3, 3));
    EXPECT_EQ(file.entryTag("b"), 4);
}

TEST_F(ColorBoxTable, LongNamesAreCutAtAWholeGbkCharacter)
{
    const std::string sixteen = gbk("一二三四五六七八九十一二三四五六"); // 32 bytes
    ASSERT_TRUE(file.addEntry(sixteen, 0, {}, 0));
    EXPECT_TRUE(file.hasEntry(sixteen));
    EXPECT_TRUE(file.hasEntry(sixteen.substr(0, 30)));
    const std::string ascii31(31, 'n');
    ASSERT_TRUE(file.addEntry(ascii31 + "more", 0, {}, 0));
    EXPECT_FALSE(file.addEntry(ascii31, 0, {}, 0)); // the same name once cut
    std::vector<std::string> names;
    CColorBoxFile reopened(CColorBoxFile::kColorBoxMode);
    ASSERT_TRUE(reopened.open(path));
    ASSERT_TRUE(reopened.listNames(names));
    EXPECT_EQ(names, (std::vector<std::string>{"一二三四五六七八九十一二三四五", ascii31}));
}

TEST_F(ColorBoxTable, ReadDataNeedsABufferLargeEnough)
{
    addNumbered(0, 0);
    std::vector<std::uint8_t> buffer(10);
    int length = 9;
    EXPECT_FALSE(file.readData("e00", buffer.data(), length));
    length = 10;
    EXPECT_FALSE(file.readData("e00", nullptr, length));
    EXPECT_TRUE(file.readData("e00", buffer.data(), length));
    int value = -1;
    length = 10;
    EXPECT_TRUE(file.readEntry("e00", value, buffer.data(), length));
    EXPECT_EQ(value, 0);
    EXPECT_EQ(length, 10);
}

TEST_F(ColorBoxTable, AdjustDirectoryReportsWhetherItResized)
{
    EXPECT_TRUE(file.adjustDirectory()); // 0 of 0 slots: full, grows
    EXPECT_EQ(raw().capacity, 16);
    EXPECT_FALSE(file.adjustDirectory());
}

TEST_F(ColorBoxTable, ClosedObjectDoesNothing)
{
    file.close();
    std::vector<std::string> names;
    int length = 0;
    EXPECT_FALSE(file.isOpen());
    EXPECT_FALSE(file.listNames(names));
    EXPECT_FALSE(file.hasEntry("x"));
    EXPECT_EQ(file.entryValue("x"), -1);
    EXPECT_EQ(file.entryLength("x"), -1);
    EXPECT_FALSE(file.readData("x", nullptr, length));
    EXPECT_FALSE(file.addEntry("x", 0, {}, 0));
    EXPECT_FALSE(file.deleteEntry("x"));
    EXPECT_FALSE(file.renameEntry("x", "y"));
    EXPECT_FALSE(file.adjustDirectory());
    EXPECT_EQ(test::readFileBytes(path).size(), 77u);
}

TEST_F(ColorBoxTable, LoadPaintRecordsNeedsValueRecordsInTheData)
{
    PaintColorRecord record;
    record.setCode("100");
    ASSERT_TRUE(file.addEntry("two", 2, filled(168, 0), 0));
    ASSERT_TRUE(file.addEntry("one", 1, std::span(record.data(), 84), 0));
    std::vector<PaintColorRecord> list;
    ASSERT_TRUE(file.loadPaintRecords("one", list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].code(), "100");
    ASSERT_TRUE(file.loadPaintRecords("two", list));
    EXPECT_EQ(list.size(), 3u);
    CColorBoxFile::freeRecordList(list);
    EXPECT_TRUE(list.empty());
    EXPECT_FALSE(file.loadPaintRecords("absent", list));
}

// A write that fails part-way leaves the file as it was (only the working
// copy was written) and the object as before the change, still usable.
struct FailureCase {
    const char *name;
    int failingWrite; // counted from the start of the operation (write 0 copies the file)
    bool grow; // the operation grows the directory
};

class FailedEdit : public ColorBoxTable, public ::testing::WithParamInterface<FailureCase>
{ };

TEST_P(FailedEdit, LeavesTheFileAndTheObjectAsTheyWere)
{
    addNumbered(0, GetParam().grow ? 15 : 3);
    const auto before = test::readFileBytes(path);
    {
        test::FaultInjection faults;
        faults.failWritesFrom(GetParam().failingWrite);
        EXPECT_FALSE(file.addEntry("new", 0, filled(20, 1), 0));
    }
    EXPECT_EQ(test::readFileBytes(path), before);
    EXPECT_FALSE(std::filesystem::exists(dir / "QorColorbox.bin.tmp"));
    EXPECT_TRUE(file.isOpen());
    EXPECT_FALSE(file.lastError().isOk());
    EXPECT_FALSE(file.hasEntry("new"));
    EXPECT_TRUE(file.addEntry("later", 1, filled(84, 7), 0)) << file.lastError().message();
    EXPECT_TRUE(tableInvariantsHold(raw(), kColorBoxTableFormat));
}

INSTANTIATE_TEST_SUITE_P(ColorBoxTable, FailedEdit,
                         ::testing::Values(FailureCase{"Copy", 0, false}, FailureCase{"GrowthAppend", 1, true},
                                           FailureCase{"GrowthMove", 2, true}, FailureCase{"GrowthHeader", 4, true},
                                           FailureCase{"Directory", 1, false}, FailureCase{"Data", 3, false}),
                         test::CaseName());

TEST_F(ColorBoxTable, FailedDeleteLeavesTheFileAsItWas)
{
    addNumbered(0, 3);
    const auto before = test::readFileBytes(path);
    {
        test::FaultInjection faults;
        faults.failWritesFrom(3); // copy, header and directory written, the data move fails
        EXPECT_FALSE(file.deleteEntry("e00"));
    }
    EXPECT_EQ(test::readFileBytes(path), before);
    EXPECT_TRUE(file.hasEntry("e00"));
    CColorBoxFile reopened(CColorBoxFile::kColorBoxMode);
    EXPECT_TRUE(reopened.open(path)) << reopened.lastError().message();
}

TEST(ConfigTable, UsesFourByteTagsAndTwentyOneByteNames)
{
    test::TempDir dir;
    CConfigFile file;
    ASSERT_TRUE(file.create(dir / "QorConfig.bin"));
    EXPECT_EQ(test::readFileBytes(dir / "QorConfig.bin").size(), 74u);
    ASSERT_TRUE(file.addEntry("SysConfig", 0, bytesOf("abc"), -2));
    EXPECT_EQ(file.entryTag("SysConfig"), -2);
    const auto table = readRawTable(dir / "QorConfig.bin", kConfigTableFormat);
    EXPECT_EQ(table.dataOffset, 74 + 16 * 37);
    EXPECT_EQ(table.bytes.size(), 74u + 592 + 3);
    EXPECT_TRUE(tableInvariantsHold(table, kConfigTableFormat));
}

} // namespace
} // namespace pigmora
