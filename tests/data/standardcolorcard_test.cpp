#include "data/standardcolorcard.h"

#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace pigmora {
namespace {

using Card = CStandardColorCard::Card;

class StandardCards : public ::testing::Test
{
protected:
    static const CStandardColorCard &cards()
    {
        static const CStandardColorCard instance;
        return instance;
    }

    static std::optional<StandardColorRecord> entry(Card card, std::string_view code)
    {
        for (const StandardColorRecord &r : cards().entries(card)) {
            if (r.code() == code)
                return r;
        }
        return std::nullopt;
    }
};

TEST_F(StandardCards, CountsAndCodeOrder)
{
    EXPECT_EQ(cards().count(Card::PantoneCoated), 1204);
    EXPECT_EQ(cards().count(Card::Ral), 194);
    EXPECT_EQ(cards().count(Card::BuildingColors), 1026);

    const auto pantone = cards().entries(Card::PantoneCoated);
    EXPECT_EQ(pantone.front().code(), "100C");
    EXPECT_EQ(pantone.back().code(), "Yellow 012C");
    const auto ral = cards().entries(Card::Ral);
    EXPECT_EQ(ral.front().code(), "RAL 1000");
    EXPECT_EQ(ral.back().code(), "RAL 9018");
    const auto building = cards().entries(Card::BuildingColors);
    EXPECT_EQ(building.front().code(), "0011");
    EXPECT_EQ(building.back().code(), "1716");
    for (Card card : {Card::PantoneCoated, Card::Ral, Card::BuildingColors}) {
        const auto all = cards().entries(card);
        for (std::size_t i = 1; i < all.size(); ++i)
            EXPECT_LT(compareStandardColorRecords(&all[i - 1], &all[i]), 0);
    }
}

TEST_F(StandardCards, DefinedRows)
{
    struct Row {
        Card card;
        const char *code;
        const char *name;
        const char *english;
        RgbColor color;
    };
    const Row rows[] = {
        {Card::PantoneCoated, "Yellow", "黄色", "", {247, 224, 23}},
        {Card::PantoneCoated, "Process Blue", "四色蓝", "", {0, 140, 204}},
        {Card::PantoneCoated, "Black", "黑", "", {23, 23, 50}},
        {Card::PantoneCoated, "Warm Red", "暖红", "", {249, 66, 58}},
        {Card::PantoneCoated, "100C", "", "", {242, 237, 130}},
        {Card::PantoneCoated, "101C", "", "", {245, 237, 89}},
        {Card::PantoneCoated, "9603C", "", "", {224, 223, 197}},
        {Card::Ral, "RAL 1000", "", "Green beige", {214, 199, 148}},
        {Card::Ral, "RAL 1001", "", "Beige", {217, 186, 140}},
        {Card::Ral, "RAL 9018", "", "Papyrus white", {219, 227, 222}},
        {Card::Ral, "RAL 2007", "", "Luminous bright oran", {255, 117, 33}}, // cut to 20 bytes
        {Card::BuildingColors, "0011", "", "", {239, 235, 213}},
        {Card::BuildingColors, "0012", "", "", {240, 233, 197}},
        {Card::BuildingColors, "1716", "", "", {61, 61, 62}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.code);
        const auto r = entry(row.card, row.code);
        ASSERT_TRUE(r);
        EXPECT_EQ(test::utf8(r->name()), row.name);
        EXPECT_EQ(test::utf8(r->englishName()), row.english);
        EXPECT_EQ(r->color(), row.color);
        EXPECT_EQ(r->displayText(), row.code);
    }
}

TEST_F(StandardCards, UnknownBuildingColoursAreListedButNeverMatched)
{
    const auto unknown = entry(Card::BuildingColors, "0013");
    ASSERT_TRUE(unknown);
    EXPECT_FALSE(unknown->hasColor());
    int known = 0;
    for (const StandardColorRecord &r : cards().entries(Card::BuildingColors))
        known += r.hasColor() ? 1 : 0;
    EXPECT_EQ(known, 3);
    // Black is far from all three known entries; an unknown entry is not black.
    const auto nearest = cards().findNearestColor(Card::BuildingColors, {0, 0, 0});
    ASSERT_TRUE(nearest);
    EXPECT_EQ(nearest->code(), "1716");
    const auto light = cards().findNearestColor(Card::BuildingColors, {240, 233, 200});
    ASSERT_TRUE(light);
    EXPECT_EQ(light->code(), "0012");
}

TEST_F(StandardCards, NearestEntryRules)
{
    // Exact hits, including the shared colour of 9602C and 9603C: the first in
    // code order wins.
    auto hit = cards().findNearestColor(Card::PantoneCoated, {224, 223, 197});
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->code(), "9602C");
    hit = cards().findNearestColor(Card::PantoneCoated, {0, 140, 204});
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->displayText(), "Process Blue");
    hit = cards().findNearestColor(Card::Ral, {214, 199, 148});
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->code(), "RAL 1000");
}

