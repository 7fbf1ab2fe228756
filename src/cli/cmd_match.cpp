// The colour pick's answer from the command line: "match".
#include "cli/colorarg.h"
#include "cli/commands.h"
#include "cli/context.h"
#include "cli/csv.h"
#include "cli/json.h"
#include "cli/matchoutput.h"
#include "cli/output.h"

#include "data/platform.h"
#include "engine/colorpick.h"

#include <CLI/CLI.hpp>

#include <istream>
#include <memory>
#include <ostream>

namespace pigmora::cli {

namespace {

struct MatchOptions {
    std::string box;
    std::string paints;
    std::string mode;
    std::string card = "pantone";
    bool json = false;
    std::vector<std::string> colors;
};

// An ad-hoc colour box from a CSV file "code,name,r,g,b": each row becomes a
// paint as the catalogue records one (group 0, strength 1.0, mixing class 2,
// user origin) and is put into the box.
std::optional<std::vector<PaintColorRecord>> readPaintsFile(Context &context, const std::string &path)
{
    auto table = readCsvFile(path);
    if (!table) {
        context.fail(table.message());
        return std::nullopt;
    }
    if (Status header = expectHeader(*table, {"code", "name", "r", "g", "b"}); !header) {
        context.fail(path + ": " + header.message());
        return std::nullopt;
    }
    CColorManager box(context.dataDir());
    box.buildBuiltInCatalogue();
    box.clearCatalogue();
    box.clearCurrentBox();
    for (std::size_t i = 0; i < table->rows.size(); ++i) {
        const CsvRow &row = table->rows[i];
        const std::string where = path + ", line " + std::to_string(table->lineNumbers[i]) + ": ";
        if (row.size() != 5) {
            context.fail(where + "expected 5 fields (code,name,r,g,b), found " + std::to_string(row.size()));
            return std::nullopt;
        }
        const auto red = parseInt(row[2], 0, 255);
        const auto green = parseInt(row[3], 0, 255);
        const auto blue = parseInt(row[4], 0, 255);
        if (!red || !green || !blue) {
            context.fail(where + "r, g and b must be whole numbers 0..255");
            return std::nullopt;
        }
        if (row[0].empty() || row[1].empty()) {
            context.fail(where + "code and name must not be empty");
            return std::nullopt;
        }
        if (!platform::utf8ToGbk(row[0]) || !platform::utf8ToGbk(row[1])) {
            context.fail(where + "the code or name holds characters the paint records cannot store");
            return std::nullopt;
        }
        if (!box.addCatalogueColor(row[0], row[1], "", {*red, *green, *blue}, 1.0f, 2, 0,
                                   PaintColorRecord::kOriginUser)
            || !box.addToCurrentBox(row[0], row[1])) {
            context.fail(where + "paint " + row[0] + " " + row[1] + " is listed twice");
            return std::nullopt;
        }
    }
    const auto records = box.currentBoxRecords();
    return std::vector<PaintColorRecord>(records.begin(), records.end());
}

int runMatch(Context &context, const MatchOptions &options)
{
    std::optional<MixModel> model;
    if (options.mode == "subtractive")
        model = MixModel::Subtractive;
    else if (options.mode == "spatial")
        model = MixModel::Spatial;
    else if (!options.mode.empty())
        return context.fail("unknown mixing mode '" + options.mode + "' (subtractive or spatial)");

    std::optional<CStandardColorCard::Card> card;
    if (options.card != "none") {
        card = cardFromName(options.card);
        if (!card)
            return context.fail("unknown colour card '" + options.card + "' (pantone, ral, building or none)");
    }
    if (!options.box.empty() && !options.paints.empty())
        return context.fail("--box and --paints cannot be used together");

    auto targets = parseColorArguments(context, options.colors);
    if (!targets)
        return kExitFailure;

    Session *session = context.session();
    if (!session)
        return kExitFailure;
    if (!model)
        model = session->mixingMode() == 1 ? MixModel::Spatial : MixModel::Subtractive;

    std::vector<PaintColorRecord> box;
    if (!options.paints.empty()) {
        auto paints = readPaintsFile(context, options.paints);
        if (!paints)
            return kExitFailure;
        box = std::move(*paints);
    } else if (!options.box.empty()) {
        CColorManager &colors = session->colors();
        if (!colors.colorBoxExists(options.box) || !colors.loadColorBox(options.box))
            return context.fail("no colour box named '" + options.box + "'");
        const auto current = colors.currentBoxRecords();
        box.assign(current.begin(), current.end());
    } else {
        const auto current = session->colors().currentBoxRecords();
        box.assign(current.begin(), current.end());
    }

    const CStandardColorCard *cards = card ? &context.cards() : nullptr;
    auto answer = [&](const RgbColor &target) {
        const ColorPick pick = pickColor(box, target, *model, cards, card);
        context.io.out << (options.json ? matchJson(pick, card) : matchText(pick, card)) << '\n';
    };

    if (!options.colors.empty()) {
        for (const RgbColor &target : *targets)
            answer(target);
        return kExitOk;
    }
    std::string line;
    int lineNumber = 0;
    while (std::getline(context.io.in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos)
            continue;
        const auto target = parseColor(line);
        if (!target) {
            return context.fail("stdin line " + std::to_string(lineNumber) + ": malformed colour '" + line
                                + "' (expected R,G,B with values 0..255, or #RRGGBB)");
        }
        answer(*target);
    }
    return kExitOk;
}

} // namespace

void addMatchCommands(CLI::App &app, Commands &commands)
{
    auto options = std::make_shared<MatchOptions>();
    CLI::App *match = app.add_subcommand("match", "Best mix of one, two or three paints for each colour");
    match->add_option("--box", options->box, "Colour box to mix from (default: the current box)");
    match->add_option("--paints", options->paints, "Ad-hoc colour box: UTF-8 CSV with header code,name,r,g,b");
    match->add_option("--mode", options->mode, "subtractive or spatial (default: the configured mixing mode)");
    match->add_option("--card", options->card, "pantone, ral, building or none (default pantone)");
    match->add_flag("--json", options->json, "One JSON object per colour");
    match->add_option("COLOUR", options->colors, "R,G,B or #RRGGBB; none: one per line from stdin");
    commands.push_back({match, [options](Context &context) { return runMatch(context, *options); }});
}

} // namespace pigmora::cli
