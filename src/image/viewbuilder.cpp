#include "image/viewbuilder.h"

#include "image/imageengine.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <optional>

namespace pigmora {

namespace {

// A copy of the base picture, gray when asked, scaled by `factor` when one is
// given (the unscaled copy when that fails). Returns the result's ID, empty
// when the copy or the gray conversion failed; nothing else is left behind.
std::string derivePicture(CImageEngine &engine, std::string_view baseId, bool gray, std::optional<float> factor)
{
    const CImageDibObject *base = engine.findPicture(baseId);
    if (!base)
        return {};
    const int width = base->width();
    const int height = base->height();

    std::string copyId;
    bool success = engine.duplicatePicture(baseId, copyId);
    if (success && gray)
        success = engine.grayPicture(copyId);
    if (!success) {
        if (!copyId.empty())
            engine.deletePicture(copyId);
        return {};
    }
    if (!factor)
        return copyId;

    std::string scaledId;
    if (engine.scalePicture(copyId, scaledId, scaledSide(width, *factor), scaledSide(height, *factor))) {
        engine.deletePicture(copyId);
        return scaledId;
    }
    // A refused scale leaves an empty picture behind: not worth keeping.
    if (!scaledId.empty())
        engine.deletePicture(scaledId);
    return copyId;
}

} // namespace

float zoomFactor(std::string_view zoomText)
{
    if (const auto percent = zoomText.find('%'); percent != std::string_view::npos)
        zoomText = zoomText.substr(0, percent);
    int number = 100;
    const char *end = zoomText.data() + zoomText.size();
    if (const auto [rest, error] = std::from_chars(zoomText.data(), end, number);
        error != std::errc() || rest != end || zoomText.empty())
        number = 100;
    float z = static_cast<float>(number * 0.01);
    if (z < 0.2)
        z = 0.2f;
    else if (z > 8)
        z = 8.0f;
    return z;
}

int scaledSide(int side, float factor)
{
    const double v = std::trunc(static_cast<double>(side) * static_cast<double>(factor));
    if (!(v > 0))
        return 0;
    return v >= static_cast<double>(INT_MAX) ? INT_MAX : static_cast<int>(v);
}

int viewSide(int side, int zoomIndex)
{
    const std::string_view step = kZoomSteps[static_cast<std::size_t>(std::clamp(zoomIndex, 0, kHighestZoomIndex))];
    if (step == "100%")
        return side;
    return std::max(1, scaledSide(side, zoomFactor(step)));
}

int fitZoomIndex(int width, int height, int roomWidth, int roomHeight)
{
    for (int index = kHighestZoomIndex; index > 0; --index) {
        if (viewSide(width, index) <= roomWidth && viewSide(height, index) <= roomHeight)
            return index;
    }
    return 0;
}

int openZoomIndex(int width, int height, int roomWidth, int roomHeight)
{
    if (roomWidth <= 0 || roomHeight <= 0)
        return kRealSizeZoomIndex;
    return std::min(kRealSizeZoomIndex, fitZoomIndex(width, height, roomWidth, roomHeight));
}

ViewPicture buildViewPicture(CImageEngine &engine, std::string_view baseId, std::string_view zoomText, bool gray)
{
    ViewPicture view;
    view.zoomed = zoomText != "100%";
    view.pictureId
        = derivePicture(engine, baseId, gray, view.zoomed ? std::optional<float>(zoomFactor(zoomText)) : std::nullopt);
    return view;
}

Magnification magnificationFor(float zoom)
{
    if (zoom <= 2.000001)
        return {4 * zoom, 4.0f};
    return {8.0f, 8 / zoom};
}

MagnifiedPicture buildMagnifiedPicture(CImageEngine &engine, std::string_view baseId, std::string_view zoomText,
                                       bool gray)
{
    const Magnification m = magnificationFor(zoomFactor(zoomText));
    return {derivePicture(engine, baseId, gray, m.scale), m.factor};
}

} // namespace pigmora
