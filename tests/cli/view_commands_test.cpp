#include "clitest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

namespace pigmora::test {
namespace {

const std::filesystem::path kPhotoJpeg = std::filesystem::path(PIGMORA_TEST_DATA_DIR) / "sample-photo.jpg";
const std::filesystem::path kPhotoBitmap = std::filesystem::path(PIGMORA_TEST_DATA_DIR) / "sample-photo.bmp";

std::int32_t readI32(const std::vector<unsigned char> &bytes, std::size_t offset)
{
    return static_cast<std::int32_t>(bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16
                                     | static_cast<unsigned>(bytes[offset + 3]) << 24);
}

class ViewCommands : public ::testing::Test
{
protected:
    CliRun cli(std::vector<std::string> args) { return runCli(args, {}, dir.path()); }
    TempDir dir;
};

TEST_F(ViewCommands, RealSizeViewHoldsTheDecodedPixelsBottomUp)
{
    // The sample bitmap holds the JPEG's pixels as libjpeg decodes them, as a
    // 24-bit bottom-up bitmap with a 54-byte header: the same pixel bytes.
    const auto reference = readFileBytes(kPhotoBitmap);
    for (const auto &photo : {kPhotoJpeg, kPhotoBitmap}) {
        const auto out = dir / "view.bmp";
        const auto run = cli({"view", photo.string(), out.string()});
        ASSERT_EQ(run.status, 0) << run.err;
        const auto bytes = readFileBytes(out);
        ASSERT_EQ(bytes.size(), reference.size());
        EXPECT_EQ(readI32(bytes, 14), 40); // info header size
        EXPECT_EQ(readI32(bytes, 18), 500); // width
        EXPECT_EQ(readI32(bytes, 22), 667); // height, positive: bottom-up
        EXPECT_EQ(bytes[28], 24);
        EXPECT_TRUE(std::equal(bytes.begin() + 54, bytes.end(), reference.begin() + 54)) << photo;
    }
}

TEST_F(ViewCommands, ZoomAndGray)
{
    const auto out = dir / "small.bmp";
    auto run = cli({"view", kPhotoJpeg.string(), out.string(), "--zoom", "25%", "--gray"});
    ASSERT_EQ(run.status, 0) << run.err;
    auto bytes = readFileBytes(out);
    EXPECT_EQ(readI32(bytes, 18), 125);
    EXPECT_EQ(readI32(bytes, 22), 166);
    const std::size_t rowBytes = (125 * 3 + 3) / 4 * 4;
    for (std::size_t y = 0; y < 166; ++y) {
        for (std::size_t x = 0; x < 125; ++x) {
            const std::size_t p = 54 + y * rowBytes + 3 * x;
            ASSERT_TRUE(bytes[p] == bytes[p + 1] && bytes[p + 1] == bytes[p + 2]) << x << "," << y;
        }
    }
    // "10" names the 10% step, which shows the picture at 0.2 of its size.
    run = cli({"view", kPhotoJpeg.string(), out.string(), "--zoom", "10"});
    ASSERT_EQ(run.status, 0) << run.err;
    bytes = readFileBytes(out);
    EXPECT_EQ(readI32(bytes, 18), 100);
    EXPECT_EQ(readI32(bytes, 22), 133);
}

TEST_F(ViewCommands, PickAnswersForTheViewPixel)
{
    // Pixel (10, 20) of the real-size view is row 20 from the top of the bitmap.
    const auto reference = readFileBytes(kPhotoBitmap);
    const std::size_t rowBytes = 1500;
    const std::size_t p = 54 + (666 - 20) * rowBytes + 3 * 10;
    const std::string color = std::to_string(reference[p + 2]) + "," + std::to_string(reference[p + 1]) + ","
        + std::to_string(reference[p]);
    const auto pick = cli({"pick", kPhotoJpeg.string(), "10", "20", "--json", "--mode", "spatial"});
    ASSERT_EQ(pick.status, 0) << pick.err;
    const auto match = cli({"match", "--json", "--mode", "spatial", color});
    EXPECT_EQ(pick.out, match.out);
    EXPECT_NE(pick.out.find("\"target\":[" + color + "]"), std::string::npos);

    // At 25 % the view is 125 x 166: (124, 165) is its last pixel.
    EXPECT_EQ(cli({"pick", kPhotoJpeg.string(), "124", "165", "--zoom", "25%"}).status, 0);
}

// A 24-bit bottom-up BMP, rows addressed from the top.
struct Bmp {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> bytes;
    const unsigned char *pixel(int x, int y) const
    {
        const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
        return bytes.data() + 54 + static_cast<std::size_t>(height - 1 - y) * rowBytes
            + 3 * static_cast<std::size_t>(x);
    }
    std::string color(int x, int y) const
    {
        const unsigned char *p = pixel(x, y);
        return std::to_string(p[2]) + "," + std::to_string(p[1]) + "," + std::to_string(p[0]);
    }
};

Bmp readBmp(const std::filesystem::path &path)
{
    Bmp bmp;
    bmp.bytes = readFileBytes(path);
    bmp.width = readI32(bmp.bytes, 18);
    bmp.height = readI32(bmp.bytes, 22);
    return bmp;
}

TEST_F(ViewCommands, RegionsAndPicksAreThoseOfTheWholePicture)
{
    struct Case {
        std::vector<std::string> options;
        std::string region; // reaches the bottom-right corner
        int x, y, w, h;
    };
    const Case cases[] = {
        {{"--zoom", "150%", "--gray"}, "653,899,97,101", 653, 899, 97, 101},
        {{"--zoom", "25%"}, "0,100,125,66", 0, 100, 125, 66},
        {{"--zoom", "10%", "--magnified"}, "200,433,200,100", 200, 433, 200, 100},
    };
    for (const Case &c : cases) {
        std::vector<std::string> whole = {"view", kPhotoBitmap.string(), (dir / "whole.bmp").string()};
        whole.insert(whole.end(), c.options.begin(), c.options.end());
        std::vector<std::string> part
            = {"view", kPhotoBitmap.string(), (dir / "part.bmp").string(), "--region", c.region};
        part.insert(part.end(), c.options.begin(), c.options.end());
        ASSERT_EQ(cli(whole).status, 0);
        const auto run = cli(part);
        ASSERT_EQ(run.status, 0) << run.err;
        const Bmp all = readBmp(dir / "whole.bmp");
        const Bmp region = readBmp(dir / "part.bmp");
        ASSERT_EQ(region.width, c.w);
        ASSERT_EQ(region.height, c.h);
        ASSERT_EQ(all.width, c.x + c.w) << c.region;
        ASSERT_EQ(all.height, c.y + c.h) << c.region;
        for (int y = 0; y < c.h; ++y)
            ASSERT_EQ(std::memcmp(region.pixel(0, y), all.pixel(c.x, c.y + y), 3 * static_cast<std::size_t>(c.w)), 0)
                << c.region << " row " << y;
        if (std::find(c.options.begin(), c.options.end(), "--magnified") != c.options.end())
            continue;
        // The pick at each corner of the zoomed view answers for that view's pixel.
        for (const auto &[x, y] :
             {std::pair{0, 0}, {all.width - 1, 0}, {0, all.height - 1}, {all.width - 1, all.height - 1}}) {
            std::vector<std::string> pick
                = {"pick", kPhotoBitmap.string(), std::to_string(x), std::to_string(y), "--json", "--mode", "spatial"};
            pick.insert(pick.end(), c.options.begin(), c.options.end());
            const auto picked = cli(pick);
            ASSERT_EQ(picked.status, 0) << picked.err;
            EXPECT_NE(picked.out.find("\"target\":[" + all.color(x, y) + "]"), std::string::npos)
                << x << "," << y << ": " << picked.out;
        }
    }
}

struct BadView {
    const char *name;
    std::vector<std::string> args;
    const char *errorContains;
};

class BadViews : public ViewCommands, public ::testing::WithParamInterface<BadView>
{ };

TEST_P(BadViews, FailWithAClearLine)
{
    std::vector<std::string> args;
    for (const std::string &arg : GetParam().args) {
        if (arg == "PHOTO")
            args.push_back(kPhotoJpeg.string());
        else if (arg == "OUT")
            args.push_back((dir / "out.bmp").string());
        else
            args.push_back(arg);
    }
    const auto run = cli(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(GetParam().errorContains), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
}

INSTANTIATE_TEST_SUITE_P(
    View, BadViews,
    ::testing::Values(
        BadView{"MissingPhoto", {"view", "/nonexistent/a.jpg", "OUT"}, "文件不存在!"},
        BadView{"UnsupportedExtension", {"view", PIGMORA_SOURCE_DIR "/README.md", "OUT"}, "不能读入指定的图像文件!"},
        BadView{"UnknownZoom", {"view", "PHOTO", "OUT", "--zoom", "33%"}, "unknown zoom step '33%'"},
        BadView{"UnwritableOutput", {"view", "PHOTO", "/nonexistent/dir/out.bmp"}, "cannot create"},
        BadView{"PickOutsideRight", {"pick", "PHOTO", "500", "0"}, "outside the view picture (500 x 667)"},
        BadView{"PickOutsideZoomed", {"pick", "PHOTO", "125", "0", "--zoom", "25%"}, "(125 x 166)"},
        BadView{"PickNegative", {"pick", "PHOTO", "-1", "0"}, "pixel (-1, 0) is outside"},
        BadView{"PickNotANumber", {"pick", "PHOTO", "1.5", "0"}, "X and Y must be whole numbers"},
        BadView{"PickBadMode", {"pick", "PHOTO", "1", "1", "--mode", "x"}, "unknown mixing mode 'x'"},
        BadView{"RegionNotFourNumbers", {"view", "PHOTO", "OUT", "--region", "1,2,3"}, "--region must be X,Y,W,H"},
        BadView{"RegionEmpty", {"view", "PHOTO", "OUT", "--region", "0,0,0,5"}, "--region must be X,Y,W,H"},
        BadView{"RegionNegative", {"view", "PHOTO", "OUT", "--region", "-1,0,5,5"}, "--region must be X,Y,W,H"},
        BadView{"RegionTrailingComma", {"view", "PHOTO", "OUT", "--region", "1,2,3,4,"}, "--region must be X,Y,W,H"},
        BadView{"RegionOutside",
                {"view", "PHOTO", "OUT", "--region", "400,0,101,10"},
                "region 400,0,101,10 is not inside the view picture (500 x 667)"},
        BadView{"RegionOutsideMagnified",
                {"view", "PHOTO", "OUT", "--magnified", "--zoom", "800%", "--region", "0,5336,1,1"},
                "not inside the magnified picture (4000 x 5336)"}),
    [](const ::testing::TestParamInfo<BadView> &param) { return param.param.name; });

// OUT must not be the photo, however it is named; the photo stays as it was.
TEST_F(ViewCommands, AnOutputThatIsThePhotoIsRefused)
{
    std::filesystem::copy_file(kPhotoJpeg, dir / "p.jpg");
    std::filesystem::create_symlink(dir / "p.jpg", dir / "link.bmp");
    std::filesystem::create_hard_link(dir / "p.jpg", dir / "second.bmp");
    const auto photo = readFileBytes(kPhotoJpeg);
    for (const char *out : {"p.jpg", "link.bmp", "second.bmp"}) {
        const auto run = cli({"view", (dir / "p.jpg").string(), (dir / out).string()});
        EXPECT_EQ(run.status, 1) << out;
        EXPECT_NE(run.err.find("is the photo itself"), std::string::npos) << run.err;
        EXPECT_EQ(readFileBytes(dir / "p.jpg"), photo) << out;
    }
}

// The picture appears whole or not at all: on a full disk an existing OUT
// stays as it was and nothing is left behind.
TEST_F(ViewCommands, AFailedWriteKeepsTheOldOutput)
{
    const auto small = dir / "small";
    std::filesystem::create_directory(small);
    if (::geteuid() != 0 || ::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "no tmpfs mount here";
    writeFileBytes(small / "out.bmp", {1, 2, 3});
    const auto run = cli({"view", kPhotoJpeg.string(), (small / "out.bmp").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("the disk is full"), std::string::npos) << run.err;
    EXPECT_EQ(readFileBytes(small / "out.bmp"), (std::vector<unsigned char>{1, 2, 3}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(small), std::filesystem::directory_iterator()), 1);
    ::umount(small.c_str());
}

// A zoomed picture too large for a bitmap file is refused with its size and
// the way to a part of it, never answered with another zoom.
TEST_F(ViewCommands, AZoomBeyondTheBitmapFormatIsRefusedWithItsSize)
{
    // 4800 x 4800 at one bit a pixel: 2.9 MB here, 38400 x 38400 (4.4 GB as a
    // 24-bit bitmap) at 800 %.
    constexpr int kSide = 4800;
    constexpr std::size_t kRow = kSide / 8;
    std::vector<unsigned char> bmp(62 + kRow * kSide, 0x5A);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bmp[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>(v >> (8 * i));
    };
    std::fill(bmp.begin(), bmp.begin() + 62, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, static_cast<std::uint32_t>(bmp.size()));
    put32(10, 62);
    put32(14, 40);
    put32(18, kSide);
    put32(22, kSide);
    bmp[26] = 1; // planes
    bmp[28] = 1; // bits per pixel
    put32(58, 0xFFFFFF); // palette: black, white
    writeFileBytes(dir / "big.bmp", bmp);

    auto run = cli({"view", (dir / "big.bmp").string(), (dir / "o.bmp").string(), "--zoom", "800%"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("38400 x 38400"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("--region"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "o.bmp"));

    run = cli(
        {"view", (dir / "big.bmp").string(), (dir / "o.bmp").string(), "--zoom", "800%", "--region", "38000,0,400,8"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readI32(readFileBytes(dir / "o.bmp"), 18), 400);
}

TEST_F(ViewCommands, ADamagedPhotoGivesTheDecodersReason)
{
    auto bytes = readFileBytes(kPhotoJpeg);
    bytes.resize(600); // headers only
    writeFileBytes(dir / "cut.jpg", bytes);
    const auto run = cli({"view", (dir / "cut.jpg").string(), (dir / "out.bmp").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cut.jpg: "), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "out.bmp"));
}

} // namespace
} // namespace pigmora::test
