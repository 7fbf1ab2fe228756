#include "data/records.h"

#include "support/testsupport.h"

#include <gtest/gtest.h>

namespace pigmora {
namespace {

using test::gbk;

PaintColorRecord paint(std::string_view code, std::string_view nameUtf8)
{
    PaintColorRecord r;
    r.setCode(code);
    r.setName(gbk(nameUtf8));
    return r;
}

TEST(PaintColorRecord, FieldsLandAtTheirOffsetsLittleEndian)
{
    PaintColorRecord r;
    r.setCode("100");
    r.setName(gbk("柠檬黄"));
    r.setEnglishName("Lemon Yellow");
    r.setColor({243, 255, 0x01020304});
    r.setStrength(0.8f);
    r.setBoxFlag(1);
    r.setUsedFlag(1);
    r.setMixingClass(2);
    r.setGroup(5);
    r.setOrigin(2);
    const auto &b = r.bytes();
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(&b[0]), 4), std::string("100\0", 4));
    EXPECT_EQ(b[21], 0xC4); // 柠 in GBK
    EXPECT_EQ(b[42], 'L');
    EXPECT_EQ(b[63], 243);
    EXPECT_EQ(b[64], 0);
    EXPECT_EQ(b[67], 255);
    EXPECT_EQ(b[71], 0x04);
    EXPECT_EQ(b[72], 0x03);
    EXPECT_EQ(b[74], 0x01);
    // 0.8f = 0x3F4CCCCD
    EXPECT_EQ(b[75], 0xCD);
    EXPECT_EQ(b[78], 0x3F);
    EXPECT_EQ(b[79], 1);
    EXPECT_EQ(b[80], 1);
    EXPECT_EQ(b[81], 2);
    EXPECT_EQ(b[82], 5);
    EXPECT_EQ(b[83], 2);

    const PaintColorRecord copy = PaintColorRecord::fromBytes(r.data());
    EXPECT_EQ(copy, r);
    EXPECT_EQ(copy.strength(), 0.8f);
    EXPECT_EQ(copy.color(), (RgbColor{243, 255, 0x01020304}));
}

TEST(PaintColorRecord, TextsAreCutAtTwentyBytesOnWholeCharacters)
{
    PaintColorRecord r;
    r.setEnglishName("Permanent Green Light"); // 21 bytes
    EXPECT_EQ(r.englishName(), "Permanent Green Ligh");
    EXPECT_EQ(r.bytes()[PaintColorRecord::kEnglishNameOffset + 20], 0);
    // "A" + ten two-byte characters = 21 bytes: the last character would be
    // split at byte 20, so it is dropped whole.
    r.setName(gbk("A一二三四五六七八九十"));
    EXPECT_EQ(r.name().size(), 19u);
    EXPECT_EQ(test::utf8(r.name()), "A一二三四五六七八九");
    // Setting a shorter text clears the rest of the field.
    r.setName("x");
    for (std::size_t i = 1; i < 21; ++i)
        EXPECT_EQ(r.bytes()[PaintColorRecord::kNameOffset + i], 0);
}

TEST(PaintColorRecord, CodesCompareAsTextAndNamesByGbkBytes)
{
    auto less
        = [](const PaintColorRecord &a, const PaintColorRecord &b) { return comparePaintColorRecords(&a, &b) < 0; };
    EXPECT_TRUE(less(paint("100", "x"), paint("1001", "x")));
    EXPECT_TRUE(less(paint("1001", "x"), paint("101", "x")));
    EXPECT_TRUE(less(paint("1012", "x"), paint("2100", "x")));
    EXPECT_TRUE(less(paint("100", "柠檬黄"), paint("100", "中黄"))); // 0xC4 before 0xD6
    const PaintColorRecord lemon = paint("100", "柠檬黄");
    const PaintColorRecord lemon2 = paint("100", "柠檬黄");
    const PaintColorRecord medium = paint("100", "中黄");
    EXPECT_EQ(comparePaintColorRecords(&lemon, &lemon2), 0);
    EXPECT_EQ(comparePaintColorRecords(&medium, &lemon), 1);
    // Identity is code and name only.
    PaintColorRecord a = paint("7", "x");
    PaintColorRecord b = paint("7", "x");
    b.setColor({1, 2, 3});
    b.setEnglishName("other");
    EXPECT_TRUE(a.samePaint(b));
}

TEST(StandardColorRecord, DisplayTextIsTheCode)
{
    StandardColorRecord r;
    r.setCode("Process Blue");
    r.setName(gbk("四色蓝"));
    r.setColor({0, 140, 204});
    EXPECT_EQ(r.displayText(), "Process Blue");
    EXPECT_EQ(test::utf8(r.name()), "四色蓝");
    EXPECT_EQ(r.color(), (RgbColor{0, 140, 204}));
    StandardColorRecord same;
    same.setCode("Process Blue");
    same.setName(gbk("四色蓝"));
    EXPECT_EQ(compareStandardColorRecords(&r, &same), 0);
}

TEST(PaletteColorRecord, FullWidthCodeHasNoTerminatorAndIsReadToTheFieldEnd)
{
    PaletteColorRecord r;
    r.setCode("123456789012345678901"); // 21 bytes
    r.setColor({1, 2, 3});
    r.setCell(-1);
    EXPECT_EQ(r.code(), "123456789012345678901");
    EXPECT_EQ(r.bytes()[20], '1');
    EXPECT_EQ(r.bytes()[21], 1); // red follows directly
    EXPECT_EQ(r.cell(), -1);
    EXPECT_EQ(r.bytes()[33], 0xFF);

    PaletteColorRecord other;
    other.setCode("123456789012345678901");
    other.setColor({9, 9, 9});
    EXPECT_EQ(comparePaletteColorRecords(&r, &other), 0); // the compare stops at the field's end
    PaletteColorRecord shorter;
    shorter.setCode("12345678901234567890");
    EXPECT_EQ(comparePaletteColorRecords(&shorter, &r), -1);
}

} // namespace
} // namespace pigmora
