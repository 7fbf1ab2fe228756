#include "data/platform.h"

#include <gtest/gtest.h>

namespace pigmora::platform {
namespace {

TEST(Gbk, RoundTripsChineseAndAscii)
{
    const std::string text = "銀朱 柠檬黄 Lemon 自定义颜色1";
    const auto encoded = utf8ToGbk(text);
    ASSERT_TRUE(encoded);
    EXPECT_EQ(encoded->substr(0, 4), "\xE3\x79\xD6\xEC"); // 銀朱
    EXPECT_EQ(gbkToUtf8(*encoded), text);
}

TEST(Gbk, RefusesTextGbkCannotHold)
{
    EXPECT_FALSE(utf8ToGbk("emoji \xF0\x9F\x8E\xA8"));
    EXPECT_FALSE(utf8ToGbk("broken \xC3"));
    EXPECT_EQ(utf8ToGbk(""), std::string());
}

TEST(Gbk, DamagedBytesDecodeToReplacementCharacters)
{
    // A lone lead byte at the end and an invalid pair.
    EXPECT_EQ(gbkToUtf8("ab\xC4"), "ab\xEF\xBF\xBD");
    EXPECT_EQ(gbkToUtf8("\xFF"
                        "c"),
              "\xEF\xBF\xBD"
              "c");
}

TEST(Gbk, CutNeverSplitsACharacter)
{
    const std::string text = *utf8ToGbk("a中文b");
    ASSERT_EQ(text.size(), 6u);
    EXPECT_EQ(cutGbk(text, 6), text);
    EXPECT_EQ(cutGbk(text, 5), text.substr(0, 5));
    EXPECT_EQ(cutGbk(text, 4), text.substr(0, 3)); // 文 would be split
    EXPECT_EQ(cutGbk(text, 2), "a");
    EXPECT_EQ(cutGbk(text, 0), "");
    EXPECT_EQ(cutGbk("\xC4", 5), ""); // a lone lead byte is not a character
}

TEST(Platform, ProgramFolderHoldsTheRunningExecutable)
{
    const auto folder = programFolder();
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_TRUE(std::filesystem::exists(folder / "test_data"));
}

} // namespace
} // namespace pigmora::platform
