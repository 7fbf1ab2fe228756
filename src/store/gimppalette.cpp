#include "store/gimppalette.h"

#include "data/utf8.h"
#include "store/paletteexport.h"
#include "store/safefile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <sstream>

namespace pigmora {

namespace {

constexpr std::string_view kGimpHeader = "GIMP Palette";

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trimmedLine(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A whole number 0..255 at the front of the text, which it then leaves.
std::optional<int> takeChannel(std::string_view &text)
{
    text = trimmedLine(text);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    const std::size_t used = static_cast<std::size_t>(end - text.data());
    if (ec != std::errc() || text.empty() || text[0] == '-' || value > 255
        || (used < text.size() && !isBlank(text[used])))
        return std::nullopt;
    text.remove_prefix(used);
    return value;
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

void writeGimpPalette(std::ostream &out, const PaletteExport &palette)
{
    // A line break in the name would end the header line early.
    std::string header = palette.name;
    std::replace_if(
        header.begin(), header.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    out << kGimpHeader << "\nName: " << header << "\nColumns: 10\n#\n";
    for (const PaletteSwatch &swatch : paletteSwatches(palette)) {
        std::string label = swatch.name;
        std::replace_if(
            label.begin(), label.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
        char rgb[48];
        std::snprintf(rgb, sizeof rgb, "%3d %3d %3d", swatch.color.red, swatch.color.green, swatch.color.blue);
        out << rgb << '\t' << label << '\n';
    }
}

void writeGimpPalette(std::ostream &out, std::string_view name, std::vector<PaletteColorRecord> colors)
{
    writeGimpPalette(out, PaletteExport{std::string(name), std::move(colors), {}});
}

bool saveGimpPalette(const std::filesystem::path &path, std::string_view name, std::vector<PaletteColorRecord> colors)
{
    return savePaletteFile(path, PaletteExport{std::string(name), std::move(colors), {}}, PaletteFileType::Gimp).isOk();
}

Result<GimpPalette> parseGimpPalette(std::string_view text)
{
    if (startsWith(text, "\xEF\xBB\xBF"))
        text.remove_prefix(3);
    GimpPalette palette;
    int line = 0;
    while (!text.empty()) {
        ++line;
        const std::size_t end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const auto refuse = [line](std::string_view why) {
            return Status::error("line " + std::to_string(line) + ": " + std::string(why));
        };
        if (!isValidUtf8(raw))
            return refuse("not valid UTF-8 text");
        const std::string_view content = trimmedLine(raw);
        if (line == 1) {
            if (content != kGimpHeader)
                return refuse("not a GIMP palette (the first line must be \"GIMP Palette\")");
            continue;
        }
        if (content.empty() || content.front() == '#' || startsWith(content, "Columns:"))
            continue;
        if (startsWith(content, "Name:")) {
            palette.name = std::string(trimmedLine(content.substr(5)));
            continue;
        }
        std::string_view rest = content;
        const auto red = takeChannel(rest);
        const auto green = red ? takeChannel(rest) : std::nullopt;
        const auto blue = green ? takeChannel(rest) : std::nullopt;
        if (!blue)
            return refuse("expected a colour: three whole numbers 0..255 and a name");
        palette.colors.push_back({line, {*red, *green, *blue}, std::string(trimmedLine(rest))});
    }
    if (line == 0)
        return Status::error("line 1: not a GIMP palette (the file is empty)");
    return palette;
}

Result<GimpPalette> readGimpPaletteFile(const std::filesystem::path &path, std::size_t maxBytes)
{
    const auto text = safefile::readWholeFile(path, maxBytes);
    if (!text)
        return Status::error(text.message());
    return parseGimpPalette(*text);
}

} // namespace pigmora
