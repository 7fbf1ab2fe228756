#include "data/colormanager.h"
#include "store/tablefile.h"

#include "faultinjection.h"
#include "storetestsupport.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <array>

namespace pigmora {
namespace {

using test::gbk;
using test::utf8;

// A folder after a first start: colour group and colour box files written
// from the built-in catalogue, the catalogue loaded from the group file.
class ColorStore : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(manager.buildBuiltInCatalogue());
        ASSERT_TRUE(manager.createDefaultColorGroupFile());
        ASSERT_TRUE(manager.loadColorGroups());
        ASSERT_TRUE(manager.createDefaultColorBoxFile());
        notifier.clear();
    }
    test::RawTable groups() const { return test::readRawTable(dir / "QorColorGroup.bin", kColorGroupTableFormat); }
    test::RawTable boxes() const { return test::readRawTable(dir / "QorColorbox.bin", kColorBoxTableFormat); }
    std::vector<PaintColorRecord> groupRecords(int index) const
    {
        const auto table = groups();
        const auto bytes = table.dataOf(*table.find(std::to_string(index)));
        std::vector<PaintColorRecord> records;
        for (std::size_t at = 0; at + 84 <= bytes.size(); at += 84)
            records.push_back(PaintColorRecord::fromBytes(bytes.data() + at));
        return records;
    }
    std::vector<std::string> messages() const { return notifier.texts(); }
    // Writes the manager's paints of a group to the group file as they stand
    // in memory (edits read the group file again before they change it).
    void storeGroup(int index)
    {
        std::vector<PaintColorRecord> records;
        for (const PaintColorRecord &record : manager.catalogueRecords()) {
            if (record.group() == index)
                records.push_back(record);
        }
        CColorBoxFile file(CColorBoxFile::kColorGroupMode);
        ASSERT_TRUE(file.open(dir / "QorColorGroup.bin"));
        ASSERT_TRUE(file.writeEntry(std::to_string(index), static_cast<int>(records.size()),
                                    {reinterpret_cast<const std::uint8_t *>(records.data()), records.size() * 84},
                                    index));
    }
    void addUserPaint(std::string_view group, std::string_view name)
    {
        ASSERT_TRUE(manager.addGroupColor(group, name, "", {1, 2, 3}, 1.0f, 2, PaintColorRecord::kOriginUser)) << name;
    }

    test::TempDir dir;
    test::RecordingNotifier notifier;
    CColorManager manager{dir.path(), &notifier};
};

TEST_F(ColorStore, GroupFileHoldsEveryBuiltInPaintOnce)
{
    const auto table = groups();
    ASSERT_EQ(table.entries.size(), 6u);
    EXPECT_EQ(table.bytes.size(), 781u + 261 * 84);
    const std::array<int, 6> counts{87, 59, 14, 25, 53, 23};
    int position = 0;
    for (int index = 0; index < 6; ++index) {
        const test::RawEntry &entry = table.entries[static_cast<std::size_t>(5 - index)]; // stored "5" .. "0"
        EXPECT_EQ(entry.name, std::to_string(index));
        EXPECT_EQ(entry.tag, index);
        EXPECT_EQ(entry.value, counts[static_cast<std::size_t>(index)]);
        EXPECT_EQ(entry.position, position) << "data in add order";
        position += entry.length;
    }
    CColorManager builtIn("/nonexistent");
    builtIn.buildBuiltInCatalogue();
    std::vector<PaintColorRecord> all;
    for (int index = 0; index < 6; ++index) {
        const auto records = groupRecords(index);
        all.insert(all.end(), records.begin(), records.end());
    }
    std::sort(all.begin(), all.end(),
              [](const auto &a, const auto &b) { return comparePaintColorRecords(&a, &b) < 0; });
    const auto expected = builtIn.catalogueRecords();
    EXPECT_TRUE(std::equal(all.begin(), all.end(), expected.begin(), expected.end()));
}

TEST_F(ColorStore, LoadingTheGroupsEmptiesTheCurrentBox)
{
    CColorManager other(dir.path());
    other.buildBuiltInCatalogue();
    ASSERT_EQ(other.currentBoxRecords().size(), 15u);
    ASSERT_TRUE(other.loadColorGroups());
    EXPECT_TRUE(other.currentBoxRecords().empty());
    EXPECT_EQ(other.catalogueCount(), 261);
}

struct BoxCase {
    const char *name;
    const char *box;
    int tag;
    int paints;
};

