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
#include "store/safefile.h"

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

// The picture (or the region of it) written band by band into a file that
// appears only when complete.
Status writeView(const VirtualPicture &picture, const Region &area, const std::filesystem::path &path)
{
    safefile::OutputFile out(path);
    if (Status opened = out.open(); !opened)
        return opened;
    const Status written = writeBitmap24Bands(
        area.width, area.height, picture.tileSide(),
        [&](int y, int rows) { return picture.region(area.x, area.y + y, area.width, rows); },
        [&](const std::uint8_t *bytes, std::size_t size) { return out.write(bytes, size); });
    if (!written) {
        const Status reason = out.writeStatus(); // a write error, when there was one
        return reason ? written : reason;
    }
    return out.commit();
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
    if (safefile::sameFile(options.photo, options.output))
        return context.fail(options.output + " is the photo itself; name another file for the picture");
    CImageEngine engine;
    std::string_view zoom;
    const CImageDibObject *base = openPhoto(context, options, engine, zoom);
    if (!base)
        return kExitFailure;
    const auto correction = measureCorrection(context, options, *request, *base, zoom);
    if (!correction)
        return kExitFailure;
    const auto picture
        = virtualPicture(context, options, *base, zoom, options.magnified, options.gray, correction->transform());
    if (!picture)
        return kExitFailure;
    const std::string kind = options.magnified ? "magnified" : "view";
    Region area{0, 0, picture->width(), picture->height()};
    if (region) {
        if (region->x > picture->width() - region->width || region->y > picture->height() - region->height)
            return context.fail("region " + options.region + " is not inside the " + kind + " picture ("
                                + sizeText(*picture) + ")");
        area = *region;
    } else if (!bitmap24FileSize(area.width, area.height)) {
        return context.fail("the " + kind + " picture at " + std::string(zoom) + " is " + sizeText(*picture)
                            + " pixels, more than a bitmap file holds (4 GiB); write a part of it with --region "
                              "X,Y,W,H");
    }
    const Status written = writeView(*picture, area, options.output);
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
