// Arbitrary bytes as "QorConfig.bin" under the configuration manager: load,
// read and change the settings, save. A file that opened must still open and
// load after a successful save.
#include "data/notifier.h"
#include "store/configmanager.h"
#include "store_fuzzsupport.h"

#include <cstdint>

using namespace pigmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const std::filesystem::path folder = fuzz::scratchFolder("config");
    if (!fuzz::writeBytes(folder / CConfigManager::kFileName, data, size))
        return 0;
    SilentNotifier notifier;
    CConfigManager manager(folder, &notifier);
    manager.open();
    const bool opened = manager.isOpen();
    manager.loadSysConfig();
    std::int32_t value = 0;
    for (const char *key : {"GridColCount", "GridRowCount", "ColorMixingMode", "AppName"})
        manager.getInt(key, value);
    manager.setInt("GridColCount", value + 1);
    manager.addStringItem("Fuzz", "value");
    const bool saved = manager.saveSysConfig();
    manager.close();
    if (opened && saved) {
        manager.open();
        if (!manager.isOpen() || !manager.loadSysConfig())
            __builtin_trap();
    }
    return 0;
}
