#include "engine/photocorrection.h"

#include "engine/whitebalance.h"
#include "image/graykernel.h"
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

std::optional<RgbColor> correctedPick(const VirtualPicture &correctedView, const PictureSource &colour, int x, int y,
                                      int size)
{
    const auto &transform = correctedView.source()->transform();
    if (!transform || size == 1 || colour.width() != correctedView.source()->width()
        || colour.height() != correctedView.source()->height()) {
        const auto sample = samplePick(correctedView, x, y, size);
        return sample ? std::optional<RgbColor>(sample->color) : std::nullopt;
    }
    if (!isSampleSize(size) || x < 0 || y < 0 || x >= correctedView.width() || y >= correctedView.height())
        return std::nullopt;
    const auto sample = sampleArea(colour, originalPixelOf(x, colour.width(), correctedView.width()),
                                   originalPixelOf(y, colour.height(), correctedView.height()), size);
    if (!sample)
        return std::nullopt;
    RgbColor corrected = transform->applyLinear(sample->linear);
    if (correctedView.gray()) {
        const int level = gray::grayLevel(static_cast<std::uint8_t>(corrected.blue),
                                          static_cast<std::uint8_t>(corrected.green),
                                          static_cast<std::uint8_t>(corrected.red));
        corrected = {level, level, level};
    }
    return corrected;
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
