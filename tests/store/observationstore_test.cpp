#include "store/observationstore.h"

#include "engine/colordifference.h"
#include "engine/pigmentmix.h"
#include "store/datafolder.h"
#include "store/safefile.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <sys/stat.h>

namespace pigmora::test {
namespace {

Observation sample(int red, double parts = 2.0)
{
    return {{red, 100, 50},
            {{"340", "群青", 0, {61, 41, 156}, parts}, {"710", "钛白", 0, {255, 255, 255}, 1.0}},
            1700000000 + red};
}

TEST(ObservationStore, KeepsObservationsInOrderWithABackup)
{
    TempDir dir;
    const ObservationStore store(dir.path());
    ASSERT_TRUE(store.load().isOk());
    EXPECT_TRUE(store.load()->empty());
    EXPECT_FALSE(safefile::pathExists(store.path())); // reading creates nothing
    Observation three = sample(3);
    three.paints.push_back({"u_10000001", "自定义颜色1", 5, {1, 2, 3}, 0.25});
    for (const Observation &o : {sample(1), sample(2, 0.5), three})
        ASSERT_TRUE(store.add(o).isOk());
    ASSERT_TRUE(store.remove(2).isOk());
    const auto loaded = store.load();
    ASSERT_TRUE(loaded.isOk()) << loaded.message();
    ASSERT_EQ(loaded->size(), 2u);
    EXPECT_EQ((*loaded)[0].measured, (RgbColor{1, 100, 50}));
    EXPECT_EQ((*loaded)[0].time, 1700000001);
    ASSERT_EQ((*loaded)[1].paints.size(), 3u);
    const ObservedPaint &third = (*loaded)[1].paints[2];
    EXPECT_EQ(third.code, "u_10000001");
    EXPECT_EQ(third.name, "自定义颜色1");
    EXPECT_EQ(third.group, 5);
    EXPECT_EQ(third.color, (RgbColor{1, 2, 3}));
    EXPECT_EQ(third.parts, 0.25);
    EXPECT_TRUE(safefile::pathExists(safefile::backupPath(store.path())));
    EXPECT_FALSE(store.remove(3).isOk());
    EXPECT_FALSE(store.remove(0).isOk());
}

TEST(ObservationStore, RefusesObservationsItCannotKeep)
{
    TempDir dir;
    const ObservationStore store(dir.path());
    Observation one = sample(1);
    one.paints.pop_back();
    Observation zero = sample(1, 0.0);
    Observation nan = sample(1, std::nan(""));
    Observation longCode = sample(1);
    longCode.paints[0].code = std::string(21, 'x');
    Observation control = sample(1);
    control.paints[0].name = "a\nb";
    Observation badColour = sample(300);
    for (const Observation &o : {one, zero, nan, longCode, control, badColour})
        EXPECT_FALSE(store.add(o).isOk());
    EXPECT_FALSE(safefile::pathExists(store.path()));
}

// Damage in a record: the file is refused with the observation named, and
// neither an add nor a remove writes to it; restoring puts the backup back.
struct Damage {
    const char *name;
    std::size_t offset; // into the first record
    std::vector<unsigned char> bytes;
    const char *reason;
};

class DamagedObservations : public ::testing::TestWithParam<Damage>
{ };

TEST_P(DamagedObservations, AreRefusedAndNeverWritten)
{
    TempDir dir;
    const ObservationStore store(dir.path());
    ASSERT_TRUE(store.add(sample(1)).isOk());
    ASSERT_TRUE(store.add(sample(2)).isOk());
    auto bytes = readFileBytes(store.path());
    // The data area ends with the two records.
    const std::size_t record = bytes.size() - 2 * kObservationRecordSize;
    for (std::size_t k = 0; k < GetParam().bytes.size(); ++k)
        bytes[record + GetParam().offset + k] = GetParam().bytes[k];
    writeFileBytes(store.path(), bytes);
    const auto loaded = store.load();
    ASSERT_FALSE(loaded.isOk());
    EXPECT_NE(loaded.message().find(GetParam().reason), std::string::npos) << loaded.message();
    EXPECT_FALSE(store.add(sample(3)).isOk());
    EXPECT_FALSE(store.remove(1).isOk());
    EXPECT_EQ(readFileBytes(store.path()), bytes);
    EXPECT_FALSE(ObservationStore::check(store.path()).isOk());
    ASSERT_TRUE(DataFolder::restoreFromBackup(store.path()).isOk());
    ASSERT_TRUE(store.load().isOk());
    EXPECT_EQ(store.load()->size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Records, DamagedObservations,
    ::testing::Values(Damage{"MeasuredOutOfRange", 8, {0x00, 0x01, 0x00, 0x00}, "observation 1 is damaged"},
                      Damage{"NegativeParts", 20 + 55 + 7, {0xBF}, "parts"},
                      Damage{"NoCode", 20, {0x00, 0x00, 0x00}, "observation 1"},
                      Damage{"OnePaint", 20 + 63, std::vector<unsigned char>(63, 0), "fewer than two"},
                      Damage{"GapBeforeAPaint", 20, std::vector<unsigned char>(63, 0), "observation 1"}),
    [](const ::testing::TestParamInfo<Damage> &param) { return param.param.name; });

TEST(ObservationStore, ReadOnlyFolderReadsButRefusesChanges)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    TempDir dir;
    const ObservationStore store(dir.path());
    ASSERT_TRUE(store.add(sample(1)).isOk());
    const auto before = readFileBytes(store.path());
    ::chmod(dir.path().c_str(), 0555);
    EXPECT_TRUE(store.load().isOk());
    EXPECT_FALSE(store.add(sample(2)).isOk());
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(readFileBytes(store.path()), before);
}

// Several at once: all or none, and none once the file is not what the
// caller listed (another program recorded or forgot a mix in between).
TEST(ObservationStore, RemovesSeveralOnlyFromTheListTheCallerSaw)
{
    TempDir dir;
    const ObservationStore store(dir.path());
    for (int red : {1, 2, 3, 4})
        ASSERT_TRUE(store.add(sample(red)).isOk());
    const std::vector<Observation> listed = *store.load();
    std::vector<Observation> stale = listed;
    stale.pop_back();
    const struct {
        std::vector<int> numbers;
        std::span<const Observation> seen;
        const char *refusal; // empty: removed
    } cases[] = {
        {{4, 1}, stale, "changed by another program"},
        {{1, 5}, listed, "there is no observation 5 (the file holds 4)"},
        {{0}, {}, "there is no observation 0"},
        {{4, 1, 4}, listed, ""},
    };
    for (const auto &c : cases) {
        const auto before = readFileBytes(store.path());
        const Status removed = store.remove(c.numbers, c.seen);
        if (*c.refusal) {
            EXPECT_NE(removed.message().find(c.refusal), std::string::npos) << removed.message();
            EXPECT_EQ(readFileBytes(store.path()), before);
        } else {
            EXPECT_TRUE(removed.isOk()) << removed.message();
        }
    }
    EXPECT_EQ(*store.load(), (std::vector<Observation>{listed[1], listed[2]}));
}

TEST(StoredStrengths, DifferenceOfAMixIsTheModelsMissWithTheLearntStrengths)
{
    const Observation mix = sample(40);
    const double unfitted = StoredStrengths().differenceOf(mix);
    const RgbColor colors[] = {mix.paints[0].color, mix.paints[1].color};
    const double parts[] = {2.0, 1.0};
    EXPECT_EQ(unfitted, deltaE00(labOf(mix.measured), mixPigments(colors, parts).lab));
    const std::vector<Observation> one{mix};
    EXPECT_LT(StoredStrengths::fit(one).differenceOf(mix), unfitted) << "fitted to it";
    EXPECT_TRUE(observationUses(mix, 0, "710"));
    EXPECT_FALSE(observationUses(mix, 1, "710"));
}

TEST(StoredStrengths, PerPaintOfAGroupAndForABox)
{
    std::vector<Observation> observations{sample(1), sample(2)};
    observations[1].paints[0].group = 1; // the acrylic 340: another paint
    const StoredStrengths strengths = StoredStrengths::fit(observations);
    ASSERT_EQ(strengths.paints().size(), 3u);
    EXPECT_EQ(strengths.of(0, "710")->observations, 2);
    EXPECT_EQ(strengths.of(1, "340")->observations, 1);
    EXPECT_FALSE(strengths.of(2, "340"));
    PaintColorRecord known;
    known.setCode("710");
    PaintColorRecord unknown;
    unknown.setCode("999");
    const std::vector<PaintColorRecord> box{known, unknown};
    const auto forBox = strengths.forBox(box);
    ASSERT_EQ(forBox.size(), 2u);
    EXPECT_EQ(forBox[0], strengths.of(0, "710")->strength);
    EXPECT_EQ(forBox[1], 1.0);
    EXPECT_TRUE(strengths.forBox(std::vector<PaintColorRecord>{unknown}).empty());
}

} // namespace
} // namespace pigmora::test
