#pragma once

#include "engine/photocorrection.h"

#include <array>
#include <optional>
#include <string>

namespace CLI {
class App;
}

namespace pigmora {
class VirtualPicture;
}

namespace pigmora::cli {

class Context;

// The options of "pick" and "view" that sample an area and correct the
// photo's colours, as typed.
struct CorrectionOptions {
    std::string sample; // N; empty: one pixel
    std::string white; // X,Y
    std::string chart; // X1,Y1,X2,Y2,X3,Y3,X4,Y4
};

void addCorrectionOptions(CLI::App &command, CorrectionOptions &options);

// The options checked, before the photo is opened.
struct CorrectionRequest {
    int sample = 1;
    bool sampleGiven = false;
    std::optional<std::array<int, 2>> white;
    std::optional<std::array<int, 8>> chart;
};

// Nothing (the reason printed) for a malformed value, a sample size that is
// not odd or not within 1..51, or both corrections at once.
std::optional<CorrectionRequest> parseCorrection(Context &context, const CorrectionOptions &options);

// The correction the request asks for, measured on the colour view picture
// (its coordinates are view pixels); none asked: no correction. Nothing (the
// reason printed) for a point outside the view or a refused correction.
std::optional<PhotoCorrection> makeCorrection(Context &context, const CorrectionRequest &request,
                                              const VirtualPicture &view);

} // namespace pigmora::cli
