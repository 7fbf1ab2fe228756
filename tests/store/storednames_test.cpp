#include "data/colormanager.h"
#include "store/tablefile.h"

#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pigmora {
namespace {

// Names stored with bytes that are not GBK (a lead byte followed by a space)
// list with U+FFFD and are still found, loaded and deleted by that listing.
constexpr std::string_view kDamagedName = "\x81\x20盒";

class StoredNames : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(manager.buildBuiltInCatalogue());
        ASSERT_TRUE(manager.createDefaultColorGroupFile());
        ASSERT_TRUE(manager.loadColorGroups());
        ASSERT_TRUE(manager.createDefaultColorBoxFile());
        ASSERT_TRUE(manager.createDefaultPaletteFile());
    }

    // The listed form of a name among the listed names that is not one of
    // the defaults: the one holding U+FFFD.
    static std::string listedDamaged(const std::vector<std::string> &names)
    {
        const auto found = std::find_if(names.begin(), names.end(), [](const std::string &n) {
            return n.find("\xEF\xBF\xBD") != std::string::npos;
        });
        return found == names.end() ? std::string() : *found;
    }

    test::TempDir dir;
    test::RecordingNotifier notifier;
    CColorManager manager{dir.path(), &notifier};
};

TEST_F(StoredNames, ColourBoxWithANonGbkNameLoadsAndDeletesByItsListing)
{
    const PaintColorRecord paint = manager.catalogueRecords().front();
    {
        CColorBoxFile file(CColorBoxFile::kColorBoxMode);
        ASSERT_TRUE(file.open(dir.path() / "QorColorbox.bin"));
        ASSERT_TRUE(file.writeEntry(std::string(kDamagedName) + "\x81", 1, paint.bytes(), 3));
    }
    std::vector<std::string> names;
    ASSERT_TRUE(manager.listColorBoxes(names));
    const std::string listed = listedDamaged(names);
    ASSERT_FALSE(listed.empty());

    ASSERT_TRUE(manager.loadColorBox(listed));
    EXPECT_EQ(manager.currentColorBoxName(), listed);
    EXPECT_EQ(manager.currentColorBoxGroup(), 3);
    ASSERT_EQ(manager.currentBoxRecords().size(), 1u);
    EXPECT_EQ(manager.currentBoxRecords().front().code(), paint.code());
    EXPECT_TRUE(manager.colorBoxExists(listed));
    // Saving writes back under the stored bytes, not a new entry.
    ASSERT_TRUE(manager.saveCurrentColorBox());
    ASSERT_TRUE(manager.listColorBoxes(names));
    EXPECT_EQ(names.size(), 12u);

    ASSERT_TRUE(manager.deleteColorBox(listed));
    ASSERT_TRUE(manager.listColorBoxes(names));
    EXPECT_TRUE(listedDamaged(names).empty());
    EXPECT_EQ(names.size(), 11u);
}

TEST_F(StoredNames, PaletteWithANonGbkNameLoadsAndDeletesByItsListing)
{
    PaletteColorRecord colour;
    colour.setColor({1, 2, 3});
    {
        CPalettePanelFile file;
        ASSERT_TRUE(file.open(dir.path() / "QorPalette.bin"));
        ASSERT_TRUE(file.writeEntry(kDamagedName, 1, colour.bytes(), 0));
    }
    std::vector<std::string> names;
    ASSERT_TRUE(manager.listPalettes(names));
    const std::string listed = listedDamaged(names);
    ASSERT_FALSE(listed.empty());
    EXPECT_TRUE(manager.paletteExists(listed));
    std::vector<PaletteColorRecord> loaded;
    ASSERT_TRUE(manager.loadPalette(listed, loaded));
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0].color(), (RgbColor{1, 2, 3}));
    ASSERT_TRUE(manager.renamePalette(listed, "修好的色板"));
    EXPECT_TRUE(manager.paletteExists("修好的色板"));
    ASSERT_TRUE(manager.deletePalette("修好的色板"));
    ASSERT_TRUE(manager.listPalettes(names));
    EXPECT_TRUE(listedDamaged(names).empty());
}

} // namespace
} // namespace pigmora
