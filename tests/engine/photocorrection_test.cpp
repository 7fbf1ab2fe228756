#include "engine/photocorrection.h"

#include "engine/colorchecker.h"
#include "engine/whitebalance.h"
#include "image/graykernel.h"
#include "image/imagedibobject.h"
#include "image/picturesource.h"
#include "image/virtualpicture.h"
#include "support/photoscene.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace pigmora {
namespace {

using chart::Point;

std::shared_ptr<const PictureSource> photoOf(const test::PhotoScene &scene, const test::Camera &camera)
{
    CImageDibObject picture;
    EXPECT_TRUE(picture.adoptRows(scene.width, scene.height, test::takePhoto(scene, camera)));
    return PictureSource::make(picture, false);
}

// A chart in perspective and, below it, twelve patches of colours the chart
// does not hold.
const std::array<Point, 4> kCorners{Point{100, 70}, {500, 95}, {490, 330}, {95, 345}};

test::PhotoScene chartScene()
{
    test::PhotoScene scene{.width = 640, .height = 480, .chart = kCorners};
    const int colors[12][3] = {{224, 172, 150}, {141, 85, 60},  {90, 110, 50},  {60, 90, 140},
                               {200, 60, 50},   {240, 220, 120}, {110, 70, 130}, {30, 120, 110},
                               {180, 180, 170}, {70, 70, 75},   {160, 200, 230}, {120, 40, 80}};
    for (int i = 0; i < 12; ++i)
        scene.patches.push_back({12 + 52 * i, 410, 44, 44, test::linearOf(colors[i][0], colors[i][1], colors[i][2])});
    return scene;
}

// Exposure times cast times crosstalk between the channels.
Matrix3 cameraResponse(double exposure, double red, double green, double blue)
{
    const Matrix3 crosstalk{{0.86, 0.11, 0.03, 0.07, 0.84, 0.09, 0.02, 0.14, 0.84}};
    return Matrix3::diagonal(exposure * red, exposure * green, exposure * blue) * crosstalk;
}

TEST(ColorChecker, CompiledTableEqualsTheDataFile)
{
    std::ifstream in(PIGMORA_SOURCE_DIR "/data/colorchecker/colorchecker24_lab_d50.tsv");
    std::string line;
    std::size_t row = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#' || line.rfind("patch", 0) == 0)
            continue;
        std::istringstream fields(line);
        std::string number, name, l, a, b;
        std::getline(fields, number, '\t');
        std::getline(fields, name, '\t');
        fields >> l >> a >> b;
        ASSERT_LT(row, chart::kReferenceD50.size());
        const chart::PatchReference &p = chart::kReferenceD50[row++];
        EXPECT_EQ(p.number, std::stoi(number));
        EXPECT_EQ(p.name, name);
        EXPECT_EQ(p.lightness, std::stod(l));
        EXPECT_EQ(p.a, std::stod(a));
        EXPECT_EQ(p.b, std::stod(b));
    }
    EXPECT_EQ(row, 24u);
    // Adapted to D65, the white patch keeps its lightness and stays neutral.
    const Lab white = test::labOfLinear(chart::referenceLinear()[18]);
    EXPECT_NEAR(white.lightness, 95.19, 0.05);
    EXPECT_LT(std::hypot(white.a, white.b), 3.2);
}

TEST(PhotoCorrection, AChartRecoversTheCamerasMatrix)
{
    const Matrix3 camera = cameraResponse(0.7, 1.2, 1.0, 0.8);
    const auto photo = photoOf(chartScene(), {camera});
    const auto correction = PhotoCorrection::chart(*photo, kCorners);
    ASSERT_TRUE(correction) << correction.message();
    EXPECT_EQ(correction->kind(), CorrectionKind::Chart);
    const chart::Fit &fit = *correction->chartFit();
    const Matrix3 product = fit.matrix * camera;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(product.at(i, j), i == j ? 1.0 : 0.0, 0.01) << i << "," << j;
    EXPECT_EQ(fit.usedPatches, 24);
    EXPECT_LT(fit.meanDeltaE00, 0.5);
    EXPECT_LT(fit.maxDeltaE00, 1.5);
    EXPECT_EQ(fit.patches[18].number, 19);
}