class DefaultBox : public ColorStore, public ::testing::WithParamInterface<BoxCase>
{ };

TEST_P(DefaultBox, HoldsThePaintsTheCatalogueHas)
{
    const BoxCase &c = GetParam();
    const auto table = boxes();
    const test::RawEntry *entry = table.find(gbk(c.box));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->tag, c.tag);
    EXPECT_EQ(entry->value, c.paints);
    EXPECT_EQ(entry->length, c.paints * 84);
    EXPECT_TRUE(CColorManager::isSystemColorBox(c.box));
    ASSERT_TRUE(manager.loadColorBox(c.box));
    EXPECT_EQ(manager.currentBoxRecords().size(), static_cast<std::size_t>(c.paints));
    EXPECT_EQ(manager.currentColorBoxGroup(), c.tag);
    EXPECT_EQ(manager.currentColorBoxName(), c.box);
    for (const PaintColorRecord &record : manager.currentBoxRecords())
        EXPECT_EQ(record.boxFlag(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    ColorStore, DefaultBox,
    ::testing::Values(BoxCase{"Mine", "我的颜色盒", 0, 20}, BoxCase{"Oil12", "12色油画颜色盒", 0, 11},
                      BoxCase{"Standard", "标准颜色盒", 0, 32}, BoxCase{"Oil18", "18色油画颜色盒", 0, 17},
                      BoxCase{"Chinese", "国画颜色盒", 2, 14}, BoxCase{"Textile", "纺织颜色盒", 5, 21},
                      BoxCase{"HousePaint", "油漆颜色盒", 3, 24}, BoxCase{"Acrylic24", "24色丙烯颜色盒", 1, 24},
                      BoxCase{"Acrylic12", "12色丙烯颜色盒", 1, 12}, BoxCase{"Gouache24", "24色水粉颜色盒", 4, 24},
                      BoxCase{"Gouache12", "12色水粉颜色盒", 4, 12}),
    test::CaseName());

TEST_F(ColorStore, BoxesListInDescendingByteOrder)
{
    std::vector<std::string> names{"stale"};
    ASSERT_TRUE(manager.listColorBoxes(names));
    EXPECT_EQ(names,
              (std::vector<std::string>{"油漆颜色盒", "我的颜色盒", "国画颜色盒", "纺织颜色盒", "标准颜色盒",
                                        "24色水粉颜色盒", "24色丙烯颜色盒", "18色油画颜色盒", "12色油画颜色盒",
                                        "12色水粉颜色盒", "12色丙烯颜色盒"}));
    EXPECT_FALSE(CColorManager::isSystemColorBox("新建颜色盒1"));
}

TEST_F(ColorStore, LoadingAnUnknownBoxChangesNothing)
{
    ASSERT_TRUE(manager.loadColorBox("国画颜色盒"));
    EXPECT_TRUE(manager.loadColorBox("没有的盒"));
    EXPECT_EQ(manager.currentColorBoxName(), "国画颜色盒");
    EXPECT_EQ(manager.currentBoxRecords().size(), 14u);
}

TEST_F(ColorStore, BoxPaintsComeFromTheCatalogue)
{
    // The box holds only code and name: an edited paint is loaded as edited,
    // a paint deleted from its group is left out.
    addUserPaint("油画颜色", "试色");
    PaintColorRecord paint;
    ASSERT_TRUE(manager.findGroupColor("油画颜色", "试色", paint));
    ASSERT_TRUE(manager.createColorBox(0, "试盒"));
    ASSERT_TRUE(manager.loadColorBox("试盒"));
    ASSERT_TRUE(manager.addToCurrentBox("710", "钛白"));
    ASSERT_TRUE(manager.addToCurrentBox(utf8(paint.code()), "试色"));
    ASSERT_TRUE(manager.saveCurrentColorBox());
    ASSERT_TRUE(manager.modifyGroupColor("油画颜色", "钛白", "", {1, 1, 1}, 0.5f, 1, 1));

    CColorManager other(dir.path());
    other.buildBuiltInCatalogue();
    ASSERT_TRUE(other.loadColorGroups());
    ASSERT_TRUE(other.loadColorBox("试盒"));
    ASSERT_EQ(other.currentBoxRecords().size(), 2u);
    EXPECT_EQ(other.currentBoxRecords()[0].color(), (RgbColor{1, 1, 1}));

    other.deleteCatalogueColor(utf8(paint.code()), "试色"); // gone from this catalogue
    ASSERT_TRUE(other.reloadCurrentColorBox());
    EXPECT_EQ(other.currentBoxRecords().size(), 1u);
}

TEST_F(ColorStore, ReloadUsesTheManagersOwnCatalogue)
{
    ASSERT_TRUE(manager.loadColorBox("我的颜色盒"));
    CColorManager other(dir.path());
    other.buildBuiltInCatalogue();
    ASSERT_TRUE(other.loadColorGroups());
    ASSERT_TRUE(other.addGroupColor("油画颜色", "新色", "", {9, 9, 9}, 1.0f, 2, 2));
    ASSERT_TRUE(other.loadColorBox("我的颜色盒"));
    ASSERT_TRUE(other.addToCurrentBox("u_10000001", "新色"));
    ASSERT_TRUE(other.saveCurrentColorBox());
    ASSERT_TRUE(manager.reloadCurrentColorBox());
    EXPECT_EQ(manager.currentBoxRecords().size(), 20u) << "the new paint is not in this manager's catalogue";
    CColorManager fresh(dir.path());
    EXPECT_FALSE(fresh.reloadCurrentColorBox()) << "no current box name yet";
}

TEST_F(ColorStore, SavingABoxKeepsItsGroupAndMovesItsData)
{
    ASSERT_TRUE(manager.loadColorBox("国画颜色盒"));
    manager.clearCurrentBox();
    ASSERT_TRUE(manager.addToCurrentBox("3001", "銀朱"));
    ASSERT_TRUE(manager.saveCurrentColorBox());
    const auto table = boxes();
    const test::RawEntry *entry = table.find(gbk("国画颜色盒"));
    EXPECT_EQ(entry->tag, 2);
    EXPECT_EQ(entry->value, 1);
    EXPECT_EQ(entry->position + entry->length, static_cast<int>(table.bytes.size()) - table.dataOffset);
    EXPECT_EQ(table.dataOf(*entry)[79], 1) << "records are saved with their box flag";
    EXPECT_TRUE(test::tableInvariantsHold(table, kColorBoxTableFormat));
    CColorManager unnamed(dir.path());
    EXPECT_FALSE(unnamed.saveCurrentColorBox());
}

TEST_F(ColorStore, CreateRenameAndDeleteBoxes)
{
    EXPECT_FALSE(manager.colorBoxExists("新建颜色盒1"));
    ASSERT_TRUE(manager.createColorBox(4, "新建颜色盒1"));
    EXPECT_TRUE(manager.colorBoxExists("新建颜色盒1"));
    EXPECT_EQ(boxes().find(gbk("新建颜色盒1"))->tag, 4);
    EXPECT_FALSE(manager.renameColorBox("新建颜色盒1", "我的颜色盒"));
    ASSERT_TRUE(manager.renameColorBox("新建颜色盒1", "水粉小盒"));
    EXPECT_FALSE(manager.colorBoxExists("新建颜色盒1"));
    ASSERT_TRUE(manager.deleteColorBox("水粉小盒"));
    EXPECT_FALSE(manager.colorBoxExists("水粉小盒"));
    EXPECT_EQ(messages(), std::vector<std::string>{"删除颜色盒成功!"});
    EXPECT_EQ(notifier.messages()[0].icon, MessageIcon::Information);
    EXPECT_TRUE(test::tableInvariantsHold(boxes(), kColorBoxTableFormat));
}

TEST_F(ColorStore, GroupNamesAndIndexes)
{
    std::vector<std::string> names;
    ASSERT_TRUE(CColorManager::listColorGroups(names));
    EXPECT_EQ(names,
              (std::vector<std::string>{"油画颜色", "丙烯颜色", "中国画颜色", "油漆颜色", "水粉颜色", "纺织颜色"}));
    std::string name = "x";
    EXPECT_TRUE(CColorManager::colorGroupName(5, name));
    EXPECT_EQ(name, "纺织颜色");
    EXPECT_FALSE(CColorManager::colorGroupName(6, name));
    EXPECT_TRUE(name.empty());
    EXPECT_EQ(CColorManager::colorGroupIndex("水粉颜色"), 4);
    EXPECT_EQ(CColorManager::colorGroupIndex("水粉"), -1);
}

TEST_F(ColorStore, NextCustomNameIsTheSmallestFreeNumber)
{
    std::string name;
    ASSERT_TRUE(manager.nextCustomColorName("丙烯颜色", name));
    EXPECT_EQ(name, "自定义颜色1");
    addUserPaint("丙烯颜色", "自定义颜色3");
    addUserPaint("丙烯颜色", "自定义颜色1");
    addUserPaint("油画颜色", "自定义颜色2"); // another group does not count
    ASSERT_TRUE(manager.nextCustomColorName("丙烯颜色", name));
    EXPECT_EQ(name, "自定义颜色2");
    addUserPaint("丙烯颜色", "自定义颜色2");
    ASSERT_TRUE(manager.nextCustomColorName("丙烯颜色", name));
    EXPECT_EQ(name, "自定义颜色4");
    EXPECT_FALSE(manager.nextCustomColorName("其他", name));
}

TEST_F(ColorStore, UserPaintsAreNumberedAndWrittenToTheirGroup)
{
    addUserPaint("油漆颜色", "甲");
    addUserPaint("油漆颜色", "乙");
    PaintColorRecord record;
    ASSERT_TRUE(manager.findGroupColor("油漆颜色", "甲", record));
    EXPECT_EQ(record.code(), "u_10000001");
    EXPECT_EQ(record.origin(), 2);
    EXPECT_EQ(record.group(), 3);
    EXPECT_EQ(record.strength(), 1.0f);
    EXPECT_EQ(record.mixingClass(), 2);
    ASSERT_TRUE(manager.findGroupColor("油漆颜色", "乙", record));
    EXPECT_EQ(record.code(), "u_10000002");
    addUserPaint("水粉颜色", "丙");
    ASSERT_TRUE(manager.findGroupColor("水粉颜色", "丙", record));
    EXPECT_EQ(record.code(), "u_10000003");
    EXPECT_FALSE(manager.addGroupColor("油漆颜色", "甲", "", {}, 1.0f, 2, 2)) << "same name in the group";

    const auto stored = groupRecords(3);
    EXPECT_EQ(stored.size(), 27u);
    EXPECT_EQ(groups().find("3")->tag, 3);
    EXPECT_TRUE(test::tableInvariantsHold(groups(), kColorGroupTableFormat));
    CColorManager other(dir.path());
    other.buildBuiltInCatalogue();
    ASSERT_TRUE(other.loadColorGroups());
    EXPECT_EQ(other.catalogueCount(), 264);
}

TEST_F(ColorStore, AUserCodeThatIsNoNumberRefusesTheAdd)
{
    ASSERT_TRUE(manager.addCatalogueColor("u_x1", "怪", "", {}, 1.0f, 2, 0, 2));
    storeGroup(0);
    EXPECT_FALSE(manager.addGroupColor("油画颜色", "新", "", {}, 1.0f, 2, 2));
    EXPECT_EQ(manager.catalogueCount(), 262);
}

TEST_F(ColorStore, ModifyKeepsCodeNameAndOrigin)
{
    ASSERT_TRUE(manager.modifyGroupColor("油画颜色", "柠檬黄", "Lemon", {1, 2, 3}, 0.25f, 0, 2));
    PaintColorRecord record;
    ASSERT_TRUE(manager.findCatalogueColor("100", "柠檬黄", record));
    EXPECT_EQ(record.origin(), 1);
    EXPECT_EQ(record.englishName(), "Lemon");
    EXPECT_EQ(record.strength(), 0.25f);
    const auto stored = groupRecords(0);
    EXPECT_TRUE(std::find(stored.begin(), stored.end(), record) != stored.end());
    EXPECT_FALSE(manager.modifyGroupColor("油画颜色", "没有", "", {}, 1.0f, 2, 2));
    EXPECT_FALSE(manager.modifyGroupColor("丙烯颜色", "钴紫", "", {}, 1.0f, 2, 2)) << "钴紫 is an oil paint";
}

TEST_F(ColorStore, LockedPaintsAreNotModified)
{
    ASSERT_TRUE(manager.addCatalogueColor("9", "锁定", "", {}, 1.0f, 2, 0, PaintColorRecord::kOriginLocked));
    storeGroup(0);
    EXPECT_FALSE(manager.modifyGroupColor("油画颜色", "锁定", "", {5, 5, 5}, 1.0f, 2, 0));
    EXPECT_EQ(messages(), std::vector<std::string>{"系统颜色不能修改!"});
}

TEST_F(ColorStore, DeletingPaints)
{
    EXPECT_FALSE(manager.deleteGroupColor("油画颜色", "柠檬黄"));
    EXPECT_EQ(messages(), std::vector<std::string>{"系统颜色不能删除!"});
    notifier.clear();

    addUserPaint("油画颜色", "用过");
    addUserPaint("油画颜色", "没用");
    ASSERT_TRUE(manager.loadColorBox("我的颜色盒"));
    ASSERT_TRUE(manager.addToCurrentBox("u_10000001", "用过"));
    ASSERT_TRUE(manager.saveCurrentColorBox());
    EXPECT_FALSE(manager.deleteGroupColor("油画颜色", "用过"));
    EXPECT_EQ(messages(), std::vector<std::string>{"色谱颜色在颜色盒中存在，不能删除!"});
    EXPECT_EQ(groupRecords(0).size(), 89u);

    ASSERT_TRUE(manager.deleteGroupColor("油画颜色", "没用"));
    EXPECT_EQ(groupRecords(0).size(), 88u);
    EXPECT_EQ(manager.catalogueCount(), 262);
    EXPECT_FALSE(manager.deleteGroupColor("油画颜色", "没用"));
}

// A group entry whose tag was damaged is still rewritten from the paints of
// its own group, so no paint of the group is lost from the file.
TEST_F(ColorStore, GroupEntryIsRewrittenFromItsOwnGroup)
{
    auto bytes = test::readFileBytes(dir / "QorColorGroup.bin");
    const auto table = groups();
    for (int slot = 0; slot < table.count; ++slot) {
        if (table.entries[static_cast<std::size_t>(slot)].name == "3")
            bytes[test::entryField(kColorGroupTableFormat, slot, 4)] = 0;
    }
    test::writeFileBytes(dir / "QorColorGroup.bin", bytes);
    addUserPaint("油漆颜色", "新漆");
    EXPECT_EQ(groupRecords(3).size(), 26u);
}

TEST_F(ColorStore, AFailedGroupWriteLeavesTheCatalogueAsTheFile)
{
    {
        test::FaultInjection faults;
        faults.failWritesFrom(0);
        EXPECT_FALSE(manager.addGroupColor("油画颜色", "失败", "", {}, 1.0f, 2, 2));
    }
    PaintColorRecord record;
    EXPECT_FALSE(manager.findGroupColor("油画颜色", "失败", record));
    EXPECT_EQ(manager.catalogueCount(), 261);
    addUserPaint("油画颜色", "可以");
    {
        test::FaultInjection faults;
        faults.failWritesFrom(0);
        EXPECT_FALSE(manager.modifyGroupColor("油画颜色", "柠檬黄", "", {0, 0, 0}, 1.0f, 2, 1));
        EXPECT_FALSE(manager.deleteGroupColor("油画颜色", "可以"));
    }
    ASSERT_TRUE(manager.findCatalogueColor("100", "柠檬黄", record));
    EXPECT_EQ(record.color(), (RgbColor{243, 255, 15}));
    EXPECT_TRUE(manager.findGroupColor("油画颜色", "可以", record));
}

TEST(ColorStoreFiles, MissingFilesFailSilently)
{
    test::TempDir dir;
    test::RecordingNotifier notifier;
    CColorManager manager(dir.path(), &notifier);
    manager.buildBuiltInCatalogue();
    std::vector<std::string> names;
    PaintColorRecord record;
    EXPECT_FALSE(manager.loadColorGroups());
    EXPECT_FALSE(manager.addGroupColor("油画颜色", "x", "", {}, 1.0f, 2, 2));
    EXPECT_FALSE(manager.modifyGroupColor("油画颜色", "柠檬黄", "", {}, 1.0f, 2, 2));
    EXPECT_FALSE(manager.deleteGroupColor("油画颜色", "柠檬黄"));
    EXPECT_FALSE(manager.isColorInAnyColorBox(record));
    EXPECT_FALSE(manager.loadColorBox("我的颜色盒"));
    EXPECT_FALSE(manager.listColorBoxes(names));
    EXPECT_FALSE(manager.colorBoxExists("x"));
    EXPECT_FALSE(manager.createColorBox(0, "x"));
    EXPECT_FALSE(manager.deleteColorBox("x"));
    EXPECT_FALSE(manager.renameColorBox("x", "y"));
    EXPECT_TRUE(notifier.messages().empty());
    EXPECT_EQ(manager.currentBoxRecords().size(), 15u) << "the provisional box stays in use";
}

// Files that exist but do not open as their variant: each operation shows
// its own message.
TEST(ColorStoreFiles, OpenFailuresShowTheOperationsMessage)
{
    test::TempDir dir;
    CPalettePanelFile wrong;
    ASSERT_TRUE(wrong.create(dir / "QorColorGroup.bin"));
    ASSERT_TRUE(wrong.create(dir / "QorColorbox.bin"));
    test::RecordingNotifier notifier;
    CColorManager manager(dir.path(), &notifier);
    manager.buildBuiltInCatalogue();
    EXPECT_FALSE(manager.loadColorBox("我的颜色盒"));
    std::vector<std::string> names;
    EXPECT_FALSE(manager.loadColorGroups());
    EXPECT_FALSE(manager.addGroupColor("油画颜色", "x", "", {}, 1.0f, 2, 2));
    EXPECT_FALSE(manager.modifyGroupColor("油画颜色", "柠檬黄", "", {}, 1.0f, 2, 2));
    EXPECT_FALSE(manager.deleteGroupColor("油画颜色", "柠檬黄"));
    EXPECT_FALSE(manager.listColorBoxes(names));
    EXPECT_FALSE(manager.colorBoxExists("x"));
    EXPECT_FALSE(manager.createColorBox(0, "x"));
    EXPECT_FALSE(manager.deleteColorBox("x"));
    EXPECT_FALSE(manager.renameColorBox("x", "y"));
    EXPECT_EQ(
        notifier.texts(),
        (std::vector<std::string>{"打开颜色盒文件失败!", "打开色谱文件失败!", "打开色谱文件失败!", "打开色谱文件失败!",
                                  "打开色谱文件失败!", "取颜色盒表失败!", "打开颜色盒文件失败!", "打开颜色盒文件失败!",
                                  "打开颜色盒文件失败!", "打开颜色盒文件失败!"}));
    for (const auto &message : notifier.messages())
        EXPECT_EQ(message.icon, MessageIcon::Error);
}

TEST(ColorStoreFiles, SavingWithAnUnreadableBoxFileShowsItsMessage)
{
    test::TempDir dir;
    test::writeFileBytes(dir / "QorColorbox.bin", {1, 2, 3});
    test::RecordingNotifier notifier;
    CColorManager manager(dir.path(), &notifier);
    manager.buildBuiltInCatalogue();
    test::TempDir good;
    CColorManager loader(good.path());
    loader.buildBuiltInCatalogue();
    ASSERT_TRUE(loader.createDefaultColorBoxFile());
    std::filesystem::copy_file(good / "QorColorbox.bin", dir / "QorColorbox.bin",
                               std::filesystem::copy_options::overwrite_existing);
    ASSERT_TRUE(manager.loadColorBox("我的颜色盒"));
    test::writeFileBytes(dir / "QorColorbox.bin", {1, 2, 3});
    EXPECT_FALSE(manager.saveCurrentColorBox());
    EXPECT_EQ(notifier.texts(), std::vector<std::string>{"打开颜色盒设置文件失败!"});
}

TEST(ColorStoreFiles, CreationFailuresAreShown)
{
    test::TempDir dir;
    test::RecordingNotifier notifier;
    CColorManager manager(dir / "missing", &notifier);
    manager.buildBuiltInCatalogue();
    EXPECT_FALSE(manager.createDefaultColorGroupFile());
    EXPECT_FALSE(manager.createDefaultColorBoxFile());
    EXPECT_EQ(notifier.texts(), (std::vector<std::string>{"新建色谱文件失败!", "新建颜色盒文件失败!"}));
}

// A default file that could not be written in full is removed again, so the
// next start writes it anew rather than keeping part of the catalogue.
TEST(ColorStoreFiles, HalfWrittenDefaultFilesAreRemoved)
{
    test::TempDir dir;
    test::RecordingNotifier notifier;
    CColorManager manager(dir.path(), &notifier);
    manager.buildBuiltInCatalogue();
    {
        test::FaultInjection faults;
        faults.failWritesFrom(12); // a few groups are written, then the disk is full
        EXPECT_FALSE(manager.createDefaultColorGroupFile());
        faults.failWritesFrom(12);
        EXPECT_FALSE(manager.createDefaultColorBoxFile());
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "QorColorGroup.bin"));
    EXPECT_FALSE(std::filesystem::exists(dir / "QorColorbox.bin"));
    EXPECT_EQ(notifier.texts(), (std::vector<std::string>{"新建色谱文件失败!", "新建颜色盒文件失败!"}));
    EXPECT_TRUE(manager.createDefaultColorGroupFile());
    EXPECT_TRUE(manager.createDefaultColorBoxFile());
}

} // namespace
} // namespace pigmora
