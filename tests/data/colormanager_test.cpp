#include "data/colormanager.h"

#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <array>
#include <set>

namespace pigmora {
namespace {

using test::utf8;

class BuiltInCatalogue : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(manager.buildBuiltInCatalogue()); }
    CColorManager manager{"/nonexistent"};
};

TEST_F(BuiltInCatalogue, Holds261PaintsInCodeOrderWithGroupCounts)
{
    ASSERT_EQ(manager.catalogueCount(), 261);
    std::array<int, 6> perGroup{};
    PaintColorRecord previous;
    for (int i = 0; i < manager.catalogueCount(); ++i) {
        PaintColorRecord r;
        ASSERT_TRUE(manager.catalogueColorAt(i, r));
        ASSERT_LT(r.group(), 6);
        ++perGroup[r.group()];
        EXPECT_EQ(r.origin(), 1);
        EXPECT_EQ(r.boxFlag(), 0);
        EXPECT_EQ(r.usedFlag(), 0);
        if (i > 0) {
            EXPECT_LT(comparePaintColorRecords(&previous, &r), 0);
        }
        previous = r;
    }
    EXPECT_EQ(perGroup, (std::array<int, 6>{87, 59, 14, 25, 53, 23}));
    PaintColorRecord outOfRange;
    EXPECT_FALSE(manager.catalogueColorAt(261, outOfRange));
    EXPECT_FALSE(manager.catalogueColorAt(-1, outOfRange));
}

TEST_F(BuiltInCatalogue, RecordsCarryTheListedValues)
{
    struct Expected {
        const char *code;
        const char *name;
        const char *english;
        RgbColor color;
        float strength;
        int mixingClass;
        int group;
    };
    const Expected rows[] = {
        {"100", "柠檬黄", "Lemon Yellow", {243, 255, 15}, 0.8f, 2, 0},
        {"450", "维罗纳绿", "Veronese Green Shade", {1, 170, 129}, 1.0f, 0, 0},
        {"1012", "金土黄", "Gold Ochre", {240, 136, 73}, 0.6f, 2, 0},
        {"2425", "", "", {}, 0, 0, 0}, // no such paint
        {"2140", "橘红", "Orange Red", {245, 153, 38}, 1.0f, 1, 1},
        {"3001", "銀朱", "", {191, 36, 42}, 0.6f, 2, 2},
        {"4025", "银灰", "Gray", {196, 200, 209}, 1.0f, 2, 3},
        {"5100", "柠檬黄", "Lemon Yellow", {252, 244, 111}, 1.0f, 2, 4},
        {"5105", "牙黄", "", {254, 240, 211}, 1.0f, 2, 4},
        {"6793", "黑色", "", {6, 6, 4}, 1.0f, 2, 5},
    };
    for (const Expected &e : rows) {
        SCOPED_TRACE(e.code);
        PaintColorRecord r;
        const bool found = manager.findCatalogueColor(e.code, e.name, r);
        if (std::string_view(e.name).empty()) {
            EXPECT_FALSE(found);
            EXPECT_EQ(r, PaintColorRecord()); // zero-filled when absent
            continue;
        }
        ASSERT_TRUE(found);
        EXPECT_EQ(utf8(r.englishName()), e.english);
        EXPECT_EQ(r.color(), e.color);
        EXPECT_EQ(r.strength(), e.strength);
        EXPECT_EQ(r.mixingClass(), e.mixingClass);
        EXPECT_EQ(r.group(), e.group);
    }
    // "Permanent Green Light" is 21 bytes and keeps 20.
    PaintColorRecord r;
    ASSERT_TRUE(manager.findCatalogueColor("425", "永固浅绿", r));
    EXPECT_EQ(r.englishName(), "Permanent Green Ligh");
}

TEST_F(BuiltInCatalogue, ProvisionalBoxHolds15Paints)
{
    const auto box = manager.currentBoxRecords();
    ASSERT_EQ(box.size(), 15u);
    std::set<std::string> codes;
    for (const PaintColorRecord &r : box) {
        EXPECT_EQ(r.boxFlag(), 1);
        codes.insert(std::string(r.code()));
    }
    EXPECT_EQ(codes.count("330"), 0u);
    EXPECT_EQ(codes.count("620"), 0u);
    EXPECT_EQ(std::string(box.front().code()), "100");
    EXPECT_EQ(std::string(box.back().code()), "710");
    EXPECT_TRUE(manager.isInCurrentBox("340", "群青"));
    EXPECT_FALSE(manager.isInCurrentBox("340", "群青X"));
}

TEST_F(BuiltInCatalogue, BuildingTwiceGivesTheSameResult)
{
    const std::vector<PaintColorRecord> catalogue(manager.catalogueRecords().begin(), manager.catalogueRecords().end());
    const std::vector<PaintColorRecord> box(manager.currentBoxRecords().begin(), manager.currentBoxRecords().end());
    ASSERT_TRUE(manager.buildBuiltInCatalogue());
    EXPECT_TRUE(std::equal(catalogue.begin(), catalogue.end(), manager.catalogueRecords().begin(),
                           manager.catalogueRecords().end()));
    EXPECT_TRUE(
        std::equal(box.begin(), box.end(), manager.currentBoxRecords().begin(), manager.currentBoxRecords().end()));
}

