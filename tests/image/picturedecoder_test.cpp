#include "image/picturedecoder.h"

#include "image/decoderfixtures.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <png.h>

namespace pigmora {
namespace {

using test::Bytes;
using test::DamagedPictureFiles;
using test::ExactPictureFiles;

// The tables of good and damaged files of each decoder's tests.

TEST_P(ExactPictureFiles, DecodeToKnownPixels)
{
    const test::ExactFile &f = GetParam();
    const Result<DecodedPicture> picture = test::decodeAs(f.kind, f.name, f.bytes);
    ASSERT_TRUE(picture.isOk()) << picture.message();
    EXPECT_EQ(picture->width, f.expected.width);
    EXPECT_EQ(picture->height, f.expected.height);
    EXPECT_EQ(picture->pixels, f.expected.pixels);
}

TEST_P(ExactPictureFiles, EveryPrefixIsHandled)
{
    test::expectEveryPrefixHandled(GetParam().kind, GetParam().bytes);
}

TEST_P(DamagedPictureFiles, AreRefusedWithAReason)
{
    const test::DamagedFile &f = GetParam();
    const Result<DecodedPicture> picture = test::decodeAs(f.kind, f.name, f.bytes);
    ASSERT_FALSE(picture.isOk());
    EXPECT_NE(picture.message().find(f.message), std::string::npos) << picture.message();
}

struct FormatCase {
    const char *path;
    PictureFormat format;
};

void PrintTo(const FormatCase &c, std::ostream *os)
{
    *os << c.path;
}

class PictureFormatOf : public testing::TestWithParam<FormatCase>
{ };

TEST_P(PictureFormatOf, GoesByTheExtensionInAnyCase)
{
    EXPECT_EQ(pictureFormatOf(GetParam().path), GetParam().format);
}

INSTANTIATE_TEST_SUITE_P(
    Extensions, PictureFormatOf,
    testing::Values(FormatCase{"a.jpg", PictureFormat::Jpeg}, FormatCase{"a.JPG", PictureFormat::Jpeg},
                    FormatCase{"dir/a.jpeg", PictureFormat::Jpeg}, FormatCase{"a.JpEg", PictureFormat::Jpeg},
                    FormatCase{"a.bmp", PictureFormat::Bitmap}, FormatCase{"a.Bmp", PictureFormat::Bitmap},
                    FormatCase{"a.dib", PictureFormat::Bitmap}, FormatCase{"a.DIB", PictureFormat::Bitmap},
                    FormatCase{"a.png", PictureFormat::Png}, FormatCase{"a.PNG", PictureFormat::Png},
                    FormatCase{"a.gif", PictureFormat::Unsupported}, FormatCase{"a.jpe", PictureFormat::Unsupported},
                    FormatCase{"a.jpg.txt", PictureFormat::Unsupported}, FormatCase{"jpg", PictureFormat::Unsupported},
                    FormatCase{"a.bmp/b", PictureFormat::Unsupported}, FormatCase{"", PictureFormat::Unsupported}));

Bytes smallBitmap()
{
    test::BmpLayout layout;
    layout.width = 2;
    layout.height = 1;
    layout.pixelData = {10, 20, 30, 40, 50, 60, 0, 0};
    return test::buildBmp(layout);
}

class DecodePictureFile : public testing::Test
{
protected:
    std::filesystem::path write(const std::string &name, const Bytes &bytes)
    {
        const std::filesystem::path path = m_dir / name;
        test::writeFileBytes(path, bytes);
        return path;
    }

    test::TempDir m_dir;
};

TEST_F(DecodePictureFile, ReadsEachKindByItsExtension)
{
    const Result<DecodedPicture> bmp = decodePictureFile(write("lower.bmp", smallBitmap()));
    const Result<DecodedPicture> dib = decodePictureFile(write("UPPER.DIB", smallBitmap()));
    ASSERT_TRUE(bmp.isOk()) << bmp.message();
    ASSERT_TRUE(dib.isOk()) << dib.message();
    // A 24-bit pixel of blue 10, green 20, red 30 is stored as 10, 20, 30, 0.
    EXPECT_EQ(bmp->pixels, (std::vector<std::uint8_t>{10, 20, 30, 0, 40, 50, 60, 0}));
    EXPECT_EQ(dib->pixels, bmp->pixels);

    test::PngLayout png;
    png.width = 1;
    png.height = 1;
    png.colorType = PNG_COLOR_TYPE_RGB;
    png.rows = {{30, 20, 10}};
    const Result<DecodedPicture> fromPng = decodePictureFile(write("a.Png", test::encodePng(png)));
    ASSERT_TRUE(fromPng.isOk()) << fromPng.message();
    EXPECT_EQ(fromPng->pixels, (std::vector<std::uint8_t>{10, 20, 30, 0}));
}

TEST_F(DecodePictureFile, MissingFileIsNamed)
{
    const Result<DecodedPicture> picture = decodePictureFile(m_dir / "gone.jpg");
    ASSERT_FALSE(picture.isOk());
    EXPECT_EQ(picture.message(), "图像文件不存在：" + (m_dir / "gone.jpg").string());
}

TEST_F(DecodePictureFile, UnsupportedExtensionIsRefusedWhateverTheContent)
{
    const Result<DecodedPicture> picture = decodePictureFile(write("a.gif", smallBitmap()));
    ASSERT_FALSE(picture.isOk());
    EXPECT_EQ(picture.message().rfind("不支持的图像文件类型：", 0), 0u) << picture.message();
}

TEST_F(DecodePictureFile, FolderIsUnreadable)
{
    std::filesystem::create_directory(m_dir / "folder.bmp");
    const Result<DecodedPicture> picture = decodePictureFile(m_dir / "folder.bmp");
    ASSERT_FALSE(picture.isOk());
    EXPECT_EQ(picture.message().rfind("无法读取图像文件：", 0), 0u) << picture.message();
}

TEST_F(DecodePictureFile, ContentOfTheWrongKindIsDamaged)
{
    const Result<DecodedPicture> picture = decodePictureFile(write("really-a-bitmap.jpg", smallBitmap()));
    ASSERT_FALSE(picture.isOk());
    EXPECT_EQ(picture.message().rfind("图像文件已损坏：", 0), 0u) << picture.message();
}

// A file larger than any picture needs is refused before it is read (the
// file is sparse: it takes no disk space).
TEST_F(DecodePictureFile, OversizedFileIsRefusedUnread)
{
    const std::filesystem::path path = write("huge.bmp", smallBitmap());
    std::filesystem::resize_file(path, (std::uintmax_t{1} << 30) + 1);
    const Result<DecodedPicture> picture = decodePictureFile(path);
    ASSERT_FALSE(picture.isOk());
    EXPECT_EQ(picture.message().rfind("图像文件过大（最大 1 GB）：", 0), 0u) << picture.message();
}

} // namespace
} // namespace pigmora