TEST(PhotoCorrection, ChartCorrectedPicksOfOtherColoursComeCloseToTheTruth)
{
    struct Case {
        const char *what;
        Matrix3 camera;
        double noise;
    };
    const Case cases[] = {
        {"under-exposed, warm", cameraResponse(0.45, 1.3, 1.0, 0.65), 6.0},
        {"over-exposed, cool", cameraResponse(1.3, 0.7, 0.95, 1.2), 4.0},
        {"green cast", cameraResponse(0.8, 0.85, 1.15, 0.8), 6.0},
    };
    const test::PhotoScene scene = chartScene();
    for (const Case &c : cases) {
        const auto photo = photoOf(scene, {c.camera, c.noise});
        const auto correction = PhotoCorrection::chart(*photo, kCorners);
        ASSERT_TRUE(correction) << c.what << ": " << correction.message();
        double corrected = 0.0;
        double uncorrected = 0.0;
        for (const test::ScenePatch &patch : scene.patches) {
            const auto sample = sampleArea(*photo, patch.x + 22, patch.y + 22, 15);
            const Lab truth = test::labOfLinear(patch.color);
            corrected += deltaE00(labOf(correction->correct(*sample)), truth);
            uncorrected += deltaE00(labOf(sample->color), truth);
        }
        EXPECT_LT(corrected / 12, 1.5) << c.what;
        EXPECT_GT(uncorrected / 12, 7.0) << c.what;
    }
}

TEST(PhotoCorrection, ChartRefusals)
{
    const auto photo = photoOf(chartScene(), {cameraResponse(0.7, 1.2, 1.0, 0.8)});
    struct Case {
        const char *what;
        std::array<Point, 4> corners;
        const char *message;
    };
    const Case cases[] = {
        {"a corner outside", {Point{-1, 70}, kCorners[1], kCorners[2], kCorners[3]}, "outside the picture"},
        {"corners in the wrong order", {kCorners[0], kCorners[1], kCorners[3], kCorners[2]}, "quadrilateral"},
        {"the test patches, not the chart", {Point{30, 420}, {600, 420}, {600, 450}, {30, 450}}, "probably wrong"},
        {"the chart turned round", {kCorners[2], kCorners[3], kCorners[0], kCorners[1]}, "probably wrong"},
    };
    for (const Case &c : cases) {
        const auto correction = PhotoCorrection::chart(*photo, c.corners);
        ASSERT_FALSE(correction) << c.what;
        EXPECT_NE(correction.message().find(c.message), std::string::npos) << c.what << ": " << correction.message();
    }
    // Burnt out: most patches clipped.
    const auto bright = photoOf(chartScene(), {cameraResponse(4.0, 1.0, 1.0, 1.0)});
    const auto clipped = PhotoCorrection::chart(*bright, kCorners);
    ASSERT_FALSE(clipped);
    EXPECT_NE(clipped.message().find("clipped"), std::string::npos) << clipped.message();
}

TEST(PhotoCorrection, WhiteBalanceMakesACastNeutralNeutral)
{
    const Matrix3 casts[] = {
        Matrix3::diagonal(1.25, 1.0, 0.7),
        Matrix3::diagonal(0.8, 1.0, 1.3),
        Matrix3::diagonal(0.55, 0.7, 0.5),
        cameraResponse(0.9, 1.1, 1.0, 0.75),
    };
    // A grey card to balance on, a darker grey to check, under grain.
    test::PhotoScene scene{.width = 120, .height = 60};
    scene.patches = {{0, 0, 60, 60, {0.45, 0.45, 0.45}}, {60, 0, 60, 60, {0.12, 0.12, 0.12}}};
    for (const Matrix3 &cast : casts) {
        const auto photo = photoOf(scene, {cast, 3.0});
        const auto reference = sampleArea(*photo, 30, 30, 15);
        const auto correction = PhotoCorrection::white(*reference);
        ASSERT_TRUE(correction) << correction.message();
        EXPECT_EQ(correction->kind(), CorrectionKind::White);
        for (const int x : {30, 90}) {
            const Lab lab = labOf(correction->correct(*sampleArea(*photo, x, 30, 15)));
            EXPECT_LE(std::fabs(lab.a), 1.0) << x;
            EXPECT_LE(std::fabs(lab.b), 1.0) << x;
        }
        // The reference keeps its own luminance.
        EXPECT_NEAR(labOf(correction->correct(*reference)).lightness, test::labOfLinear(reference->linear).lightness,
                    0.5);
    }
}

