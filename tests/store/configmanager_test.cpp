#include "store/configmanager.h"

#include "data/bytes.h"
#include "faultinjection.h"
#include "storetestsupport.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

namespace pigmora {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes i32(std::int32_t value)
{
    Bytes b(4);
    le::writeI32(b.data(), value);
    return b;
}

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes &part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

Bytes text(std::string_view s, bool withNul = true)
{
    Bytes b(s.begin(), s.end());
    if (withNul)
        b.push_back(0);
    return b;
}

class ConfigManagerTest : public ::testing::Test
{
protected:
    test::RawTable raw() const { return test::readRawTable(dir / "QorConfig.bin", kConfigTableFormat); }
    // Writes a configuration file whose section "SysConfig" holds data.
    void writeSection(int itemCount, const Bytes &data)
    {
        CConfigFile file;
        ASSERT_TRUE(file.create(dir / "QorConfig.bin"));
        ASSERT_TRUE(file.addEntry("SysConfig", itemCount, data, 0));
    }

    test::TempDir dir;
    test::RecordingNotifier notifier;
    CConfigManager manager{dir.path(), &notifier};
};

TEST_F(ConfigManagerTest, FirstStartWritesTheDefaultSection)
{
    ASSERT_TRUE(manager.createDefaultConfigFile());
    EXPECT_FALSE(manager.isOpen());
    const auto table = raw();
    ASSERT_EQ(table.bytes.size(), 74u + 16 * 37 + 126);
    ASSERT_EQ(table.entries.size(), 1u);
    EXPECT_EQ(table.entries[0].name, "SysConfig");
    EXPECT_EQ(table.entries[0].value, 4);
    EXPECT_EQ(table.entries[0].tag, 0);
    const Bytes expected = concat({i32(32), i32(8),  text("AppName"),         i32(16), text("Pigmora(Avelle)"),
                                   i32(25), i32(13), text("GridColCount"),    i32(4),  i32(5),
                                   i32(25), i32(13), text("GridRowCount"),    i32(4),  i32(6),
                                   i32(28), i32(16), text("ColorMixingMode"), i32(4),  i32(0)});
    EXPECT_EQ(table.dataOf(table.entries[0]), expected);

    manager.open();
    ASSERT_TRUE(manager.loadSysConfig());
    ASSERT_EQ(manager.items().size(), 4u);
    EXPECT_STREQ(manager.items()[0].value.c_str(), "Pigmora(Avelle)");
    std::int32_t columns = 0, rows = 0, mode = -1;
    EXPECT_TRUE(manager.getInt("GridColCount", columns));
    EXPECT_TRUE(manager.getInt("GridRowCount", rows));
    EXPECT_TRUE(manager.getInt("ColorMixingMode", mode));
    EXPECT_EQ(columns, 5);
    EXPECT_EQ(rows, 6);
    EXPECT_EQ(mode, 0);
    EXPECT_TRUE(notifier.messages().empty());
}

TEST_F(ConfigManagerTest, ExistingFileIsNotTouched)
{
    ASSERT_TRUE(manager.createDefaultConfigFile());
    const auto before = test::readFileBytes(dir / "QorConfig.bin");
    EXPECT_FALSE(manager.createDefaultConfigFile());
    EXPECT_EQ(test::readFileBytes(dir / "QorConfig.bin"), before);
}

TEST_F(ConfigManagerTest, SavingAChangedValueKeepsTheOtherItems)
{
    ASSERT_TRUE(manager.createDefaultConfigFile());
    const auto before = raw();
    manager.open();
    ASSERT_TRUE(manager.loadSysConfig());
    ASSERT_TRUE(manager.setInt("GridColCount", 10));
    ASSERT_TRUE(manager.saveSysConfig());
    const auto after = raw();
    ASSERT_EQ(after.entries.size(), 1u);
    EXPECT_EQ(after.entries[0].value, 4);
    Bytes expected = before.dataOf(before.entries[0]);
    le::writeI32(expected.data() + 36 + 25, 10);
    EXPECT_EQ(after.dataOf(after.entries[0]), expected);
    EXPECT_EQ(after.bytes.size(), before.bytes.size());
}

TEST_F(ConfigManagerTest, SectionWithoutAKeyLoadsTheOthers)
{
    writeSection(2,
                 concat({i32(25), i32(13), text("GridColCount"), i32(4), i32(12), i32(25), i32(13),
                         text("GridRowCount"), i32(4), i32(3)}));
    manager.open();
    ASSERT_TRUE(manager.loadSysConfig());
    std::int32_t value = 77;
    EXPECT_FALSE(manager.getInt("ColorMixingMode", value));
    EXPECT_EQ(value, 77);
    EXPECT_FALSE(manager.setInt("ColorMixingMode", 1));
    EXPECT_EQ(manager.items().size(), 2u);
    EXPECT_TRUE(manager.getInt("GridColCount", value));
    EXPECT_EQ(value, 12);
}

struct SectionCase {
    const char *name;
    int itemCount;
    Bytes data;
    std::size_t itemsRead;
    bool complete;
};

class ConfigSection : public ConfigManagerTest, public ::testing::WithParamInterface<SectionCase>
{ };

TEST_P(ConfigSection, YieldsTheItemsBeforeTheFault)
{
    const SectionCase &c = GetParam();
    writeSection(c.itemCount, c.data);
    manager.open();
    EXPECT_EQ(manager.loadSysConfig(), c.complete);
    EXPECT_EQ(manager.items().size(), c.itemsRead);
}

const Bytes kGoodItem = concat({i32(25), i32(13), text("GridColCount"), i32(4), i32(9)});

INSTANTIATE_TEST_SUITE_P(
    ConfigManagerTest, ConfigSection,
    ::testing::Values(SectionCase{"Complete", 1, kGoodItem, 1, true},
                      SectionCase{"CountBeyondTheItems", 3, kGoodItem, 1, false},
                      SectionCase{"KeyRunsPastTheData", 2, concat({kGoodItem, i32(0), i32(99), text("Key")}), 1, false},
                      SectionCase{"NegativeKeyLength", 2, concat({kGoodItem, i32(0), i32(-1)}), 1, false},
                      SectionCase{"ValueRunsPastTheData", 2,
                                  concat({kGoodItem, i32(0), i32(2), text("K"), i32(5), i32(1)}), 1, false},
                      SectionCase{"CutInsideALengthField", 2, concat({kGoodItem, Bytes{1, 0}}), 1, false},
                      SectionCase{"ZeroItems", 0, {}, 0, true}),
    test::CaseName());

TEST_F(ConfigManagerTest, ShortIntegerValueIsNotRead)
{
    writeSection(1, concat({i32(22), i32(13), text("GridColCount"), i32(1), Bytes{7}}));
    manager.open();
    ASSERT_TRUE(manager.loadSysConfig());
    std::int32_t value = 77;
    EXPECT_FALSE(manager.getInt("GridColCount", value));
    EXPECT_EQ(value, 77);
    EXPECT_TRUE(manager.setInt("GridColCount", 4)); // replaces the value by a whole integer
    EXPECT_TRUE(manager.getInt("GridColCount", value));
    EXPECT_EQ(value, 4);
}

TEST_F(ConfigManagerTest, KeysAreComparedAsCStrings)
{
    const std::uint8_t key[] = {'K', 0, 'x'};
    const std::uint8_t value[] = {1, 0, 0, 0};
    manager.addBinaryItem(key, value);
    manager.addStringItem("K", "again");
    EXPECT_EQ(manager.items().size(), 1u);
    std::int32_t out = 0;
    EXPECT_TRUE(manager.getInt("K", out));
    EXPECT_EQ(out, 1);
    EXPECT_EQ(manager.findItem("Kx"), nullptr);
}

TEST_F(ConfigManagerTest, WithoutAnOpenFileNothingLoadsOrSaves)
{
    manager.open(); // missing file: no message
    EXPECT_FALSE(manager.isOpen());
    EXPECT_FALSE(manager.loadSysConfig());
    EXPECT_FALSE(manager.saveSysConfig());
    std::int32_t value = 3;
    EXPECT_FALSE(manager.getInt("GridColCount", value));
    EXPECT_EQ(value, 3);

    CColorBoxFile other(CColorBoxFile::kColorBoxMode); // another variant
    ASSERT_TRUE(other.create(dir / "QorConfig.bin"));
    manager.open();
    EXPECT_FALSE(manager.isOpen());
    EXPECT_TRUE(notifier.messages().empty());
}

TEST_F(ConfigManagerTest, CreationFailureIsShown)
{
    CConfigManager unwritable(dir / "missing-folder", &notifier);
    EXPECT_FALSE(unwritable.createDefaultConfigFile());
    EXPECT_EQ(notifier.texts(), std::vector<std::string>{"新建配置参数文件失败!"});
    EXPECT_EQ(notifier.messages()[0].icon, MessageIcon::Error);
}

// A file that cannot be written in full is removed again so that the next
// start creates it anew instead of keeping a header without settings.
TEST_F(ConfigManagerTest, HalfWrittenDefaultFileIsRemoved)
{
    {
        test::FaultInjection faults;
        faults.failWritesFrom(3); // header, growth zeros and move succeed
        EXPECT_FALSE(manager.createDefaultConfigFile());
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "QorConfig.bin"));
    EXPECT_EQ(notifier.texts(), std::vector<std::string>{"新建配置参数文件失败!"});
    notifier.clear();
    EXPECT_TRUE(manager.createDefaultConfigFile());
    EXPECT_TRUE(notifier.messages().empty());
}

} // namespace
} // namespace pigmora
