#include "engine/photocorrection.h"

#include "engine/whitebalance.h"
#include "image/picturesource.h"
#include "image/virtualpicture.h"

namespace pigmora {

namespace {

Result<PhotoCorrection> noMemory()
{
    return Status::error("not enough memory for the correction");
}

} // namespace

Result<PhotoCorrection> PhotoCorrection::white(const AreaSample &reference)
{
    auto matrix = whiteBalanceMatrix(reference);
    if (!matrix)
        return matrix.status();
    PhotoCorrection correction;
    correction.m_kind = CorrectionKind::White;
    correction.m_transform = ColorTransform::make(*matrix);
    return correction.m_transform ? Result<PhotoCorrection>(std::move(correction)) : noMemory();
}

Result<PhotoCorrection> PhotoCorrection::chart(const PictureSource &picture, const std::array<chart::Point, 4> &corners)
{
    auto fit = chart::fitChart(picture, corners);
    if (!fit)
        return fit.status();
    PhotoCorrection correction;
    correction.m_kind = CorrectionKind::Chart;
    correction.m_transform = ColorTransform::make(fit->matrix);
    correction.m_fit = std::move(*fit);
    return correction.m_transform ? Result<PhotoCorrection>(std::move(correction)) : noMemory();
}

std::string_view PhotoCorrection::name() const
{
    switch (m_kind) {
    case CorrectionKind::White:
        return "white";
    case CorrectionKind::Chart:
        return "chart";
    case CorrectionKind::None:
        break;
    }
    return {};
}

RgbColor PhotoCorrection::correct(const AreaSample &sample) const
{
    return m_transform ? m_transform->applyLinear(sample.linear) : sample.color;
}

std::array<chart::Point, 4> originalPointsOf(const VirtualPicture &view, const std::array<int, 8> &viewCoordinates)
{
    const PictureSource &source = *view.source();
    std::array<chart::Point, 4> points{};
    for (std::size_t i = 0; i < points.size(); ++i)
        points[i] = {originalPositionOf(viewCoordinates[2 * i], source.width(), view.width()),
                     originalPositionOf(viewCoordinates[2 * i + 1], source.height(), view.height())};
    return points;
}

} // namespace pigmora
