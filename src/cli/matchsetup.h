#pragma once

#include "data/color.h"
#include "data/records.h"
#include "data/standardcolorcard.h"
#include "engine/mixsolver.h"
#include "engine/recipe.h"

#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace pigmora::cli {

class Context;

// The options every command that answers a colour pick takes ("match", "pick").
struct MatchOptions {
    std::string box;
    std::string paints;
    std::string mode;
    std::string card = "pantone";
    int maxParts = kDefaultMaxParts;
    bool json = false;
    std::vector<std::string> colors;
};

void addMatchOptions(CLI::App &command, MatchOptions &options);

// What a pick is answered from: the box, the mixing model and the card.
struct MatchSetup {
    std::vector<PaintColorRecord> box;
    // Tinting strengths of the box's paints (pigment model), and where they
    // come from: "stored" (fitted from the data folder's observations),
    // "box" (the --paints strength column) or "none".
    std::vector<double> strengths;
    std::string strengthSource = "none";
    int maxParts = kDefaultMaxParts;
    MixModel model = MixModel::Subtractive;
    std::optional<CStandardColorCard::Card> card;
    const CStandardColorCard *cards = nullptr;
    bool json = false;
};

// Checks the options and prepares the data folder; nothing (the reason
// printed) when an option or the data is unusable.
std::optional<MatchSetup> prepareMatch(Context &context, const MatchOptions &options);

struct PickReport;

// Answers one colour on stdout, as text or as one JSON line (with the
// report's fields when there is one).
void printMatch(Context &context, const MatchSetup &setup, const RgbColor &target,
                const PickReport *report = nullptr);

} // namespace pigmora::cli
