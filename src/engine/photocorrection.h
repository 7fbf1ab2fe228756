#pragma once

#include "data/color.h"
#include "data/status.h"
#include "engine/chartfit.h"
#include "image/colortransform.h"
#include "image/picturesampler.h"

#include <memory>
#include <optional>
#include <string_view>

namespace pigmora {

class PictureSource;
class VirtualPicture;

enum class CorrectionKind { None, White, Chart };

// The colour correction of one open picture: none, a white balance on a
// neutral reference, or a calibration with a 24-patch chart. Both are a
// 3 x 3 matrix in linear sRGB, one ColorTransform. The corrected picture is
// PictureSource::make(base, gray, transform()): its views (any zoom step,
// the magnifier) are VirtualPictures of that source, and correctedPick reads
// a pick from them, so the corrected view and the corrected pick agree pixel
// for pixel. Corrections are measured on the colour picture, never the gray
// one. A plain value: the picture that owns it replaces it, and drops it
// when another picture is opened.
class PhotoCorrection
{
public:
    PhotoCorrection() = default; // none

    // The white balance on a reference sample (the pick's sample there, on
    // the colour view).
    static Result<PhotoCorrection> white(const AreaSample &reference);
    // The chart calibration from the centres of patches 1, 6, 24 and 19 in
    // the coordinates of the picture (colour, never gray).
    static Result<PhotoCorrection> chart(const PictureSource &picture, const std::array<chart::Point, 4> &corners);

    CorrectionKind kind() const { return m_kind; }
    bool isOn() const { return m_kind != CorrectionKind::None; }
    // "white" or "chart" (empty for none), as the command line names them.
    std::string_view name() const;
    // Null for none.
    const std::shared_ptr<const ColorTransform> &transform() const { return m_transform; }
    // The chart's fit, for a chart calibration.
    const std::optional<chart::Fit> &chartFit() const { return m_fit; }

    // The correction of a sample's linear mean (the sample's colour as it is
    // without a correction): the chart patches' corrected colours.
    RgbColor correct(const AreaSample &sample) const;

private:
    CorrectionKind m_kind = CorrectionKind::None;
    std::shared_ptr<const ColorTransform> m_transform;
    std::optional<chart::Fit> m_fit;
};

// The colour a pick at view pixel (x, y) stands for on a view of the
// corrected picture: one pixel is that view's pixel, what the corrected view
// shows there; a larger sample is the correction of the mean of the original
// colour pixels (colour: the uncorrected colour source), in linear light
// before any rounding, then gray converted when the view is gray. Without a
// correction in the view's source, the plain pick. None outside the view or
// for a refused size or memory.
std::optional<RgbColor> correctedPick(const VirtualPicture &correctedView, const PictureSource &colour, int x, int y,
                                      int size);

// The centres of four view pixels (corner clicks) in the coordinates of the
// view's original picture.
std::array<chart::Point, 4> originalPointsOf(const VirtualPicture &view, const std::array<int, 8> &viewCoordinates);

} // namespace pigmora
