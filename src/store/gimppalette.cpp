#include "store/gimppalette.h"

#include "data/platform.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

namespace pigmora {

void writeGimpPalette(std::ostream &out, std::string_view name, std::vector<PaletteColorRecord> colors)
{
    std::stable_sort(colors.begin(), colors.end(),
                     [](const PaletteColorRecord &a, const PaletteColorRecord &b) { return a.cell() < b.cell(); });
    // A line break in the name would end the header line early.
    std::string header(name);
    std::replace_if(
        header.begin(), header.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    out << "GIMP Palette\nName: " << header << "\nColumns: 10\n#\n";
    for (const PaletteColorRecord &color : colors) {
        const RgbColor c = color.color();
        std::string label = platform::gbkToUtf8(color.code());
        if (label.empty())
            label = "cell " + std::to_string(color.cell());
        char rgb[48];
        std::snprintf(rgb, sizeof rgb, "%3d %3d %3d", c.red, c.green, c.blue);
        out << rgb << '\t' << label << '\n';
    }
}

bool saveGimpPalette(const std::filesystem::path &path, std::string_view name, std::vector<PaletteColorRecord> colors)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    writeGimpPalette(out, name, std::move(colors));
    out.flush();
    return static_cast<bool>(out);
}

} // namespace pigmora
