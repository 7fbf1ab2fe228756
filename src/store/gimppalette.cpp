#include "store/gimppalette.h"

#include "data/platform.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

namespace pigmora {

void writeGimpPalette(std::ostream &out, std::string_view name, std::vector<PaletteColorRecord> colors,
                      const PaletteColorLabel &label)
{
    std::stable_sort(colors.begin(), colors.end(),
                     [](const PaletteColorRecord &a, const PaletteColorRecord &b) { return a.cell() < b.cell(); });
    // A line break in a name would end its line early.
    const auto oneLine = [](std::string text) {
        std::replace_if(
            text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
        return text;
    };
    const std::string header = oneLine(std::string(name));
    out << "GIMP Palette\nName: " << header << "\nColumns: 10\n#\n";
    for (const PaletteColorRecord &color : colors) {
        const RgbColor c = color.color();
        std::string text = label ? oneLine(label(color)) : std::string();
        if (text.empty())
            text = platform::gbkToUtf8(color.code());
        if (text.empty())
            text = "cell " + std::to_string(color.cell());
        char rgb[48];
        std::snprintf(rgb, sizeof rgb, "%3d %3d %3d", c.red, c.green, c.blue);
        out << rgb << '\t' << text << '\n';
    }
}

bool saveGimpPalette(const std::filesystem::path &path, std::string_view name, std::vector<PaletteColorRecord> colors,
                     const PaletteColorLabel &label)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    writeGimpPalette(out, name, std::move(colors), label);
    out.flush();
    return static_cast<bool>(out);
}

} // namespace pigmora
