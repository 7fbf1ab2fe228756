// Commands on the standard colour cards: "nearest" and "card".
#include "cli/colorarg.h"
#include "cli/commands.h"
#include "cli/context.h"
#include "cli/csv.h"
#include "cli/json.h"
#include "cli/output.h"

#include "data/platform.h"
#include "engine/colordifference.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>

namespace pigmora::cli {

namespace {

struct NearestOptions {
    std::string card = "pantone";
    bool json = false;
    std::vector<std::string> colors;
};

int runNearest(Context &context, const NearestOptions &options)
{
    const auto card = cardFromName(options.card);
    if (!card)
        return context.fail("unknown colour card '" + options.card + "' (pantone, ral or building)");
    auto targets = parseColorArguments(context, options.colors);
    if (!targets)
        return kExitFailure;
    for (const RgbColor &target : *targets) {
        const auto entry = context.cards().findNearestColor(*card, target);
        if (options.json) {
            JsonWriter json;
            json.beginObject().key("target");
            writeRgb(json, target);
            json.key("card").value(cardName(*card)).key("code");
            if (entry) {
                json.value(platform::gbkToUtf8(entry->displayText())).key("rgb");
                writeRgb(json, entry->color());
                json.key("delta_e00");
                writeDifference(json,
                                entry->hasColor() ? std::optional(deltaE00(target, entry->color())) : std::nullopt);
            } else {
                json.null().key("rgb").null().key("delta_e00").null();
            }
            json.endObject();
            context.io.out << json.text() << '\n';
        } else if (entry) {
            context.io.out << rgbText(target) << "  " << platform::gbkToUtf8(entry->displayText()) << "  "
                           << rgbText(entry->color()) << '\n';
        } else {
            context.io.out << rgbText(target) << "  (none)\n";
        }
    }
    return kExitOk;
}

int runCard(Context &context, const std::string &name)
{
    const auto card = cardFromName(name);
    if (!card)
        return context.fail("unknown colour card '" + name + "' (pantone, ral or building)");
    writeCsvRow(context.io.out, {"code", "name_zh", "name_en", "r", "g", "b"});
    for (const StandardColorRecord &entry : context.cards().entries(*card)) {
        const RgbColor c = entry.color();
        const bool known = entry.hasColor();
        writeCsvRow(context.io.out,
                    {platform::gbkToUtf8(entry.code()), platform::gbkToUtf8(entry.name()),
                     platform::gbkToUtf8(entry.englishName()), known ? std::to_string(c.red) : "",
                     known ? std::to_string(c.green) : "", known ? std::to_string(c.blue) : ""});
    }
    return kExitOk;
}

} // namespace

void addCardCommands(CLI::App &app, Commands &commands)
{
    auto nearest = std::make_shared<NearestOptions>();
    CLI::App *nearestApp = app.add_subcommand("nearest", "The nearest entry of a standard colour card");
    nearestApp->add_option("--card", nearest->card, "pantone, ral or building (default pantone)");
    nearestApp->add_flag("--json", nearest->json, "One JSON object per colour");
    nearestApp->add_option("COLOUR", nearest->colors, "R,G,B or #RRGGBB")->required();
    commands.push_back({nearestApp, [nearest](Context &context) { return runNearest(context, *nearest); }});

    auto cardArgument = std::make_shared<std::string>();
    CLI::App *cardApp = app.add_subcommand("card", "A standard colour card's entries as CSV");
    cardApp->add_option("CARD", *cardArgument, "pantone, ral or building")->required();
    commands.push_back({cardApp, [cardArgument](Context &context) { return runCard(context, *cardArgument); }});
}

} // namespace pigmora::cli
