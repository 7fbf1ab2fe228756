// Arbitrary colour group, colour box and palette files under the colour
// manager's store operations. The input is split in three by its first four
// bytes (two little-endian 16-bit lengths). Files that opened before the
// operations must still open after them.
#include "data/colormanager.h"
#include "data/notifier.h"
#include "store/tablefile.h"
#include "store_fuzzsupport.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

using namespace pigmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 4)
        return 0;
    static const std::filesystem::path folder = fuzz::scratchFolder("colordata");
    const std::size_t first = std::min<std::size_t>(data[0] | data[1] << 8, size - 4);
    const std::size_t second = std::min<std::size_t>(data[2] | data[3] << 8, size - 4 - first);
    const std::uint8_t *rest = data + 4;
    const auto groupPath = folder / "QorColorGroup.bin";
    const auto boxPath = folder / "QorColorbox.bin";
    const auto palettePath = folder / "QorPalette.bin";
    if (!fuzz::writeBytes(groupPath, rest, first) || !fuzz::writeBytes(boxPath, rest + first, second)
        || !fuzz::writeBytes(palettePath, rest + first + second, size - 4 - first - second))
        return 0;
    const bool groupsOpen = CColorBoxFile(CColorBoxFile::kColorGroupMode).open(groupPath);
    const bool boxesOpen = CColorBoxFile(CColorBoxFile::kColorBoxMode).open(boxPath);
    const bool palettesOpen = CPalettePanelFile().open(palettePath);

    SilentNotifier notifier;
    CColorManager manager(folder, &notifier);
    manager.buildBuiltInCatalogue();
    manager.loadColorGroups();
    std::vector<std::string> names;
    manager.listColorBoxes(names);
    for (const std::string &name : names) {
        manager.loadColorBox(name);
        manager.addToCurrentBox("100", "柠檬黄");
    }
    if (!names.empty()) {
        manager.saveCurrentColorBox();
        manager.renameColorBox(names.front(), "改名");
        manager.deleteColorBox(names.back());
    }
    if (manager.catalogueCount() > 0) {
        PaintColorRecord record;
        manager.catalogueColorAt(0, record);
        manager.isColorInAnyColorBox(record);
    }
    manager.addGroupColor("油画颜色", "模糊", "", {1, 2, 3}, 1.0f, 2, 2);
    manager.modifyGroupColor("油画颜色", "模糊", "", {3, 2, 1}, 1.0f, 2, 2);
    manager.deleteGroupColor("油画颜色", "模糊");

    manager.listPalettes(names);
    std::vector<PaletteColorRecord> colors;
    for (const std::string &name : names)
        manager.loadPalette(name, colors);
    if (!names.empty()) {
        manager.savePalette(names.front(), colors);
        manager.renamePalette(names.back(), "色板");
        manager.deletePalette(names.front());
    }

    if (groupsOpen)
        fuzz::mustStillOpen(CColorBoxFile(CColorBoxFile::kColorGroupMode), groupPath);
    if (boxesOpen)
        fuzz::mustStillOpen(CColorBoxFile(CColorBoxFile::kColorBoxMode), boxPath);
    if (palettesOpen)
        fuzz::mustStillOpen(CPalettePanelFile(), palettePath);
    return 0;
}
