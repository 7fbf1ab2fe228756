#include "cli/correctionoptions.h"

#include "cli/colorarg.h"
#include "cli/context.h"

#include "image/picturesampler.h"
#include "image/virtualpicture.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <limits>

namespace pigmora::cli {

namespace {

constexpr int kAny = std::numeric_limits<int>::max();

bool inside(const VirtualPicture &view, int x, int y)
{
    return x >= 0 && y >= 0 && x < view.width() && y < view.height();
}

std::string pointText(int x, int y)
{
    return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

std::string viewSizeText(const VirtualPicture &view)
{
    return "the view picture (" + std::to_string(view.width()) + " x " + std::to_string(view.height()) + ")";
}

} // namespace

void addCorrectionOptions(CLI::App &command, CorrectionOptions &options)
{
    command.add_option("--sample", options.sample,
                       "Sample size N (odd, 1..51): the mean in linear light of N x N pixels of the original picture");
    command.add_option("--white", options.white, "White balance on the neutral at view pixel X,Y");
    command.add_option("--chart", options.chart,
                       "Calibrate with the 24-patch chart whose patches 1, 6, 24 and 19 are centred at view pixels "
                       "X1,Y1,X2,Y2,X3,Y3,X4,Y4");
}

std::optional<CorrectionRequest> parseCorrection(Context &context, const CorrectionOptions &options)
{
    CorrectionRequest request;
    if (!options.sample.empty()) {
        const auto size = parseInt(options.sample, -kAny, kAny);
        if (!size || !isSampleSize(*size)) {
            context.fail("--sample must be an odd whole number from 1 to 51, not '" + options.sample + "'");
            return std::nullopt;
        }
        request.sample = *size;
        request.sampleGiven = true;
    }
    if (!options.white.empty()) {
        const auto point = parseIntList(options.white, 2, -kAny, kAny);
        if (!point) {
            context.fail("--white must be X,Y: two whole numbers (a pixel of the view picture)");
            return std::nullopt;
        }
        request.white = std::array<int, 2>{(*point)[0], (*point)[1]};
    }
    if (!options.chart.empty()) {
        const auto points = parseIntList(options.chart, 8, -kAny, kAny);
        if (!points) {
            context.fail("--chart must be X1,Y1,X2,Y2,X3,Y3,X4,Y4: eight whole numbers, the centres of patches 1, "
                         "6, 24 and 19 in view pixels");
            return std::nullopt;
        }
        request.chart.emplace();
        std::copy(points->begin(), points->end(), request.chart->begin());
    }
    if (request.white && request.chart) {
        context.fail("--white and --chart cannot be used together");
        return std::nullopt;
    }
    return request;
}

std::optional<PhotoCorrection> makeCorrection(Context &context, const CorrectionRequest &request,
                                              const VirtualPicture &view)
{
    if (request.white) {
        const auto [x, y] = *request.white;
        if (!inside(view, x, y)) {
            context.fail("white reference " + pointText(x, y) + " is outside " + viewSizeText(view));
            return std::nullopt;
        }
        const auto reference = samplePick(view, x, y, request.sample);
        if (!reference) {
            context.fail("not enough memory for the white reference");
            return std::nullopt;
        }
        auto correction = PhotoCorrection::white(*reference);
        if (!correction) {
            context.fail(correction.message());
            return std::nullopt;
        }
        return std::move(*correction);
    }
    if (request.chart) {
        const std::array<int, 8> &c = *request.chart;
        for (std::size_t i = 0; i < 4; ++i) {
            if (!inside(view, c[2 * i], c[2 * i + 1])) {
                context.fail("chart corner " + std::to_string(i + 1) + " " + pointText(c[2 * i], c[2 * i + 1])
                             + " is outside " + viewSizeText(view));
                return std::nullopt;
            }
        }
        auto correction = PhotoCorrection::chart(*view.source(), originalPointsOf(view, c));
        if (!correction) {
            context.fail(correction.message());
            return std::nullopt;
        }
        return std::move(*correction);
    }
    return PhotoCorrection();
}

} // namespace pigmora::cli
