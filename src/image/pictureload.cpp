#include "image/pictureload.h"

#include "image/imagedibobject.h"
#include "image/imageengine.h"
#include "image/viewbuilder.h"

#include <algorithm>

namespace pigmora {

namespace {

PictureLoad refused(PictureLoad::Outcome outcome, std::string message = {})
{
    PictureLoad load;
    load.outcome = outcome;
    load.message = std::move(message);
    return load;
}

// A refusal with an empty message has nothing to explain.
PictureLoad refusedFor(const Status &status, const std::stop_token &stop)
{
    if (stop.stop_requested())
        return refused(PictureLoad::Outcome::Cancelled);
    return status.message().empty() ? refused(PictureLoad::Outcome::Unreadable)
                                    : refused(PictureLoad::Outcome::Refused, status.message());
}

} // namespace

PictureLoad loadPictureForView(const PictureLoadRequest &request, const PictureLoadEvents &events, std::stop_token stop)
{
    std::error_code ec;
    if (!std::filesystem::exists(request.path, ec))
        return refused(PictureLoad::Outcome::Missing);
    if (Status checked = checkPictureFile(request.path); !checked)
        return refusedFor(checked, stop);

    DecodeControl control;
    control.stop = stop;
    Result<std::vector<std::uint8_t>> bytes = readPictureFile(request.path, &control);
    if (!bytes)
        return refusedFor(bytes.status(), stop);
    const PictureFormat format = pictureFormatOf(request.path);
    if (format == PictureFormat::Jpeg && events.preview) {
        // Only the DC coefficients are transformed: a screenful long before
        // the exact picture. A preview that fails is no reason to stop; the
        // whole decode says what is wrong.
        if (Result<PicturePreview> preview = decodeJpegPreview(bytes.value(), &control); preview)
            events.preview(std::move(preview.value()));
        if (stop.stop_requested())
            return refused(PictureLoad::Outcome::Cancelled);
    }
    int lastPercent = -1;
    control.rows = [&events, &lastPercent](int done, int total) {
        const int percent = total > 0 ? done * 100 / total : 100;
        if (percent != lastPercent && events.progress) {
            lastPercent = percent;
            events.progress(percent);
        }
    };
    Result<DecodedPicture> decoded = decodePicture(format, bytes.value(), &control);
    bytes.value() = {}; // the file's bytes are not needed any more
    if (!decoded)
        return refusedFor(decoded.status(), stop);
    const int width = decoded.value().width;
    const int height = decoded.value().height;
    if (request.maxSide > 0 && (width > request.maxSide || height > request.maxSide))
        return refused(PictureLoad::Outcome::TooLarge);
    Result<std::unique_ptr<CImageDibObject>> base = pictureObjectOf(std::move(decoded.value()));
    if (!base)
        return refusedFor(base.status(), stop);

    PictureLoad load;
    load.base = std::move(base.value());
    load.source = PictureSource::make(*load.base, request.tone);
    if (!load.source)
        return refused(PictureLoad::Outcome::Unreadable);
    load.zoomIndex = openZoomIndex(width, height, request.roomWidth, request.roomHeight);
    const std::string_view step = kZoomSteps[static_cast<std::size_t>(load.zoomIndex)];
    load.view = VirtualPicture::create(load.source, VirtualPicture::Kind::View, step, request.viewOptions);
    if (!load.view)
        return refused(PictureLoad::Outcome::Unreadable);
    // The first screen: the top-left part the room shows.
    if (request.roomWidth > 0 && request.roomHeight > 0)
        load.view->prepare(0, 0, std::min(load.view->width(), request.roomWidth),
                           std::min(load.view->height(), request.roomHeight));
    if (stop.stop_requested())
        return refused(PictureLoad::Outcome::Cancelled);
    load.outcome = PictureLoad::Outcome::Opened;
    return load;
}

} // namespace pigmora
