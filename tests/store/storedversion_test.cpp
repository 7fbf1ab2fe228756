// Two programs on one folder saving palettes and colour boxes: a save that
// checks the stored version never overwrites the other's change of the same
// palette or box unasked, and never loses its change of another one.
#include "data/colormanager.h"
#include "store/datafolder.h"

#include "faultinjection.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

namespace pigmora {
namespace {

using Outcome = CColorManager::SaveResult::Outcome;

PaletteColorRecord colorAt(int cell, std::uint8_t red)
{
    PaletteColorRecord record;
    record.setCode("c" + std::to_string(cell));
    record.setColor({red, 0, 0});
    record.setCell(static_cast<std::uint8_t>(cell));
    return record;
}

class TwoPrograms : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(DataFolder(dir.path(), nullptr).prepare().isOk());
        for (CColorManager *colors : {&one, &other}) {
            colors->buildBuiltInCatalogue();
            ASSERT_TRUE(colors->loadColorGroups());
        }
    }
    std::vector<PaletteColorRecord> stored(const std::string &palette)
    {
        std::vector<PaletteColorRecord> list;
        EXPECT_TRUE(one.loadPalette(palette, list));
        return list;
    }
    // A palette as a program loads it, with its stored version.
    struct Loaded {
        std::vector<PaletteColorRecord> list;
        CColorManager::StoredVersion version;
    };
    static Loaded load(const CColorManager &colors, const std::string &palette)
    {
        Loaded loaded;
        EXPECT_TRUE(colors.loadPalette(palette, loaded.list, loaded.version));
        return loaded;
    }
    test::TempDir dir;
    CColorManager one{dir.path()};
    CColorManager other{dir.path()};
};

TEST_F(TwoPrograms, APaletteChangedByTheOtherIsNotOverwrittenUnasked)
{
    Loaded mine = load(one, "Morvane色板");
    Loaded theirs = load(other, "Morvane色板");
    EXPECT_TRUE(mine.version.present);
    EXPECT_EQ(mine.version, theirs.version);

    theirs.list.push_back(colorAt(50, 1));
    const auto saved = other.savePaletteIfUnchanged("Morvane色板", theirs.list, theirs.version);
    ASSERT_EQ(saved.outcome, Outcome::Saved) << saved.message;
    EXPECT_NE(saved.version, theirs.version);

    mine.list.push_back(colorAt(60, 2));
    const auto refused = one.savePaletteIfUnchanged("Morvane色板", mine.list, mine.version);
    EXPECT_EQ(refused.outcome, Outcome::ChangedOnDisk);
    EXPECT_EQ(refused.version, saved.version);
    EXPECT_EQ(stored("Morvane色板").size(), theirs.list.size()) << "the other's colour stands";

    // Keep mine: saving again against the version found overwrites on purpose.
    const auto kept = one.savePaletteIfUnchanged("Morvane色板", mine.list, refused.version);
    ASSERT_EQ(kept.outcome, Outcome::Saved);
    EXPECT_EQ(stored("Morvane色板").back().cell(), 60);
}

TEST_F(TwoPrograms, ADeletedOrNewPaletteCountsAsChanged)
{
    const Loaded deleted = load(one, "Morvane色板");
    ASSERT_TRUE(other.deletePalette("Morvane色板"));
    EXPECT_EQ(one.savePaletteIfUnchanged("Morvane色板", deleted.list, deleted.version).outcome, Outcome::ChangedOnDisk);

    const Loaded fresh = load(one, "新色板");
    EXPECT_FALSE(fresh.version.present);
    ASSERT_TRUE(other.createPalette("新色板"));
    EXPECT_EQ(one.savePaletteIfUnchanged("新色板", {colorAt(1, 1)}, fresh.version).outcome, Outcome::ChangedOnDisk);
}

// Each saves its own palette from the file as it is now: both changes stand.
TEST_F(TwoPrograms, ChangesOfOtherPalettesAndBoxesStand)
{
    Loaded a = load(one, "Morvane色板");
    Loaded b = load(other, "Tarlowe色板");
    a.list.push_back(colorAt(70, 3));
    b.list.push_back(colorAt(71, 4));
    ASSERT_EQ(other.savePaletteIfUnchanged("Tarlowe色板", b.list, b.version).outcome, Outcome::Saved);
    ASSERT_EQ(one.savePaletteIfUnchanged("Morvane色板", a.list, a.version).outcome, Outcome::Saved);
    EXPECT_EQ(stored("Morvane色板").back().cell(), 70);
    EXPECT_EQ(stored("Tarlowe色板").back().cell(), 71);

    ASSERT_TRUE(one.loadColorBox("我的颜色盒"));
    ASSERT_TRUE(other.loadColorBox("标准颜色盒"));
    const auto myBox = one.currentColorBoxVersion();
    const auto count = one.currentBoxRecords().size();
    other.clearCurrentBox();
    ASSERT_EQ(other.saveCurrentColorBoxIfUnchanged(other.currentColorBoxVersion()).outcome, Outcome::Saved);
    one.clearCurrentBox();
    ASSERT_EQ(one.saveCurrentColorBoxIfUnchanged(myBox).outcome, Outcome::Saved);
    EXPECT_TRUE(one.loadColorBox("标准颜色盒"));
    EXPECT_TRUE(one.currentBoxRecords().empty()) << "the other's emptied box stands";
    EXPECT_GT(count, 0u);
}

// The set-up dialog of one program must not bring back a paint the other
// removed from the same box.
TEST_F(TwoPrograms, ABoxChangedByTheOtherIsNotOverwrittenUnasked)
{
    ASSERT_TRUE(one.loadColorBox("我的颜色盒"));
    ASSERT_TRUE(other.loadColorBox("我的颜色盒"));
    const PaintColorRecord removed = other.currentBoxRecords().front();
    other.clearCurrentBox();
    for (const PaintColorRecord &paint : one.currentBoxRecords().subspan(1))
        ASSERT_TRUE(other.addToCurrentBox(test::utf8(paint.code()), test::utf8(paint.name())));
    ASSERT_EQ(other.saveCurrentColorBoxIfUnchanged(other.currentColorBoxVersion()).outcome, Outcome::Saved);

    const auto refused = one.saveCurrentColorBoxIfUnchanged(one.currentColorBoxVersion());
    EXPECT_EQ(refused.outcome, Outcome::ChangedOnDisk);
    CColorManager reader(dir.path());
    reader.buildBuiltInCatalogue();
    ASSERT_TRUE(reader.loadColorGroups() && reader.loadColorBox("我的颜色盒"));
    EXPECT_FALSE(reader.isInCurrentBox(test::utf8(removed.code()), test::utf8(removed.name())));
}

// A save on a full disk says why.
TEST_F(TwoPrograms, AFailedSaveNamesItsReason)
{
    Loaded loaded = load(one, "Morvane色板");
    loaded.list.push_back(colorAt(80, 5));
    test::FaultInjection faults;
    faults.failStepsFrom(0);
    const auto failed = one.savePaletteIfUnchanged("Morvane色板", loaded.list, loaded.version);
    EXPECT_EQ(failed.outcome, Outcome::Failed);
    EXPECT_NE(failed.message.find("the disk is full"), std::string::npos) << failed.message;
}

} // namespace
} // namespace pigmora