TEST(StandardCardTies, EquidistantEntriesKeepTheFirstInCodeOrder)
{
    CStandardColorCard cards;
    // Added in reverse order; the array order decides, not the order of adding.
    ASSERT_TRUE(cards.addColor(Card::Ral, "AAA 2", "", "", {10, 0, 0}));
    ASSERT_TRUE(cards.addColor(Card::Ral, "AAA 1", "", "", {0, 10, 0}));
    EXPECT_FALSE(cards.addColor(Card::Ral, "AAA 1", "", "", {1, 1, 1})); // same code and name
    EXPECT_EQ(cards.count(Card::Ral), 196);
    EXPECT_EQ(cards.entries(Card::Ral).front().color(), (RgbColor{0, 10, 0}));
    const auto nearest = cards.findNearestColor(Card::Ral, {5, 5, 0}); // 50 from both
    ASSERT_TRUE(nearest);
    EXPECT_EQ(nearest->code(), "AAA 1");
}

// The generated tables hold exactly what data/cards/ holds.
std::vector<std::vector<std::string>> readCsv(const std::string &name)
{
    std::ifstream in(std::string(PIGMORA_SOURCE_DIR) + "/data/cards/" + name);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    std::getline(in, line); // header
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream stream(line);
        std::string field;
        while (std::getline(stream, field, ','))
            fields.push_back(field);
        if (!line.empty() && line.back() == ',')
            fields.emplace_back();
        rows.push_back(fields);
    }
    return rows;
}

TEST_F(StandardCards, TablesMatchTheCardFiles)
{
    const auto pantone = readCsv("pantone_coated.csv");
    ASSERT_EQ(pantone.size(), 1204u);
    for (const auto &row : pantone) {
        const auto r = entry(Card::PantoneCoated, row[0]);
        ASSERT_TRUE(r) << row[0];
        EXPECT_EQ(test::utf8(r->name()), row[1]);
        EXPECT_EQ(r->color(), (RgbColor{std::stoi(row[3]), std::stoi(row[4]), std::stoi(row[5])})) << row[0];
    }
    const auto ral = readCsv("ral_classic.csv");
    ASSERT_EQ(ral.size(), 194u);
    for (const auto &row : ral) {
        const auto r = entry(Card::Ral, row[0]);
        ASSERT_TRUE(r) << row[0];
        EXPECT_EQ(r->color(), (RgbColor{std::stoi(row[2]), std::stoi(row[3]), std::stoi(row[4])})) << row[0];
    }
    const auto building = readCsv("building_colors.csv");
    ASSERT_EQ(building.size(), 1026u);
    for (const auto &row : building) {
        const auto r = entry(Card::BuildingColors, row[0]);
        ASSERT_TRUE(r) << row[0];
        EXPECT_EQ(r->hasColor(), !row[1].empty()) << row[0];
    }
}

} // namespace
} // namespace pigmora
