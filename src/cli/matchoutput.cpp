#include "cli/matchoutput.h"

#include "cli/json.h"
#include "cli/output.h"

#include "data/platform.h"
#include "engine/colorpick.h"
#include "engine/photocorrection.h"

namespace pigmora::cli {

namespace {

// "2:5:1": the parts of the paints taking part, in paint order.
std::string partsText(const PartsRecipe &recipe)
{
    std::string text;
    for (const int parts : recipe.parts) {
        if (parts > 0)
            text += (text.empty() ? "" : ":") + std::to_string(parts);
    }
    return text;
}

std::string twoDecimals(double value)
{
    // deltaE00Text rounds the way the panel does; only its number is used.
    return deltaE00Text(value).substr(std::string_view("ΔE00 ").size());
}

std::string cmykText(const Cmyk &cmyk)
{
    return std::to_string(cmyk.cyan) + ',' + std::to_string(cmyk.magenta) + ',' + std::to_string(cmyk.yellow) + ','
        + std::to_string(cmyk.black);
}

const chart::Fit *chartFitOf(const PickReport *report)
{
    if (!report || !report->correction || !report->correction->chartFit())
        return nullptr;
    return &*report->correction->chartFit();
}

} // namespace

std::string matchText(const ColorPick &pick, std::optional<CStandardColorCard::Card> card, const PickReport *report)
{
    std::string line = rgbText(pick.target) + "  ";
    if (!pick.solved) {
        line += "no mix found";
    } else {
        bool first = true;
        for (std::size_t k = 0; k < 3; ++k) {
            const PaintColorRecord &paint = pick.mix.paints[k];
            if (paint.usedFlag() != 1)
                continue;
            line += first ? "" : " + ";
            first = false;
            line += proportionText(pick.mix.proportions[k]) + ' ' + platform::gbkToUtf8(paint.code()) + ' '
                + platform::gbkToUtf8(paint.name());
        }
        line += "  = " + rgbText(pick.mix.mixed.color()) + "  deviation " + deviationText(pick.mix.deviation);
        if (pick.mixDeltaE00)
            line += "  " + deltaE00Text(*pick.mixDeltaE00);
        if (pick.parts) {
            line += "  parts " + partsText(*pick.parts) + " (" + deltaE00Text(pick.parts->deltaE00) + ", one part off "
                + twoDecimals(pick.parts->onePartOff) + ")";
        }
        if (card && pick.cardEntry) {
            line += "  " + std::string(cardName(*card)) + ' ' + platform::gbkToUtf8(pick.cardEntry->displayText()) + ' '
                + rgbText(pick.cardEntry->color());
        }
    }
    line += "  CMYK " + cmykText(pick.cmyk);
    if (report) {
        const std::string size = std::to_string(report->sample);
        line += "  sample " + size + " x " + size + "  raw " + rgbText(report->raw);
        if (report->correction && report->correction->isOn())
            line += "  corrected (" + std::string(report->correction->name()) + ")";
        if (const chart::Fit *fit = chartFitOf(report))
            line += "  chart fit mean " + deltaE00Text(fit->meanDeltaE00) + " max " + deltaE00Text(fit->maxDeltaE00);
    }
    return line;
}

std::string matchJson(const ColorPick &pick, std::optional<CStandardColorCard::Card> card, std::string_view strengths,
                      const PickReport *report)
{
    JsonWriter json;
    json.beginObject().key("target");
    writeRgb(json, pick.target);
    json.key("ok").value(pick.solved).key("paints").beginArray();
    for (std::size_t k = 0; k < 3; ++k) {
        const PaintColorRecord &paint = pick.mix.paints[k];
        if (!pick.solved || paint.usedFlag() != 1) {
            json.null();
            continue;
        }
        json.beginObject()
            .key("code")
            .value(platform::gbkToUtf8(paint.code()))
            .key("name")
            .value(platform::gbkToUtf8(paint.name()))
            .key("rgb");
        writeRgb(json, paint.color());
        json.endObject();
    }
    json.endArray();
    if (pick.solved) {
        json.key("proportions").beginArray();
        for (float proportion : pick.mix.proportions)
            json.number(proportion, 9);
        json.endArray().key("mixed");
        writeRgb(json, pick.mix.mixed.color());
        json.key("deviation")
            .number(pick.mix.deviation, 17)
            .key("deviation_text")
            .value(deviationText(pick.mix.deviation))
            .key("delta_e00");
        writeDifference(json, pick.mixDeltaE00);
    } else {
        json.key("proportions").null().key("mixed").null().key("deviation").null().key("deviation_text").value("");
        json.key("delta_e00").null();
    }
    json.key("card");
    if (pick.solved && card && pick.cardEntry) {
        json.beginObject()
            .key("card")
            .value(cardName(*card))
            .key("code")
            .value(platform::gbkToUtf8(pick.cardEntry->displayText()));
        json.key("rgb");
        writeRgb(json, pick.cardEntry->color());
        json.key("delta_e00");
        writeDifference(json, pick.cardDeltaE00);
        json.endObject();
    } else {
        json.null();
    }
    json.key("cmyk")
        .beginArray()
        .value(pick.cmyk.cyan)
        .value(pick.cmyk.magenta)
        .value(pick.cmyk.yellow)
        .value(pick.cmyk.black);
    json.endArray().key("parts");
    if (pick.solved && pick.parts) {
        json.beginArray();
        for (const int parts : pick.parts->parts)
            json.value(parts);
        json.endArray().key("parts_delta_e00").fixed(pick.parts->deltaE00, 4);
        json.key("parts_one_off").fixed(pick.parts->onePartOff, 4);
    } else {
        json.null().key("parts_delta_e00").null().key("parts_one_off").null();
    }
    json.key("strengths").value(strengths);
    if (report) {
        json.key("sample").value(report->sample).key("raw");
        writeRgb(json, report->raw);
        if (report->correction && report->correction->isOn()) {
            json.key("correction").value(report->correction->name()).key("corrected");
            writeRgb(json, pick.target);
        }
        if (const chart::Fit *fit = chartFitOf(report)) {
            json.key("chart_fit").beginObject().key("mean_delta_e00");
            writeDifference(json, fit->meanDeltaE00);
            json.key("max_delta_e00");
            writeDifference(json, fit->maxDeltaE00);
            json.endObject();
        }
    }
    json.endObject();
    return json.text();
}

} // namespace pigmora::cli
