#pragma once

#include "image/imagedibobject.h"
#include "image/picturedecoder.h"
#include "image/picturesource.h"
#include "image/virtualpicture.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>

namespace pigmora {

// Opening a picture for the picture view off the window thread: reading and
// decoding the file, a quick preview first where the format allows one, the
// zoom step it opens at, and the view picture with its first screen
// computed. The window thread then only takes the result over.
struct PictureLoadRequest {
    std::filesystem::path path;
    // The room the view has, in view pixels: a picture larger than it opens
    // at the largest zoom step that fits (openZoomIndex), and the part of
    // the view it shows first is computed. 0: 100 %, nothing computed.
    int roomWidth = 0;
    int roomHeight = 0;
    // Longest side a view picture may have; a picture longer at 100 % is
    // refused as too large.
    int maxSide = 0;
    PictureTone tone = PictureTone::Colour;
    VirtualPictureOptions viewOptions;
};

struct PictureLoad {
    enum class Outcome {
        Opened,
        Missing, // the file is not there
        Unreadable, // nothing to explain: an extension not read, no picture made
        Refused, // message says why
        TooLarge, // longer than maxSide at 100 %
        Cancelled, // asked to stop
    };
    Outcome outcome = Outcome::Unreadable;
    std::string message;
    // With Opened: the picture (not yet in an engine), its pixels as the
    // view reads them, the zoom step and the view picture at that step with
    // the room's top-left part computed.
    std::unique_ptr<CImageDibObject> base;
    std::shared_ptr<const PictureSource> source;
    int zoomIndex = 0;
    std::unique_ptr<VirtualPicture> view;
};

// What the loading reports while it works (on the loading thread).
struct PictureLoadEvents {
    // A JPEG's 1/8 preview and the size the whole picture will have.
    std::function<void(PicturePreview &&preview)> preview;
    // Rows decoded, in percent of the picture.
    std::function<void(int percent)> progress;
};

PictureLoad loadPictureForView(const PictureLoadRequest &request, const PictureLoadEvents &events,
                               std::stop_token stop = {});

} // namespace pigmora
