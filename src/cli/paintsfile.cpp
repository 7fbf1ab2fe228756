#include "cli/paintsfile.h"

#include "cli/colorarg.h"
#include "cli/context.h"

#include "data/colormanager.h"
#include "data/platform.h"

namespace pigmora::cli {

std::optional<std::size_t> PaintsFile::indexOfCode(const std::string &code) const
{
    const auto gbk = platform::utf8ToGbk(code);
    if (!gbk)
        return std::nullopt;
    std::optional<std::size_t> found;
    for (std::size_t k = 0; k < box.size(); ++k) {
        if (box[k].code() == *gbk) {
            if (found)
                return std::nullopt;
            found = k;
        }
    }
    return found;
}

std::optional<PaintsFile> readPaintsFile(Context &context, const std::string &path)
{
    auto table = readCsvFile(path);
    if (!table) {
        context.fail(table.message());
        return std::nullopt;
    }
    const bool withStrength = table->header.size() == 6;
    if (Status header
        = expectHeader(*table,
                       withStrength ? std::vector<std::string_view>{"code", "name", "r", "g", "b", "strength"}
                                    : std::vector<std::string_view>{"code", "name", "r", "g", "b"});
        !header) {
        context.fail(path + ": " + header.message() + " (optionally followed by strength)");
        return std::nullopt;
    }
    const std::size_t fields = withStrength ? 6 : 5;
    CColorManager box(context.dataDir());
    box.buildBuiltInCatalogue();
    box.clearCatalogue();
    box.clearCurrentBox();
    PaintsFile file;
    file.path = path;
    std::vector<std::pair<std::string, double>> strengthOfCode;
    for (std::size_t i = 0; i < table->rows.size(); ++i) {
        const CsvRow &row = table->rows[i];
        const std::string where = path + ", line " + std::to_string(table->lineNumbers[i]) + ": ";
        if (row.size() != fields) {
            context.fail(where + "expected " + std::to_string(fields) + " fields (code,name,r,g,b"
                         + (withStrength ? ",strength" : "") + "), found " + std::to_string(row.size()));
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
        double strength = 1.0;
        if (withStrength && !row[5].empty()) {
            const auto parsed = parsePositiveNumber(row[5]);
            if (!parsed) {
                context.fail(where + "strength '" + row[5] + "' must be a positive number");
                return std::nullopt;
            }
            strength = *parsed;
            file.hasStrengths = true;
        }
        if (!box.addCatalogueColor(row[0], row[1], "", {*red, *green, *blue}, 1.0f, 2, 0, PaintColorRecord::kOriginUser)
            || !box.addToCurrentBox(row[0], row[1])) {
            context.fail(where + "paint " + row[0] + " " + row[1] + " is listed twice");
            return std::nullopt;
        }
        file.rows.push_back(CsvRow(row.begin(), row.begin() + 5));
        file.codes.push_back(row[0]);
        strengthOfCode.emplace_back(row[0] + '\n' + row[1], strength);
    }
    const auto records = box.currentBoxRecords();
    file.box.assign(records.begin(), records.end());
    for (const PaintColorRecord &record : file.box) {
        const std::string key = platform::gbkToUtf8(record.code()) + '\n' + platform::gbkToUtf8(record.name());
        double strength = 1.0;
        for (const auto &[k, s] : strengthOfCode) {
            if (k == key)
                strength = s;
        }
        file.strengths.push_back(strength);
    }
    return file;
}

} // namespace pigmora::cli
