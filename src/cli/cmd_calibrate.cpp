// Learning tinting strengths from measured mixes: "calibrate".
#include "cli/colorarg.h"
#include "cli/commands.h"
#include "cli/context.h"
#include "cli/csv.h"
#include "cli/json.h"
#include "cli/paintsfile.h"

#include "data/platform.h"
#include "engine/strengthfit.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <ostream>

namespace pigmora::cli {

namespace {

struct CalibrateOptions {
    std::string paints;
    std::string observations;
    bool json = false;
};

std::string fourDecimals(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.4f", value);
    return text;
}

// The observations file: measured,paint1,parts1,paint2,parts2[,paint3,parts3].
std::optional<std::vector<MixObservation>> readObservations(Context &context, const std::string &path,
                                                            const PaintsFile &box)
{
    auto table = readCsvFile(path);
    if (!table) {
        context.fail(table.message());
        return std::nullopt;
    }
    const bool three = table->header.size() == 7;
    std::vector<std::string_view> names{"measured", "paint1", "parts1", "paint2", "parts2"};
    if (three) {
        names.push_back("paint3");
        names.push_back("parts3");
    }
    if (Status header = expectHeader(*table, names); !header) {
        context.fail(path + ": " + header.message() + " (optionally followed by paint3,parts3)");
        return std::nullopt;
    }
    std::vector<MixObservation> observations;
    for (std::size_t i = 0; i < table->rows.size(); ++i) {
        const CsvRow &row = table->rows[i];
        const std::string where = path + ", line " + std::to_string(table->lineNumbers[i]) + ": ";
        if (row.size() != names.size()) {
            context.fail(where + "expected " + std::to_string(names.size()) + " fields, found "
                         + std::to_string(row.size()));
            return std::nullopt;
        }
        MixObservation observation;
        const auto measured = parseColor(row[0]);
        if (!measured) {
            context.fail(where + "malformed colour '" + row[0] + "' (expected #RRGGBB)");
            return std::nullopt;
        }
        observation.measured = *measured;
        int given = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            const std::size_t at = 1 + 2 * k;
            if (at >= row.size() || (k == 2 && row[at].empty() && row[at + 1].empty()))
                continue;
            const auto index = box.indexOfCode(row[at]);
            if (!index) {
                context.fail(where + "paint '" + row[at] + "' is not a code of " + box.path);
                return std::nullopt;
            }
            const auto parts = parsePositiveNumber(row[at + 1]);
            if (!parts) {
                context.fail(where + "parts '" + row[at + 1] + "' of " + row[at] + " must be a positive number");
                return std::nullopt;
            }
            observation.paints[k] = static_cast<int>(*index);
            observation.parts[k] = *parts;
            ++given;
        }
        if (given < 2) {
            context.fail(where + "an observation needs two or three paints");
            return std::nullopt;
        }
        observations.push_back(observation);
    }
    return observations;
}

int runCalibrate(Context &context, const CalibrateOptions &options)
{
    const auto box = readPaintsFile(context, options.paints);
    if (!box)
        return kExitFailure;
    const auto observations = readObservations(context, options.observations, *box);
    if (!observations)
        return kExitFailure;
    std::vector<RgbColor> colors;
    for (const PaintColorRecord &record : box->box)
        colors.push_back(record.color());
    const StrengthFit fit = fitStrengths(colors, *observations);

    if (options.json) {
        JsonWriter json;
        json.beginObject().key("strengths").beginArray();
        for (const std::string &code : box->codes) {
            json.beginObject().key("code").value(code).key("strength");
            json.fixed(fit.strengths[*box->indexOfCode(code)], 4).endObject();
        }
        json.endArray()
            .key("observations")
            .value(static_cast<std::int64_t>(observations->size()))
            .key("mean_delta_e00_before")
            .fixed(fit.meanBefore, 4)
            .key("mean_delta_e00_after")
            .fixed(fit.meanAfter, 4)
            .endObject();
        context.io.out << json.text() << '\n';
        return kExitOk;
    }
    writeCsvRow(context.io.out, {"code", "name", "r", "g", "b", "strength"});
    for (std::size_t i = 0; i < box->rows.size(); ++i) {
        CsvRow row = box->rows[i];
        row.push_back(fourDecimals(fit.strengths[*box->indexOfCode(box->codes[i])]));
        writeCsvRow(context.io.out, row);
    }
    return kExitOk;
}

} // namespace

void addCalibrateCommands(CLI::App &app, Commands &commands)
{
    auto options = std::make_shared<CalibrateOptions>();
    CLI::App *calibrate = app.add_subcommand(
        "calibrate", "Fit a tinting strength per paint to measured mixes; prints the box again with them");
    calibrate->add_option("--paints", options->paints, "Box CSV code,name,r,g,b[,strength]")->required();
    calibrate->add_flag("--json", options->json, "One JSON object with the strengths and the mean ΔE00s");
    calibrate
        ->add_option("OBSERVATIONS", options->observations,
                     "CSV measured,paint1,parts1,paint2,parts2[,paint3,parts3] naming codes of the box")
        ->required();
    commands.push_back({calibrate, [options](Context &context) { return runCalibrate(context, *options); }});
}

} // namespace pigmora::cli
