#pragma once

#include <array>
#include <string>
#include <string_view>

namespace pigmora {

class CImageEngine;

// How the pictures the user sees derive from the base picture: the zoom
// steps and their factors, the view picture (copy, optional gray, zoom) and
// the magnified picture that feeds the magnifier. Pure functions over the
// image engine, shared by the picture view and the command-line companion.

inline constexpr std::array<std::string_view, 13> kZoomSteps
    = {"10%", "25%", "50%", "75%", "100%", "125%", "150%", "175%", "200%", "300%", "400%", "600%", "800%"};
inline constexpr int kRealSizeZoomIndex = 4;
inline constexpr int kHighestZoomIndex = static_cast<int>(kZoomSteps.size()) - 1;

// The zoom factor of a zoom text: the decimal number before "%" (the whole
// text without one; 100 when it is not a number) x 0.01, limited to 0.2 .. 8.
float zoomFactor(std::string_view zoomText);

// A side scaled by a factor: trunc(side x factor). The product is exact in
// double for any int side and float factor.
int scaledSide(int side, float factor);

// A side of the view picture at a zoom step: the side itself at "100%", else
// scaledSide, a side of 0 becoming 1 (as the virtual pictures make it).
int viewSide(int side, int zoomIndex);

// The largest zoom step at which the whole view picture fits into room
// (roomWidth x roomHeight); 0 when not even the smallest does.
int fitZoomIndex(int width, int height, int roomWidth, int roomHeight);

// The step a picture opens at: "100%" when it fits there (or the room is not
// known, a side 0 or less), else the largest step at which it fits.
int openZoomIndex(int width, int height, int roomWidth, int roomHeight);

// What a view build produced: the new picture's ID (empty when none could be
// built, e.g. a copy or gray conversion failed) and whether it is a scaled
// copy (any zoom text other than "100%", even when the scaling failed and
// the unscaled copy stands in).
struct ViewPicture {
    std::string pictureId;
    bool zoomed = false;
};

// Builds a new view picture from the base picture: a copy, gray when asked,
// then scaled to trunc(w x z) x trunc(h x z) unless the zoom text is "100%".
// A failed scaling leaves the unscaled copy as the result. Pictures made on
// the way that are not the result are deleted again; the previous view
// picture is the caller's to delete.
ViewPicture buildViewPicture(CImageEngine &engine, std::string_view baseId, std::string_view zoomText, bool gray);

// Scale s of the magnified picture relative to the base picture, and factor
// f relative to the view picture: s = 4z and f = 4 up to the "200%" step,
// beyond it s = 8 and f = 8 / z.
struct Magnification {
    float scale = 1.0f;
    float factor = 1.0f;
};
Magnification magnificationFor(float zoom);

struct MagnifiedPicture {
    std::string pictureId; // empty when none could be built
    float factor = 1.0f; // f, also when the scaling failed
};

// Builds the magnified picture: a copy of the base picture, gray when asked,
// scaled by s; the unscaled copy when the scaling fails.
MagnifiedPicture buildMagnifiedPicture(CImageEngine &engine, std::string_view baseId, std::string_view zoomText,
                                       bool gray);

} // namespace pigmora
