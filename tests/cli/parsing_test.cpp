#include "cli/colorarg.h"
#include "cli/csv.h"
#include "cli/json.h"

#include <gtest/gtest.h>

#include <sstream>

namespace pigmora::cli {
namespace {

TEST(ColorArgument, AcceptsBothFormsAndNothingElse)
{
    EXPECT_EQ(parseColor("0,128,255"), (RgbColor{0, 128, 255}));
    EXPECT_EQ(parseColor("#0a0B0c"), (RgbColor{10, 11, 12}));
    EXPECT_EQ(parseColor("#FFFFFF"), (RgbColor{255, 255, 255}));
    for (const char *bad :
         {"", "1,2", "1,2,3,4", "1,,3", "a,b,c", "1.5,2,3", " 1,2,3", "1,2,3 ", "+1,2,3", "-0,0,0", "256,0,0",
          "99999999999,0,0", "#FFF", "#FFFFFFF", "FFFFFF", "#-1FFFF", "#+1FFFF", "#GG0000"}) {
        EXPECT_FALSE(parseColor(bad)) << bad;
    }
}

TEST(Csv, QuotesBlankLinesAndLineNumbers)
{
    const auto table = parseCsv("\xEF\xBB\xBF"
                                "code,name\r\n\"a,1\",\"say \"\"hi\"\"\"\r\n\r\nb,\"two\nlines\"\nc,");
    ASSERT_TRUE(table) << table.message();
    EXPECT_EQ(table->header, (CsvRow{"code", "name"}));
    ASSERT_EQ(table->rows.size(), 3u);
    EXPECT_EQ(table->rows[0], (CsvRow{"a,1", "say \"hi\""}));
    EXPECT_EQ(table->rows[1], (CsvRow{"b", "two\nlines"}));
    EXPECT_EQ(table->rows[2], (CsvRow{"c", ""}));
    EXPECT_EQ(table->lineNumbers, (std::vector<int>{2, 4, 6}));
    EXPECT_TRUE(expectHeader(*table, {"code", "name"}));
    EXPECT_EQ(expectHeader(*table, {"code", "name", "r"}).message(), "the header row must be code,name,r");
}

TEST(Csv, RefusesBrokenInput)
{
    EXPECT_FALSE(parseCsv("a,b\n\"open"));
    EXPECT_FALSE(parseCsv(""));
    EXPECT_FALSE(parseCsv("a\n\xC4\xE3\n")); // GBK bytes are not UTF-8
    EXPECT_FALSE(parseCsv("a\n\xED\xA0\x80\n")); // a surrogate
    EXPECT_FALSE(parseCsv("a\n\xC0\x80\n")); // overlong
    EXPECT_FALSE(readCsvFile("/nonexistent/file.csv"));
}

TEST(Csv, WritesQuotedFieldsOnlyWhenNeeded)
{
    std::ostringstream out;
    writeCsvRow(out, {"plain", "a,b", "say \"x\"", "", "中文"});
    EXPECT_EQ(out.str(), "plain,\"a,b\",\"say \"\"x\"\"\",,中文\n");
}

TEST(Json, EscapesAndFormatsNumbers)
{
    JsonWriter json;
    json.beginObject()
        .key("s")
        .value("a\"b\\c\n\x01")
        .key("n")
        .null()
        .key("f")
        .number(0.49999982f, 9)
        .key("d")
        .number(28.284271247461902, 17)
        .key("a")
        .beginArray()
        .value(1)
        .value(true)
        .endArray()
        .endObject();
    EXPECT_EQ(json.text(),
              "{\"s\":\"a\\\"b\\\\c\\n\\u0001\",\"n\":null,\"f\":0.499999821,\"d\":28.284271247461902,\"a\":[1,true]}");
}

} // namespace
} // namespace pigmora::cli
