// The colour pick's answer from the command line: "match".
#include "cli/colorarg.h"
#include "cli/commands.h"
#include "cli/context.h"
#include "cli/csv.h"
#include "cli/json.h"
#include "cli/matchoutput.h"
#include "cli/matchsetup.h"
#include "cli/output.h"
#include "cli/paintsfile.h"

#include "data/platform.h"
#include "engine/colorpick.h"
#include "store/observationstore.h"
#include "store/settings.h"

#include <CLI/CLI.hpp>

#include <istream>
#include <memory>
#include <ostream>

namespace pigmora::cli {

namespace {

int runMatch(Context &context, const MatchOptions &options)
{
    auto targets = parseColorArguments(context, options.colors);
    if (!targets)
        return kExitFailure;
    const auto setup = prepareMatch(context, options);
    if (!setup)
        return kExitFailure;
    if (!options.colors.empty()) {
        for (const RgbColor &target : *targets)
            printMatch(context, *setup, target);
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
        printMatch(context, *setup, *target);
    }
    return kExitOk;
}

} // namespace

std::optional<MatchSetup> prepareMatch(Context &context, const MatchOptions &options)
{
    MatchSetup setup;
    setup.json = options.json;
    std::optional<MixModel> model;
    if (options.mode == "subtractive")
        model = MixModel::Subtractive;
    else if (options.mode == "spatial")
        model = MixModel::Spatial;
    else if (options.mode == "pigment")
        model = MixModel::Pigment;
    else if (!options.mode.empty()) {
        context.fail("unknown mixing mode '" + options.mode + "' (subtractive, spatial or pigment)");
        return std::nullopt;
    }
    if (options.card != "none") {
        setup.card = cardFromName(options.card);
        if (!setup.card) {
            context.fail("unknown colour card '" + options.card + "' (pantone, ral, building or none)");
            return std::nullopt;
        }
        setup.cards = &context.cards();
    }
    if (!options.box.empty() && !options.paints.empty()) {
        context.fail("--box and --paints cannot be used together");
        return std::nullopt;
    }
    if (options.maxParts < kMinMaxParts || options.maxParts > kMaxMaxParts) {
        context.fail("--max-parts must be " + std::to_string(kMinMaxParts) + ".." + std::to_string(kMaxMaxParts)
                     + ", not " + std::to_string(options.maxParts));
        return std::nullopt;
    }
    setup.maxParts = options.maxParts;

    // An ad-hoc box needs no stored data: the folder is only read for the
    // configured mode, and only when no mode is given.
    if (!options.paints.empty()) {
        auto paints = readPaintsFile(context, options.paints);
        if (!paints)
            return std::nullopt;
        setup.model = model.value_or(mixModelOfSetting(context.configuredMixingMode()));
        setup.box = std::move(paints->box);
        if (setup.model == MixModel::Pigment && paints->hasStrengths) {
            setup.strengths = std::move(paints->strengths);
            setup.strengthSource = "box";
        }
        return setup;
    }
    Session *session = context.session();
    if (!session)
        return std::nullopt;
    setup.model = model.value_or(mixModelOfSetting(session->mixingMode()));
    CColorManager &colors = session->colors();
    if (!options.box.empty() && (!colors.colorBoxExists(options.box) || !colors.loadColorBox(options.box))) {
        context.fail("no colour box named '" + options.box + "'");
        return std::nullopt;
    }
    const auto current = colors.currentBoxRecords();
    setup.box.assign(current.begin(), current.end());
    if (setup.model == MixModel::Pigment) {
        // A damaged observation file leaves the paints uncalibrated, said on stderr.
        const auto observations = ObservationStore(context.dataDir()).load();
        if (!observations) {
            context.note(observations.message() + "; matching without the strengths learnt from it");
        } else if (!observations->empty()) {
            setup.strengths = StoredStrengths::fit(*observations).forBox(setup.box);
            if (!setup.strengths.empty())
                setup.strengthSource = "stored";
        }
    }
    return setup;
}

void printMatch(Context &context, const MatchSetup &setup, const RgbColor &target, const PickReport *report)
{
    const ColorPick pick = pickColor(setup.box, target, setup.model, setup.cards, setup.card,
                                     PickOptions{setup.strengths, setup.maxParts});
    context.io.out << (setup.json ? matchJson(pick, setup.card, setup.strengthSource, report)
                                  : matchText(pick, setup.card, report))
                   << '\n';
}

void addMatchOptions(CLI::App &command, MatchOptions &options)
{
    command.add_option("--box", options.box, "Colour box to mix from (default: the current box)");
    command.add_option("--paints", options.paints,
                       "Ad-hoc colour box: UTF-8 CSV with header code,name,r,g,b and optionally strength");
    command.add_option("--mode", options.mode, "subtractive, spatial or pigment (default: the configured mixing mode)");
    command.add_option("--card", options.card, "pantone, ral, building or none (default pantone)");
    command.add_option("--max-parts", options.maxParts, "Largest total of the whole-part recipe, 2..100 (default 12)");
    command.add_flag("--json", options.json, "One JSON object per colour");
}

void addMatchCommands(CLI::App &app, Commands &commands)
{
    auto options = std::make_shared<MatchOptions>();
    CLI::App *match = app.add_subcommand("match", "Best mix of one, two or three paints for each colour");
    addMatchOptions(*match, *options);
    match->add_option("COLOUR", options->colors, "R,G,B or #RRGGBB; none: one per line from stdin");
    commands.push_back({match, [options](Context &context) { return runMatch(context, *options); }});
}

} // namespace pigmora::cli