TEST(PhotoCorrection, CorrectedPicksReadTheCorrectedPicture)
{
    // One pixel: what the corrected view shows; more: the corrected mean,
    // gray converted for a gray view; the reference comes out exactly neutral.
    test::PhotoScene scene{.width = 90, .height = 60};
    scene.patches = {{0, 0, 45, 60, {0.45, 0.45, 0.45}}, {45, 0, 45, 60, test::linearOf(90, 110, 50)}};
    CImageDibObject picture;
    picture.adoptRows(90, 60, test::takePhoto(scene, {Matrix3::diagonal(1.2, 0.9, 0.6), 4.0}));
    const auto colour = PictureSource::make(picture, false);
    const auto correction = PhotoCorrection::white(*sampleArea(*colour, 20, 30, 9));
    ASSERT_TRUE(correction);
    for (const std::string_view zoom : {"50%", "100%", "200%"}) {
        for (const bool gray : {false, true}) {
            const auto view
                = VirtualPicture::create(PictureSource::make(picture, gray, correction->transform()),
                                         VirtualPicture::Kind::View, zoom);
            const int x = view->width() * 2 / 9;
            const int y = view->height() / 2;
            EXPECT_EQ(correctedPick(*view, *colour, x, y, 1), view->pixel(x, y));
            const auto mean = sampleArea(*colour, originalPixelOf(x, 90, view->width()),
                                         originalPixelOf(y, 60, view->height()), 9);
            const RgbColor c = correction->correct(*mean);
            const int level = gray::grayLevel(static_cast<std::uint8_t>(c.blue), static_cast<std::uint8_t>(c.green),
                                              static_cast<std::uint8_t>(c.red));
            const RgbColor expected = gray ? RgbColor{level, level, level} : c;
            EXPECT_EQ(correctedPick(*view, *colour, x, y, 9), expected) << zoom;
        }
    }
    const RgbColor reference = correction->correct(*sampleArea(*colour, 20, 30, 9));
    EXPECT_TRUE(reference.red == reference.green && reference.green == reference.blue);
}

TEST(PhotoCorrection, WhiteBalanceRefusals)
{
    struct Case {
        RgbColor reference;
        const char *message;
    };
    const Case cases[] = {
        {{30, 30, 30}, "too dark"},
        {{255, 240, 230}, "clipped"},
        {{200, 10, 10}, "too strongly coloured"},
    };
    for (const Case &c : cases) {
        AreaSample sample;
        sample.color = c.reference;
        sample.linear = test::linearOf(c.reference.red, c.reference.green, c.reference.blue);
        const auto correction = PhotoCorrection::white(sample);
        ASSERT_FALSE(correction) << c.message;
        EXPECT_NE(correction.message().find(c.message), std::string::npos) << correction.message();
    }
    // Partly burnt out: a tenth of the pixels at 255 is too many.
    AreaSample partly;
    partly.color = {240, 238, 236};
    partly.linear = test::linearOf(240, 238, 236);
    partly.pixels = 81;
    partly.clippedPixels = 9;
    EXPECT_FALSE(PhotoCorrection::white(partly));
    partly.clippedPixels = 8;
    EXPECT_TRUE(PhotoCorrection::white(partly));
}

} // namespace
} // namespace pigmora
