// Commands on photographs: "view" writes the picture as the picture view shows
// it, "pick" answers the colour pick at one of its pixels.
#include "cli/colorarg.h"
#include "cli/commands.h"
#include "cli/context.h"
#include "cli/matchsetup.h"

#include "image/bmpwriter.h"
#include "image/imagedibobject.h"
#include "image/imageengine.h"
#include "image/picturebitmap.h"
#include "image/viewbuilder.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <memory>

namespace pigmora::cli {

namespace {

struct ViewOptions {
    std::string photo;
    std::string output;
    std::string zoom = "100%";
    bool gray = false;
    std::string x;
    std::string y;
    MatchOptions match;
};

// The zoom step named by "25%" or "25"; nothing for a text that is no step.
std::optional<std::string_view> zoomStep(const std::string &text)
{
    const std::string withPercent = text.empty() || text.back() == '%' ? text : text + '%';
    const auto step = std::find(kZoomSteps.begin(), kZoomSteps.end(), withPercent);
    return step == kZoomSteps.end() ? std::nullopt : std::optional<std::string_view>(*step);
}

// Opens the photo as the picture view opens a file and builds the view
// picture for the zoom step and gray state.
std::optional<PictureBitmap> viewOf(Context &context, const ViewOptions &options)
{
    const auto zoom = zoomStep(options.zoom);
    if (!zoom) {
        context.fail("unknown zoom step '" + options.zoom
                     + "' (10%, 25%, 50%, 75%, 100%, 125%, 150%, 175%, 200%, "
                       "300%, 400%, 600% or 800%)");
        return std::nullopt;
    }
    std::error_code ec;
    if (!std::filesystem::exists(options.photo, ec)) {
        context.fail(options.photo + ": 文件不存在!");
        return std::nullopt;
    }

    CImageEngine engine;
    engine.initialise();
    std::string baseId;
    const auto loaded = engine.loadPictureFile(options.photo, baseId);
    if (!loaded || !loaded.value()) {
        // A decoder's reason when it has one, else the picture view's message.
        const std::string reason = loaded.message().empty() ? "不能读入指定的图像文件!" : loaded.message();
        context.fail(options.photo + ": " + reason);
        return std::nullopt;
    }
    const ViewPicture view = buildViewPicture(engine, baseId, *zoom, options.gray);
    const CImageDibObject *picture = engine.findPicture(view.pictureId);
    if (!picture) {
        context.fail(options.photo + ": the view picture could not be built");
        return std::nullopt;
    }
    // The bitmap shares the picture's pixels and outlives the engine.
    return picture->pictureToBitmap();
}

int runView(Context &context, const ViewOptions &options)
{
    const auto bitmap = viewOf(context, options);
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
    const auto setup = prepareMatch(context, options.match);
    if (!setup)
        return kExitFailure;
    const auto bitmap = viewOf(context, options);
    if (!bitmap)
        return kExitFailure;
    const auto color = bitmap->colorAt(*x, *y);
    if (!color) {
        return context.fail("pixel (" + options.x + ", " + options.y + ") is outside the view picture ("
                            + std::to_string(bitmap->width()) + " x " + std::to_string(bitmap->height()) + ")");
    }
    printMatch(context, *setup, *color);
    return kExitOk;
}

void addViewOptions(CLI::App &command, ViewOptions &options)
{
    command.add_option("--zoom", options.zoom,
                       "Zoom step: 10% 25% 50% 75% 100% 125% 150% 175% 200% 300% 400% 600% "
                       "800% (default 100%)");
    command.add_flag("--gray", options.gray, "Black-and-white view");
}

} // namespace

void addViewCommands(CLI::App &app, Commands &commands)
{
    auto view = std::make_shared<ViewOptions>();
    CLI::App *viewApp = app.add_subcommand("view", "Write the picture as the picture view shows it (24-bit BMP)");
    viewApp->add_option("PHOTO", view->photo, "JPEG, BMP/DIB or PNG file")->required();
    viewApp->add_option("OUT", view->output, "Output .bmp file")->required();
    addViewOptions(*viewApp, *view);
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
