#include "clitest.h"

#include "image/bmpwriter.h"
#include "image/imagedibobject.h"
#include "support/photoscene.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

namespace pigmora::test {
namespace {

// A 400 x 300 photo with a warm cast: a chart, a grey card, a black and a
// burnt-out patch, and a patch of a colour the chart does not hold.
constexpr const char *kChart = "40,40,300,50,295,190,45,200";

std::filesystem::path writePhoto(const std::filesystem::path &path)
{
    PhotoScene scene{.width = 400, .height = 300};
    scene.chart = std::array<chart::Point, 4>{chart::Point{40.5, 40.5}, {300.5, 50.5}, {295.5, 190.5}, {45.5, 200.5}};
    scene.patches = {{320, 20, 70, 70, {0.4, 0.4, 0.4}},
                     {320, 110, 30, 30, {0.004, 0.004, 0.004}},
                     {360, 110, 30, 30, {3.0, 3.0, 3.0}},
                     {320, 200, 70, 70, linearOf(90, 110, 50)}};
    const Camera camera{Matrix3::diagonal(0.75, 0.6, 0.42), 2.0};
    CImageDibObject picture;
    picture.adoptRows(400, 300, takePhoto(scene, camera));
    std::ofstream out(path, std::ios::binary);
    EXPECT_TRUE(writeBitmap24Bands(400, 300, 300, [&](int, int) { return picture.pictureToBitmap(); },
                                   [&](const std::uint8_t *bytes, std::size_t size) {
                                       return static_cast<bool>(
                                           out.write(reinterpret_cast<const char *>(bytes),
                                                     static_cast<std::streamsize>(size)));
                                   }));
    return path;
}

// The numbers of a JSON array field: "key":[r,g,b].
std::string arrayField(const std::string &json, const std::string &key)
{
    std::smatch match;
    const std::regex pattern("\"" + key + "\":\\[([0-9,]+)\\]");
    return std::regex_search(json, match, pattern) ? match[1].str() : std::string();
}

// Pixel (x, y) of a 24-bit bottom-up BMP as "R,G,B".
std::string bmpColor(const std::filesystem::path &path, int x, int y)
{
    const auto bytes = readFileBytes(path);
    const auto i32 = [&](std::size_t o) { return bytes[o] | bytes[o + 1] << 8 | bytes[o + 2] << 16 | bytes[o + 3] << 24; };
    const int width = i32(18);
    const int height = i32(22);
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    const unsigned char *p = bytes.data() + 54 + static_cast<std::size_t>(height - 1 - y) * rowBytes + 3 * x;
    return std::to_string(p[2]) + "," + std::to_string(p[1]) + "," + std::to_string(p[0]);
}

class CorrectionCommands : public ::testing::Test
{
protected:
    CliRun cli(std::vector<std::string> args) { return runCli(args, {}, dir.path()); }
    TempDir dir;
    const std::string photo = writePhoto(dir / "photo.bmp").string();
};

TEST_F(CorrectionCommands, PickReportsTheSampleTheCorrectionAndTheFit)
{
    const auto run = cli({"pick", photo, "355", "235", "--sample", "9", "--chart", kChart, "--json", "--card", "none"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\"sample\":9,\"raw\":["), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"correction\":\"chart\",\"corrected\":["), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"chart_fit\":{\"mean_delta_e00\":"), std::string::npos) << run.out;
    EXPECT_EQ(arrayField(run.out, "target"), arrayField(run.out, "corrected"));
    EXPECT_NE(arrayField(run.out, "raw"), arrayField(run.out, "corrected"));
    // The corrected colour is close to the patch's true 90,110,50.
    const std::string corrected = arrayField(run.out, "corrected");
    int r = 0, g = 0, b = 0;
    ASSERT_EQ(std::sscanf(corrected.c_str(), "%d,%d,%d", &r, &g, &b), 3);
    EXPECT_LT(deltaE00(RgbColor{r, g, b}, RgbColor{90, 110, 50}), 1.5) << corrected;

