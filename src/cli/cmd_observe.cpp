// Mixes the painter made, kept in the data folder: "observations",
// "observe", "forget".
#include "cli/colorarg.h"
#include "cli/commands.h"
#include "cli/context.h"
#include "cli/json.h"
#include "cli/output.h"
#include "cli/recipeargs.h"

#include "data/platform.h"
#include "store/observationstore.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <ctime>
#include <memory>
#include <ostream>

namespace pigmora::cli {

namespace {

struct ObserveOptions {
    bool json = false;
    std::string box;
    std::string got;
    std::vector<std::string> paints;
    int number = 0;
};

std::string fourDecimals(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.4f", value);
    return text;
}

std::string timeText(std::int64_t seconds)
{
    const auto time = static_cast<std::time_t>(seconds);
    std::tm utc{};
    if (!::gmtime_r(&time, &utc))
        return "?";
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", &utc);
    return text;
}

std::string recipeText(const Observation &observation)
{
    std::string text;
    for (const ObservedPaint &paint : observation.paints) {
        char parts[64];
        std::snprintf(parts, sizeof parts, "%g", paint.parts);
        text += (text.empty() ? "" : " + ") + std::string(parts) + " × " + paint.code + ' ' + paint.name;
    }
    return text;
}

std::string paintName(const std::vector<Observation> &observations, const PaintStrength &paint)
{
    for (auto it = observations.rbegin(); it != observations.rend(); ++it) {
        for (const ObservedPaint &observed : it->paints) {
            if (observed.group == paint.group && observed.code == paint.code)
                return observed.name;
        }
    }
    return "";
}

void printStrengths(Context &context, const std::vector<Observation> &observations, const StoredStrengths &strengths)
{
    for (const PaintStrength &paint : strengths.paints()) {
        context.io.out << "strength " << paint.code << ' ' << paintName(observations, paint) << ' '
                       << fourDecimals(paint.strength) << " (" << paint.observations
                       << (paint.observations == 1 ? " observation)\n" : " observations)\n");
    }
    if (!strengths.empty()) {
        context.io.out << "mean ΔE00 of the observations " << fourDecimals(strengths.meanBefore()) << " → "
                       << fourDecimals(strengths.meanAfter()) << '\n';
    }
}

std::optional<std::vector<Observation>> loadObservations(Context &context)
{
    auto observations = ObservationStore(context.dataDir()).load();
    if (!observations) {
        context.fail(observations.message() + "; 'pigmora-cli restore " + std::string(ObservationStore::kFileName)
                     + "' puts back its last good copy");
        return std::nullopt;
    }
    return std::move(*observations);
}

int runObservations(Context &context, const ObserveOptions &options)
{
    const auto observations = loadObservations(context);
    if (!observations)
        return kExitFailure;
    const StoredStrengths strengths = StoredStrengths::fit(*observations);
    if (!options.json) {
        for (std::size_t n = 0; n < observations->size(); ++n) {
            const Observation &observation = (*observations)[n];
            context.io.out << n + 1 << "  got " << hexText(observation.measured) << "  " << recipeText(observation)
                           << "  " << timeText(observation.time) << '\n';
        }
        printStrengths(context, *observations, strengths);
        return kExitOk;
    }
    JsonWriter json;
    json.beginObject().key("observations").beginArray();
    for (std::size_t n = 0; n < observations->size(); ++n) {
        const Observation &observation = (*observations)[n];
        json.beginObject().key("number").value(static_cast<std::int64_t>(n + 1)).key("measured");
        writeRgb(json, observation.measured);
        json.key("paints").beginArray();
        for (const ObservedPaint &paint : observation.paints) {
            json.beginObject()
                .key("code")
                .value(paint.code)
                .key("name")
                .value(paint.name)
                .key("group")
                .value(paint.group);
            json.key("rgb");
            writeRgb(json, paint.color);
            json.key("parts").number(paint.parts, 17).endObject();
        }
        json.endArray().key("time").value(static_cast<std::int64_t>(observation.time)).endObject();
    }
    json.endArray().key("strengths").beginArray();
    for (const PaintStrength &paint : strengths.paints()) {
        json.beginObject().key("group").value(paint.group).key("code").value(paint.code).key("strength");
        json.fixed(paint.strength, 4).key("observations").value(paint.observations).endObject();
    }
    json.endArray()
        .key("mean_delta_e00_before")
        .fixed(strengths.meanBefore(), 4)
        .key("mean_delta_e00_after")
        .fixed(strengths.meanAfter(), 4)
        .endObject();
    context.io.out << json.text() << '\n';
    return kExitOk;
}

int runObserve(Context &context, const ObserveOptions &options)
{
    const auto got = parseColor(options.got);
    if (!got)
        return context.fail("malformed colour '" + options.got + "' (expected R,G,B with values 0..255, or #RRGGBB)");
    if (options.paints.size() < 2 || options.paints.size() > 3)
        return context.fail("an observation is a mix of two or three paints, " + std::to_string(options.paints.size())
                            + " given");
    Session *session = context.session();
    if (!session)
        return kExitFailure;
    CColorManager &colors = session->colors();
    const std::string boxName = options.box.empty() ? std::string(DataFolder::kStartBox) : options.box;
    if (!colors.colorBoxExists(boxName) || !colors.loadColorBox(boxName))
        return context.fail("no colour box named '" + boxName + "'");
    const auto box = colors.currentBoxRecords();
    const auto catalogue = colors.catalogueRecords();

    Observation observation;
    observation.measured = *got;
    observation.time = static_cast<std::int64_t>(std::time(nullptr));
    for (const std::string &arg : options.paints) {
        const std::size_t colon = arg.rfind(':');
        const std::string code = arg.substr(0, colon == std::string::npos ? arg.size() : colon);
        const auto parts
            = colon == std::string::npos ? std::nullopt : parsePositiveNumber(std::string_view(arg).substr(colon + 1));
        if (!parts)
            return context.fail("'" + arg + "' is not CODE:PARTS with a positive number of parts");
        const PaintColorRecord *found = nullptr;
        for (const PaintColorRecord &record : box) {
            if (platform::gbkToUtf8(record.code()) != code)
                continue;
            if (found)
                return context.fail("code '" + code + "' names more than one paint of colour box " + boxName);
            found = &record;
        }
        if (!found)
            return context.fail("paint '" + code + "' is not in colour box " + boxName);
        bool inCatalogue = false;
        for (const PaintColorRecord &record : catalogue)
            inCatalogue = inCatalogue || record.samePaint(*found);
        if (!inCatalogue)
            return context.fail("paint '" + code + "' is no longer in the catalogue");
        observation.paints.push_back(observedPaint(*found, *parts));
    }
    const ObservationStore store(context.dataDir());
    if (Status added = store.add(observation); !added)
        return context.fail(added.message());
    const auto observations = loadObservations(context);
    if (!observations)
        return kExitFailure;
    context.io.out << "observation " << observations->size() << ": got " << hexText(observation.measured) << "  "
                   << recipeText(observation) << '\n';
    printStrengths(context, *observations, StoredStrengths::fit(*observations));
    return kExitOk;
}

int runForget(Context &context, const ObserveOptions &options)
{
    if (Status removed = ObservationStore(context.dataDir()).remove(options.number); !removed)
        return context.fail(removed.message());
    context.io.out << "forgot observation " << options.number << '\n';
    return kExitOk;
}

} // namespace

void addObserveCommands(CLI::App &app, Commands &commands)
{
    auto o = std::make_shared<ObserveOptions>();

    CLI::App *list
        = app.add_subcommand("observations", "The recorded mixes and the tinting strengths learnt from them");
    list->add_flag("--json", o->json, "One JSON object");
    commands.push_back({list, [o](Context &context) { return runObservations(context, *o); }});

    CLI::App *observe = app.add_subcommand("observe", "Record a mix you made: the colour it came out and its recipe");
    observe->add_option("--box", o->box, "Colour box whose paints the codes name (default: 我的颜色盒)");
    observe->add_option("GOT", o->got, "The colour the mix came out, R,G,B or #RRGGBB")->required();
    observe->add_option("PAINT", o->paints, "CODE:PARTS, two or three of them")->required();
    commands.push_back({observe, [o](Context &context) { return runObserve(context, *o); }});

    CLI::App *forget = app.add_subcommand("forget", "Remove recorded mix number N (as 'observations' lists them)");
    forget->add_option("N", o->number, "Its number")->required();
    commands.push_back({forget, [o](Context &context) { return runForget(context, *o); }});
}

} // namespace pigmora::cli
