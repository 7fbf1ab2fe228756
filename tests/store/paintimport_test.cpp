#include "data/colormanager.h"
#include "store/paintimport.h"

#include "faultinjection.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

namespace pigmora {
namespace {

using namespace std::string_literals;

struct RowCase {
    CsvRow fields;
    PaintRowProblem problem;
    std::string name; // as shown in messages
};

class PaintListRows : public ::testing::TestWithParam<RowCase>
{ };

TEST_P(PaintListRows, AreRefusedForTheirFirstProblem)
{
    const RowCase c = GetParam();
    const PaintListRow row = checkPaintListRow(c.fields, 7);
    EXPECT_EQ(row.problem, c.problem) << row.refusal;
    EXPECT_EQ(row.accepted(), row.refusal.empty());
    EXPECT_EQ(row.line, 7);
    EXPECT_EQ(row.name, c.name);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, PaintListRows,
    ::testing::Values(RowCase{{"镉黄", "0", "128", "255"}, PaintRowProblem::None, "镉黄"},
                      RowCase{{"\t镉黄 \r", "0", "128", "255"}, PaintRowProblem::None, "镉黄"}, // ends trimmed
                      RowCase{{"镉黄", "0", "128"}, PaintRowProblem::FieldCount, ""},
                      RowCase{{}, PaintRowProblem::FieldCount, ""},
                      RowCase{{"镉黄", "256", "0", "0"}, PaintRowProblem::Channel, "镉黄"},
                      RowCase{{"镉黄", "-0", "0", "0"}, PaintRowProblem::Channel, "镉黄"},
                      RowCase{{"镉黄", " 1", "0", "0"}, PaintRowProblem::Channel, "镉黄"},
                      RowCase{{"镉黄", "1.5", "0", "0"}, PaintRowProblem::Channel, "镉黄"},
                      RowCase{{"镉黄", "", "0", "0"}, PaintRowProblem::Channel, "镉黄"},
                      RowCase{{" \t", "1", "2", "3"}, PaintRowProblem::EmptyName, ""},
                      RowCase{{"", "x", "2", "3"}, PaintRowProblem::Channel, ""}, // numbers first
                      RowCase{{"ab\0cd"s, "1", "2", "3"}, PaintRowProblem::ControlCharacter, "ab..."},
                      RowCase{{"x\ny", "1", "2", "3"}, PaintRowProblem::ControlCharacter, "x..."},
                      RowCase{{"绿\x7f", "1", "2", "3"}, PaintRowProblem::ControlCharacter, "绿..."},
                      RowCase{{"色😀", "1", "2", "3"}, PaintRowProblem::NotStorable, "色😀"}));

TEST(PaintListRow, NamesTheControlCharacterAndTheStoredName)
{
    EXPECT_EQ(checkPaintListRow({"a\x1f"
                                 "b",
                                 "1", "2", "3"})
                  .refusal,
              "the name holds a control character (U+001F)");
    const PaintListRow cut = checkPaintListRow({"一二三四五六七八九十十一", "1", "2", "3"});
    EXPECT_TRUE(cut.cut);
    EXPECT_EQ(cut.storedName, "一二三四五六七八九十"); // 20 bytes at a whole character
    EXPECT_EQ(cut.color, (RgbColor{1, 2, 3}));
    EXPECT_FALSE(checkPaintListRow({"镉黄", "1", "2", "3"}).cut);
}

class PaintListImport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(colors.buildBuiltInCatalogue());
        ASSERT_TRUE(colors.createDefaultColorGroupFile());
        ASSERT_TRUE(colors.loadColorGroups());
    }

    std::vector<PaintListRow> check(std::string_view csv)
    {
        const auto table = parseCsv(csv);
        EXPECT_TRUE(table) << table.message();
        auto rows = checkPaintList(*table, colors, kOil);
        EXPECT_TRUE(rows) << rows.message();
        return rows ? *rows : std::vector<PaintListRow>{};
    }

    static constexpr std::string_view kOil = "油画颜色";
    test::TempDir dir;
    test::RecordingNotifier notifier;
    CColorManager colors{dir.path(), &notifier};
};

// Names are compared as stored: in the group and earlier in the file, cut
// to the field.
TEST_F(PaintListImport, RefusesNamesTakenInTheGroupOrEarlierInTheFile)
{
    const auto rows = check("name,r,g,b\n大红,1,2,3\n一二三四五六七八九十十一,1,2,3\n一二三四五六七八九十乙,1,2,3\n"
                            "新绿,0,200,0\n 新绿 ,1,1,1\n坏,1\n");
    std::vector<std::pair<int, PaintRowProblem>> got;
    for (const PaintListRow &row : rows)
        got.emplace_back(row.line, row.problem);
    EXPECT_EQ(got,
              (std::vector<std::pair<int, PaintRowProblem>>{{2, PaintRowProblem::Duplicate},
                                                            {3, PaintRowProblem::None},
                                                            {4, PaintRowProblem::Duplicate},
                                                            {5, PaintRowProblem::None},
                                                            {6, PaintRowProblem::Duplicate},
                                                            {7, PaintRowProblem::FieldCount}}));
    EXPECT_EQ(rows[0].refusal, "色谱中同名颜色存在!");

    const auto table = parseCsv("name,r,g,b\n");
    EXPECT_FALSE(checkPaintList(*table, colors, "没有的色谱"));
}

TEST_F(PaintListImport, AddsTheAcceptedRowsInOneChangeOrNone)
{
    const auto rows = check("name,r,g,b\n 镉黄深 ,250,180,0\n大红,1,2,3\n新绿,0,200,0\n");
    {
        test::FaultInjection faults;
        faults.failWritesFrom(0);
        EXPECT_FALSE(addPaintListRows(colors, kOil, rows));
    }
    PaintColorRecord paint;
    EXPECT_FALSE(colors.findGroupColor(kOil, "镉黄深", paint));
    EXPECT_FALSE(colors.findGroupColor(kOil, "新绿", paint));

    std::vector<std::string> codes;
    ASSERT_TRUE(addPaintListRows(colors, kOil, rows, &codes));
    EXPECT_EQ(codes, (std::vector<std::string>{"u_10000001", "u_10000002"}));
    ASSERT_TRUE(colors.findGroupColor(kOil, "镉黄深", paint));
    EXPECT_EQ(paint.origin(), PaintColorRecord::kOriginUser);
    EXPECT_EQ(paint.color(), (RgbColor{250, 180, 0}));
    EXPECT_TRUE(colors.findGroupColor(kOil, "新绿", paint));
}

} // namespace
} // namespace pigmora