TEST_F(BuiltInCatalogue, AddRefusesAnExistingPaintAndKeepsItsColour)
{
    EXPECT_FALSE(manager.addCatalogueColor("100", "柠檬黄", "", {1, 2, 3}, 1.0f, 2, 0, 2));
    PaintColorRecord r;
    ASSERT_TRUE(manager.findCatalogueColor("100", "柠檬黄", r));
    EXPECT_EQ(r.color(), (RgbColor{243, 255, 15}));
    // Same name, other code: a different paint.
    EXPECT_TRUE(manager.findCatalogueColor("2100", "柠檬黄", r));
    EXPECT_TRUE(manager.addCatalogueColor("u_10000001", "柠檬黄", "", {1, 2, 3}, 1.0f, 2, 0, 2));
    EXPECT_EQ(manager.catalogueCount(), 262);
    // Text GBK cannot hold is refused, not mangled.
    EXPECT_FALSE(manager.addCatalogueColor("u_1", "\xF0\x9F\x8E\xA8", "", {}, 1.0f, 2, 0, 2));
}

TEST_F(BuiltInCatalogue, ModifyKeepsIdentityOriginAndPosition)
{
    PaintColorRecord before;
    ASSERT_TRUE(manager.catalogueColorAt(10, before));
    const std::string code(before.code());
    const std::string name = utf8(before.name());
    ASSERT_TRUE(manager.modifyCatalogueColor(code, name, "New", {9, 8, 7}, 0.5f, 1, 3));
    PaintColorRecord after;
    ASSERT_TRUE(manager.catalogueColorAt(10, after));
    EXPECT_EQ(after.code(), before.code());
    EXPECT_EQ(after.name(), before.name());
    EXPECT_EQ(after.origin(), 1);
    EXPECT_EQ(after.englishName(), "New");
    EXPECT_EQ(after.color(), (RgbColor{9, 8, 7}));
    EXPECT_EQ(after.strength(), 0.5f);
    EXPECT_EQ(after.group(), 3);
    EXPECT_FALSE(manager.modifyCatalogueColor("999", "无", "", {}, 1.0f, 0, 0));
}

TEST_F(BuiltInCatalogue, BoxCopiesAreIndependentOfTheCatalogue)
{
    ASSERT_TRUE(manager.modifyCatalogueColor("100", "柠檬黄", "", {0, 0, 0}, 1.0f, 2, 0));
    EXPECT_EQ(manager.currentBoxRecords().front().color(), (RgbColor{243, 255, 15}));
    EXPECT_TRUE(manager.deleteCatalogueColor("100", "柠檬黄"));
    EXPECT_FALSE(manager.deleteCatalogueColor("100", "柠檬黄"));
    EXPECT_TRUE(manager.isInCurrentBox("100", "柠檬黄"));
    EXPECT_EQ(manager.catalogueCount(), 260);
}

TEST_F(BuiltInCatalogue, AddToBoxRefusesDuplicatesAndUnknownPaints)
{
    EXPECT_FALSE(manager.addToCurrentBox("100", "柠檬黄"));
    EXPECT_FALSE(manager.addToCurrentBox("330", "酞青蓝"));
    EXPECT_TRUE(manager.addToCurrentBox("2100", "柠檬黄"));
    EXPECT_EQ(manager.currentBoxRecords().size(), 16u);
    manager.clearCurrentBox();
    EXPECT_TRUE(manager.currentBoxRecords().empty());
    manager.clearCatalogue();
    EXPECT_EQ(manager.catalogueCount(), 0);
}

TEST(ColorManager, WithoutArraysEverythingFailsQuietly)
{
    CColorManager manager("/nonexistent");
    PaintColorRecord r;
    EXPECT_FALSE(manager.hasArrays());
    EXPECT_EQ(manager.catalogueCount(), 0);
    EXPECT_FALSE(manager.catalogueColorAt(0, r));
    EXPECT_FALSE(manager.addCatalogueColor("1", "a", "", {}, 1.0f, 0, 0, 1));
    EXPECT_FALSE(manager.addToCurrentBox("1", "a"));
    EXPECT_FALSE(manager.isInCurrentBox("1", "a"));
    EXPECT_TRUE(manager.currentBoxRecords().empty());
    manager.clearCatalogue();
    manager.clearCurrentBox();
    EXPECT_TRUE(manager.releaseArrays());
}

TEST(ColorGroups, NamesAndIndexes)
{
    EXPECT_EQ(colorGroupNameOf(0), "油画颜色");
    EXPECT_EQ(colorGroupNameOf(5), "纺织颜色");
    EXPECT_EQ(colorGroupNameOf(6), "");
    EXPECT_EQ(colorGroupNameOf(-1), "");
    EXPECT_EQ(colorGroupIndexOf("中国画颜色"), 2);
    EXPECT_EQ(colorGroupIndexOf("油画"), -1);
}

} // namespace
} // namespace pigmora
