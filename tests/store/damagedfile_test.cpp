// Hand-made damaged and hostile table files: every one must be refused (or an
// entry read as nothing) without reading out of bounds, allocating without
// bound or writing to the file later.
#include "data/bytes.h"
#include "data/colormanager.h"
#include "store/tablefile.h"

#include "storetestsupport.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace pigmora {
namespace {

using Bytes = std::vector<unsigned char>;
using test::entryField;
using test::headerField;
const TableFormat &kFormat = kColorBoxTableFormat;

void setI32(Bytes &bytes, std::size_t at, std::int32_t value)
{
    le::writeI32(bytes.data() + at, value);
}

// A sound colour box file: entries "c" (2 records), "b" (empty), "a" (1
// record), added in that order.
Bytes soundFile(const std::filesystem::path &folder)
{
    const auto path = folder / "sound.bin";
    CColorBoxFile file(CColorBoxFile::kColorBoxMode);
    EXPECT_TRUE(file.create(path));
    EXPECT_TRUE(file.addEntry("c", 2, std::vector<std::uint8_t>(168, 0xCC), 0));
    EXPECT_TRUE(file.addEntry("b", 0, {}, 1));
    EXPECT_TRUE(file.addEntry("a", 1, std::vector<std::uint8_t>(84, 0xAA), 2));
    return test::readFileBytes(path);
}

// Slots in directory order: 0 "c", 1 "b", 2 "a". Data: c at 0..168, a at 168..252.
struct Damage {
    const char *name;
    std::function<void(Bytes &)> apply;
};

const Damage kDamages[] = {
    {"ShorterThanHeader", [](Bytes &b) { b.resize(60); }},
    {"EmptyFile", [](Bytes &b) { b.clear(); }},
    {"OtherVariantMagic", [](Bytes &b) { std::memcpy(b.data(), "ZQX_COLORGRP", 12); }},
    {"MagicWithoutTerminator", [](Bytes &b) { b[12] = 'X'; }},
    {"NegativeCapacity", [](Bytes &b) { setI32(b, headerField(kFormat, 0), -16); }},
    {"NegativeCount", [](Bytes &b) { setI32(b, headerField(kFormat, 1), -1); }},
    {"CountAboveCapacity", [](Bytes &b) { setI32(b, headerField(kFormat, 1), 17); }},
    {"AbsurdCapacity",
     [](Bytes &b) {
         setI32(b, headerField(kFormat, 0), 0x7FFFFFF0);
         setI32(b, headerField(kFormat, 2), static_cast<std::int32_t>(77u + 0x7FFFFFF0u * 44u)); // wrapped
     }},
    {"AbsurdCount",
     [](Bytes &b) {
         setI32(b, headerField(kFormat, 0), 40000000);
         setI32(b, headerField(kFormat, 1), 40000000);
         setI32(b, headerField(kFormat, 2), 77 + 40000000 * 44);
     }},
    {"DataOffsetNotAfterDirectory", [](Bytes &b) { setI32(b, headerField(kFormat, 2), 77 + 15 * 44); }},
    {"DirectoryShorterThanCount", [](Bytes &b) { b.resize(77 + 2 * 44 + 10); }},
    {"CutInsideTheData", [](Bytes &b) { b.pop_back(); }},
    {"TrailingBytesNoEntryOwns", [](Bytes &b) { b.push_back(0); }},
    {"EntryDataPastTheEnd", [](Bytes &b) { setI32(b, entryField(kFormat, 2, 2), 85); }},
    {"HugeEntryLength", [](Bytes &b) { setI32(b, entryField(kFormat, 2, 2), 0x7FFFFFFF); }},
    {"NegativeLength", [](Bytes &b) { setI32(b, entryField(kFormat, 2, 2), -84); }},
    {"NegativePosition", [](Bytes &b) { setI32(b, entryField(kFormat, 0, 1), -1); }},
    {"HugePosition", [](Bytes &b) { setI32(b, entryField(kFormat, 0, 1), 0x7FFFFFF0); }},
    {"OverlappingData", [](Bytes &b) { setI32(b, entryField(kFormat, 2, 1), 84); }},
    {"EmptyEntryInsideData", [](Bytes &b) { setI32(b, entryField(kFormat, 1, 1), 100); }},
    {"ValueBeyondData", [](Bytes &b) { setI32(b, entryField(kFormat, 0, 3), 3); }},
    {"HugeValue", [](Bytes &b) { setI32(b, entryField(kFormat, 2, 3), 0x7FFFFFFF); }},
    {"NegativeValue", [](Bytes &b) { setI32(b, entryField(kFormat, 1, 3), -1); }},
    {"UnsortedDirectory", [](Bytes &b) { b[entryField(kFormat, 0, 0)] = 'A'; }},
    {"DuplicateName", [](Bytes &b) { b[entryField(kFormat, 1, 0)] = 'c'; }},
};

class DamagedTableFile : public ::testing::TestWithParam<Damage>
{
protected:
    void SetUp() override
    {
        bytes = soundFile(dir.path());
        GetParam().apply(bytes);
        test::writeFileBytes(path, bytes);
    }