    // Text: the answer names the sample and the correction.
    const auto text = cli({"pick", photo, "355", "55", "--white", "355,55", "--card", "none"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("sample 1 x 1  raw "), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("corrected (white)"), std::string::npos) << text.out;
}

TEST_F(CorrectionCommands, TheCorrectedViewIsTheCorrectedPickPixelForPixel)
{
    struct Case {
        std::string zoom;
        std::vector<std::string> correction;
    };
    const Case cases[] = {
        {"100%", {"--chart", kChart}},
        {"50%", {"--chart", "20,20,150,25,147,95,22,100"}},
        {"200%", {"--white", "710,110"}},
        {"75%", {"--white", "266,41", "--gray"}},
    };
    for (const Case &c : cases) {
        const auto out = dir / "corrected.bmp";
        const auto part = dir / "part.bmp";
        std::vector<std::string> view = {"view", photo, out.string(), "--zoom", c.zoom};
        view.insert(view.end(), c.correction.begin(), c.correction.end());
        ASSERT_EQ(cli(view).status, 0) << c.zoom;
        view[2] = part.string();
        view.insert(view.end(), {"--region", "10,10,40,30"});
        ASSERT_EQ(cli(view).status, 0) << c.zoom;
        for (const auto &[x, y] : {std::pair{10, 10}, {49, 39}, {31, 17}}) {
            std::vector<std::string> pick
                = {"pick", photo, std::to_string(x), std::to_string(y), "--zoom", c.zoom, "--json", "--card", "none"};
            pick.insert(pick.end(), c.correction.begin(), c.correction.end());
            const auto picked = cli(pick);
            ASSERT_EQ(picked.status, 0) << picked.err;
            EXPECT_EQ(arrayField(picked.out, "corrected"), bmpColor(out, x, y)) << c.zoom << " " << x << "," << y;
            EXPECT_EQ(bmpColor(part, x - 10, y - 10), bmpColor(out, x, y)) << c.zoom;
        }
    }
}

TEST_F(CorrectionCommands, BadInputFailsWithAClearLineAndWritesNothing)
{
    struct Case {
        std::vector<std::string> options;
        const char *message;
    };
    const Case cases[] = {
        {{"--sample", "4"}, "--sample must be an odd whole number from 1 to 51, not '4'"},
        {{"--sample", "53"}, "--sample must be an odd whole number"},
        {{"--sample", "x"}, "--sample must be an odd whole number"},
        {{"--white", "10"}, "--white must be X,Y"},
        {{"--white", "400,10"}, "white reference (400, 10) is outside the view picture (400 x 300)"},
        {{"--white", "335,125"}, "too dark"},
        {{"--white", "375,125", "--sample", "9"}, "clipped"},
        {{"--chart", "1,2,3"}, "--chart must be X1,Y1,X2,Y2,X3,Y3,X4,Y4"},
        {{"--chart", "40,40,300,50,295,300,45,200"}, "chart corner 3 (295, 300) is outside"},
        {{"--chart", "40,40,300,50,45,200,295,190"}, "do not make a quadrilateral"},
        {{"--chart", "40,40,55,40,55,49,40,49"}, "too small"},
        {{"--chart", "295,190,45,200,40,40,300,50"}, "the corners are probably wrong"},
        {{"--white", "355,55", "--chart", kChart}, "--white and --chart cannot be used together"},
    };
    const auto out = dir / "out.bmp";
    for (const Case &c : cases) {
        for (const bool view : {false, true}) {
            std::vector<std::string> args = view ? std::vector<std::string>{"view", photo, out.string()}
                                                 : std::vector<std::string>{"pick", photo, "5", "5"};
            args.insert(args.end(), c.options.begin(), c.options.end());
            const auto run = cli(args);
            EXPECT_EQ(run.status, 1) << c.message;
            EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
            EXPECT_TRUE(run.out.empty());
            EXPECT_FALSE(std::filesystem::exists(out)) << c.message;
        }
    }
}

} // namespace
} // namespace pigmora::test
