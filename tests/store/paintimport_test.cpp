#include "data/colormanager.h"
#include "store/paintimport.h"

#include "faultinjection.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

namespace pigmora {
namespace {

struct RowCase {
    std::vector<std::string> fields;
    PaintRowProblem problem;
};

class PaintListRows : public ::testing::TestWithParam<RowCase>
{ };

TEST_P(PaintListRows, AreRefusedForTheirFirstProblem)
{
    const RowCase c = GetParam();
    PaintRowProblem problem = PaintRowProblem::StoreFailed;
    const auto row = checkPaintListRow(c.fields, &problem);
    EXPECT_EQ(problem, c.problem);
    EXPECT_EQ(row.isOk(), c.problem == PaintRowProblem::None) << row.message();
}

INSTANTIATE_TEST_SUITE_P(Fields, PaintListRows,
                         ::testing::Values(RowCase{{"镉黄", "0", "128", "255"}, PaintRowProblem::None},
                                           RowCase{{"镉黄", "0", "128"}, PaintRowProblem::FieldCount},
                                           RowCase{{}, PaintRowProblem::FieldCount},
                                           RowCase{{"镉黄", "256", "0", "0"}, PaintRowProblem::Channel},
                                           RowCase{{"镉黄", "-0", "0", "0"}, PaintRowProblem::Channel},
                                           RowCase{{"镉黄", " 1", "0", "0"}, PaintRowProblem::Channel},
                                           RowCase{{"镉黄", "1.5", "0", "0"}, PaintRowProblem::Channel},
                                           RowCase{{"镉黄", "", "0", "0"}, PaintRowProblem::Channel},
                                           RowCase{{" \t", "1", "2", "3"}, PaintRowProblem::EmptyName},
                                           RowCase{{"", "x", "2", "3"},
                                                   PaintRowProblem::Channel}, // numbers first, as the CLI reports
                                           RowCase{{"色😀", "1", "2", "3"}, PaintRowProblem::NotStorable}));

class PaintListImport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(colors.buildBuiltInCatalogue());
        ASSERT_TRUE(colors.createDefaultColorGroupFile());
        ASSERT_TRUE(colors.loadColorGroups());
    }

    test::TempDir dir;
    test::RecordingNotifier notifier;
    CColorManager colors{dir.path(), &notifier};
};

TEST_F(PaintListImport, AddsUserPaintsAndRefusesDuplicatesAndFailedWrites)
{
    PaintRowProblem problem = PaintRowProblem::StoreFailed;
    const auto added = importPaintListRow(colors, "油画颜色", {" 镉黄深 ", {250, 180, 0}}, &problem);
    ASSERT_TRUE(added) << added.message();
    EXPECT_EQ(problem, PaintRowProblem::None);
    EXPECT_EQ(added->code(), "u_10000001");
    EXPECT_EQ(added->origin(), PaintColorRecord::kOriginUser);
    EXPECT_EQ(added->color(), (RgbColor{250, 180, 0}));

    EXPECT_FALSE(importPaintListRow(colors, "油画颜色", {"大红", {1, 2, 3}}, &problem));
    EXPECT_EQ(problem, PaintRowProblem::Duplicate);

    test::FaultInjection faults;
    faults.failWritesFrom(0);
    const auto failed = importPaintListRow(colors, "油画颜色", {"新绿", {0, 200, 0}}, &problem);
    EXPECT_EQ(problem, PaintRowProblem::StoreFailed);
    EXPECT_EQ(failed.message(), "增加色谱颜色失败!");
    PaintColorRecord none;
    EXPECT_FALSE(colors.findGroupColor("油画颜色", "新绿", none));
}

} // namespace
} // namespace pigmora