    test::TempDir dir;
    std::filesystem::path path = dir / "QorColorbox.bin";
    Bytes bytes;
};

TEST_P(DamagedTableFile, IsRefusedWithAReasonAndNeverWritten)
{
    CColorBoxFile file(CColorBoxFile::kColorBoxMode);
    EXPECT_FALSE(file.open(path));
    EXPECT_FALSE(file.isOpen());
    EXPECT_FALSE(file.lastError().message().empty());
    EXPECT_FALSE(file.addEntry("d", 0, {}, 0));
    EXPECT_FALSE(file.deleteEntry("a"));
    EXPECT_FALSE(file.renameEntry("a", "z"));
    EXPECT_FALSE(file.adjustDirectory());
    EXPECT_EQ(test::readFileBytes(path), bytes);
}

TEST_P(DamagedTableFile, StoresShowTheirMessageAndLeaveTheFile)
{
    test::RecordingNotifier notifier;
    CColorManager manager(dir.path(), &notifier);
    manager.buildBuiltInCatalogue();
    std::vector<std::string> names;
    EXPECT_FALSE(manager.listColorBoxes(names));
    EXPECT_FALSE(manager.loadColorBox("a"));
    EXPECT_FALSE(manager.createColorBox(0, "d"));
    EXPECT_FALSE(manager.deleteColorBox("a"));
    EXPECT_EQ(notifier.texts(),
              (std::vector<std::string>{"取颜色盒表失败!", "打开颜色盒文件失败!", "打开颜色盒文件失败!",
                                        "打开颜色盒文件失败!"}));
    EXPECT_EQ(manager.currentBoxRecords().size(), 15u) << "the provisional box stays";
    EXPECT_EQ(test::readFileBytes(path), bytes);
}

INSTANTIATE_TEST_SUITE_P(ColorBoxFile, DamagedTableFile, ::testing::ValuesIn(kDamages), test::CaseName());

TEST(DamagedTableFileEdges, SoundFixtureOpens)
{
    test::TempDir dir;
    test::writeFileBytes(dir / "f.bin", soundFile(dir.path()));
    CColorBoxFile file(CColorBoxFile::kColorBoxMode);
    ASSERT_TRUE(file.open(dir / "f.bin")) << file.lastError().message();
    EXPECT_TRUE(tableInvariantsHold(test::readRawTable(dir / "f.bin", kFormat), kFormat));
}

// A name filling the whole field has no terminator: it is read up to the
// field's end, and the file stays usable.
TEST(DamagedTableFileEdges, NameFillingTheFieldIsReadToTheFieldEnd)
{
    test::TempDir dir;
    Bytes bytes = soundFile(dir.path());
    std::memset(bytes.data() + entryField(kFormat, 0, 0), 'z', 31);
    test::writeFileBytes(dir / "f.bin", bytes);
    CColorBoxFile file(CColorBoxFile::kColorBoxMode);
    ASSERT_TRUE(file.open(dir / "f.bin")) << file.lastError().message();
    std::vector<std::string> names;
    ASSERT_TRUE(file.listNames(names));
    EXPECT_EQ(names.front(), std::string(31, 'z'));
    EXPECT_TRUE(file.deleteEntry(std::string(31, 'z')));
    EXPECT_TRUE(tableInvariantsHold(test::readRawTable(dir / "f.bin", kFormat), kFormat));
}

// Entries whose record count and data disagree are read as nothing by the
// stores: the count says fewer records than the data holds.
TEST(DamagedTableFileEdges, StoresReadAMismatchedEntryAsNothing)
{
    test::TempDir dir;
    CColorManager manager(dir.path());
    manager.buildBuiltInCatalogue();
    ASSERT_TRUE(manager.createDefaultColorBoxFile());
    Bytes bytes = test::readFileBytes(dir / "QorColorbox.bin");
    const auto table = test::readRawTable(dir / "QorColorbox.bin", kFormat);
    for (int slot = 0; slot < table.count; ++slot) {
        if (table.entries[static_cast<std::size_t>(slot)].name == test::gbk("我的颜色盒"))
            setI32(bytes, entryField(kFormat, slot, 3), 19); // 20 records stored
    }
    test::writeFileBytes(dir / "QorColorbox.bin", bytes);
    EXPECT_TRUE(manager.loadColorBox("我的颜色盒"));
    EXPECT_EQ(manager.currentBoxRecords().size(), 15u) << "the box is left as it was";
    EXPECT_TRUE(manager.currentColorBoxName().empty());
}

} // namespace
} // namespace pigmora
