// Commands on photographs: "view" writes the picture as the picture view shows
// it (or the magnifier's magnified picture, whole or one rectangle of it),
// "pick" answers the colour pick at one of its pixels; both can correct the
// photo's colours first (white balance or chart calibration).
#include "cli/colorarg.h"
#include "cli/commands.h"
#include "cli/context.h"
#include "cli/correctionoptions.h"
#include "cli/matchoutput.h"
#include "cli/matchsetup.h"

#include "image/bmpwriter.h"
#include "image/imagedibobject.h"
#include "image/imageengine.h"
#include "image/picturebitmap.h"
#include "image/picturesampler.h"
#include "image/viewbuilder.h"
#include "image/virtualpicture.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

namespace pigmora::cli {

namespace {

struct ViewOptions {
    std::string photo;
    std::string output;
    std::string zoom = "100%";
    bool gray = false;
    bool magnified = false;
    std::string region; // X,Y,W,H; empty: the whole picture
    std::string x;
    std::string y;
    CorrectionOptions correction;
    MatchOptions match;
};

// The zoom step named by "25%" or "25"; nothing for a text that is no step.
std::optional<std::string_view> zoomStep(const std::string &text)
{
    const std::string withPercent = text.empty() || text.back() == '%' ? text : text + '%';
    const auto step = std::find(kZoomSteps.begin(), kZoomSteps.end(), withPercent);
    return step == kZoomSteps.end() ? std::nullopt : std::optional<std::string_view>(*step);
}

struct Region {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// "X,Y,W,H": four whole numbers, X and Y from 0, W and H from 1.
std::optional<Region> parseRegion(const std::string &text)
{
    const auto numbers = parseIntList(text, 4, 0, std::numeric_limits<int>::max());
    if (!numbers || (*numbers)[2] < 1 || (*numbers)[3] < 1)
        return std::nullopt;
    return Region{(*numbers)[0], (*numbers)[1], (*numbers)[2], (*numbers)[3]};
}

// Opens the photo as the picture view opens a file, after checking the zoom
// step: the base picture in the engine, or none (the reason already told).
const CImageDibObject *openPhoto(Context &context, const ViewOptions &options, CImageEngine &engine,
                                 std::string_view &zoom)
{
    const auto step = zoomStep(options.zoom);
    if (!step) {
        context.fail("unknown zoom step '" + options.zoom
                     + "' (10%, 25%, 50%, 75%, 100%, 125%, 150%, 175%, 200%, "
                       "300%, 400%, 600% or 800%)");
        return nullptr;
    }
    zoom = *step;
    std::error_code ec;
    if (!std::filesystem::exists(options.photo, ec)) {
        context.fail(options.photo + ": 文件不存在!");
        return nullptr;
    }

    engine.initialise();
    std::string baseId;
    const auto loaded = engine.loadPictureFile(options.photo, baseId);
    if (!loaded || !loaded.value()) {
        // A decoder's reason when it has one, else the picture view's message.
        const std::string reason = loaded.message().empty() ? "不能读入指定的图像文件!" : loaded.message();
        context.fail(options.photo + ": " + reason);
        return nullptr;
    }
    return loaded.value();
}

// The whole view (or magnified) picture, built by the image engine; with a
// correction, from a corrected copy of the base picture.
std::optional<PictureBitmap> wholePicture(Context &context, const ViewOptions &options, CImageEngine &engine,
                                          const CImageDibObject &base, std::string_view zoom,
                                          const ColorTransform *transform)
{
    std::string baseId = base.pictureId();
    if (transform) {
        std::string copyId;
        CImageDibObject *copy = engine.duplicatePicture(baseId, copyId) ? engine.findPicture(copyId) : nullptr;
        std::uint8_t *pixels = copy ? copy->mutablePixels() : nullptr;
        if (!pixels) {
            context.fail(options.photo + ": not enough memory for the corrected picture");
            return std::nullopt;
        }
        transform->applyPixels(pixels, static_cast<std::size_t>(copy->width()) * static_cast<std::size_t>(copy->height()));
        baseId = copyId;
    }
    const std::string id = options.magnified ? buildMagnifiedPicture(engine, baseId, zoom, options.gray).pictureId
                                             : buildViewPicture(engine, baseId, zoom, options.gray).pictureId;
    const CImageDibObject *picture = engine.findPicture(id);
    if (!picture) {
        context.fail(options.photo + ": the " + (options.magnified ? "magnified" : "view")
                     + " picture could not be built");
        return std::nullopt;
    }
    // The bitmap shares the picture's pixels and outlives the engine.
    return picture->pictureToBitmap();
}

// The view (or magnified) picture computed tile by tile on demand, of the
// picture corrected by the transform when there is one.
std::unique_ptr<VirtualPicture> virtualPicture(Context &context, const ViewOptions &options,
                                               const CImageDibObject &base, std::string_view zoom, bool magnified,
                                               bool gray, std::shared_ptr<const ColorTransform> transform = nullptr)
{
    auto picture = VirtualPicture::create(PictureSource::make(base, gray, std::move(transform)),
                                          magnified ? VirtualPicture::Kind::Magnified : VirtualPicture::Kind::View,
                                          zoom);
    if (!picture)
        context.fail(options.photo + ": not enough memory for the " + (magnified ? "magnified" : "view")
                     + " picture at " + std::string(zoom));
    return picture;
}

std::string sizeText(const VirtualPicture &picture)
{
    return std::to_string(picture.width()) + " x " + std::to_string(picture.height());
}

// The correction asked for, measured on the colour view at the zoom step
// (its pixels are what the coordinates name); none asked: no correction.
std::optional<PhotoCorrection> measureCorrection(Context &context, const ViewOptions &options,
                                                 const CorrectionRequest &request, const CImageDibObject &base,
                                                 std::string_view zoom)
{
    if (!request.white && !request.chart)
        return PhotoCorrection();
    const auto colour = virtualPicture(context, options, base, zoom, false, false);
    if (!colour)
        return std::nullopt;
    return makeCorrection(context, request, *colour);
}

int runView(Context &context, const ViewOptions &options)
{
    std::optional<Region> region;
    if (!options.region.empty()) {
        region = parseRegion(options.region);
        if (!region)
            return context.fail("--region must be X,Y,W,H: whole numbers, X and Y from 0, W and H from 1");
    }
    const auto request = parseCorrection(context, options.correction);
    if (!request)
        return kExitFailure;
    CImageEngine engine;
    std::string_view zoom;
    const CImageDibObject *base = openPhoto(context, options, engine, zoom);
    if (!base)
        return kExitFailure;
    const auto correction = measureCorrection(context, options, *request, *base, zoom);
    if (!correction)
        return kExitFailure;
    std::optional<PictureBitmap> bitmap;
    if (!region) {
        bitmap = wholePicture(context, options, engine, *base, zoom, correction->transform().get());
    } else {
        const auto picture
            = virtualPicture(context, options, *base, zoom, options.magnified, options.gray, correction->transform());
        if (!picture)
            return kExitFailure;
        if (region->x > picture->width() - region->width || region->y > picture->height() - region->height)
            return context.fail("region " + options.region + " is not inside the "
                                + (options.magnified ? "magnified" : "view") + " picture (" + sizeText(*picture) + ")");
        bitmap = picture->region(region->x, region->y, region->width, region->height);
        if (bitmap->isNull())
            return context.fail(options.photo + ": not enough memory for region " + options.region);
    }
    if (!bitmap)
        return kExitFailure;
    const Status written = writeBitmap24(*bitmap, options.output);
    return written ? kExitOk : context.fail(written.message());
}

int runPick(Context &context, const ViewOptions &options)
{
    const auto x = parseInt(options.x, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    const auto y = parseInt(options.y, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    if (!x || !y)
        return context.fail("X and Y must be whole numbers (a pixel of the view picture)");
    const auto request = parseCorrection(context, options.correction);
    if (!request)
        return kExitFailure;
    const auto setup = prepareMatch(context, options.match);
    if (!setup)
        return kExitFailure;
    CImageEngine engine;
    std::string_view zoom;
    const CImageDibObject *base = openPhoto(context, options, engine, zoom);
    if (!base)
        return kExitFailure;
    // Only the pixels sampled are computed, never the whole zoomed picture.
    const auto view = virtualPicture(context, options, *base, zoom, false, options.gray);
    if (!view)
        return kExitFailure;
    if (*x < 0 || *y < 0 || *x >= view->width() || *y >= view->height())
        return context.fail("pixel (" + options.x + ", " + options.y + ") is outside the view picture ("
                            + sizeText(*view) + ")");
    const auto correction = measureCorrection(context, options, *request, *base, zoom);
    if (!correction)
        return kExitFailure;
    const auto sample = samplePick(*view, *x, *y, request->sample);
    if (!sample)
        return context.fail(options.photo + ": not enough memory for the view picture at " + std::string(zoom));
    // The answer keeps its plain shape unless a sample size or a correction was asked for.
    if (!request->sampleGiven && !correction->isOn()) {
        printMatch(context, *setup, sample->color);
        return kExitOk;
    }
    // The corrected colour is read from the view of the corrected picture.
    RgbColor target = sample->color;
    if (correction->isOn()) {
        const auto corrected
            = virtualPicture(context, options, *base, zoom, false, options.gray, correction->transform());
        const auto colour = PictureSource::make(*base, false);
        const auto pick = corrected && colour ? correctedPick(*corrected, *colour, *x, *y, request->sample)
                                              : std::nullopt;
        if (!pick)
            return context.fail(options.photo + ": not enough memory for the corrected picture");
        target = *pick;
    }
    const PickReport report{request->sample, sample->color, correction->isOn() ? &*correction : nullptr};
    printMatch(context, *setup, target, &report);
    return kExitOk;
}

void addViewOptions(CLI::App &command, ViewOptions &options)
{
    command.add_option("--zoom", options.zoom,
                       "Zoom step: 10% 25% 50% 75% 100% 125% 150% 175% 200% 300% 400% 600% "
                       "800% (default 100%)");
    command.add_flag("--gray", options.gray, "Black-and-white view");
    addCorrectionOptions(command, options.correction);
}

} // namespace

void addViewCommands(CLI::App &app, Commands &commands)
{
    auto view = std::make_shared<ViewOptions>();
    CLI::App *viewApp = app.add_subcommand("view", "Write the picture as the picture view shows it (24-bit BMP)");
    viewApp->add_option("PHOTO", view->photo, "JPEG, BMP/DIB or PNG file")->required();
    viewApp->add_option("OUT", view->output, "Output .bmp file")->required();
    addViewOptions(*viewApp, *view);
    viewApp->add_flag("--magnified", view->magnified, "The magnifier's magnified picture instead of the view picture");
    viewApp->add_option("--region", view->region,
                        "Only the rectangle X,Y,W,H of that picture, computed tile by tile without building it whole");
    commands.push_back({viewApp, [view](Context &context) { return runView(context, *view); }});

    auto pick = std::make_shared<ViewOptions>();
    CLI::App *pickApp = app.add_subcommand("pick", "The colour pick at pixel (X, Y) of the view picture");
    pickApp->add_option("PHOTO", pick->photo, "JPEG, BMP/DIB or PNG file")->required();
    pickApp->add_option("X", pick->x, "Column of the view picture")->required();
    pickApp->add_option("Y", pick->y, "Row of the view picture")->required();
    addViewOptions(*pickApp, *pick);
    addMatchOptions(*pickApp, pick->match);
    commands.push_back({pickApp, [pick](Context &context) { return runPick(context, *pick); }});
}

} // namespace pigmora::cli
