// Arbitrary text as a .gpl palette: refused with a reason or read into
// colours within 0..255 and names that are UTF-8.
#include "store/gimppalette.h"

#include <cstdint>
#include <string_view>

using namespace pigmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const Result<GimpPalette> palette = parseGimpPalette(text);
    if (!palette) {
        if (palette.status().message().empty())
            __builtin_trap();
        return 0;
    }
    for (const auto &entry : palette->colors) {
        const RgbColor &c = entry.color;
        if (c.red < 0 || c.red > 255 || c.green < 0 || c.green > 255 || c.blue < 0 || c.blue > 255)
            __builtin_trap();
    }
    return 0;
}
