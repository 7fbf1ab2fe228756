// Opens arbitrary bytes as one table-file variant (chosen at build time by
// PIGMORA_FUZZ_VARIANT: 0 colour box, 1 colour group, 2 palette,
// 3 configuration), reads everything it offers and edits it. A file that
// opened must still open after every successful edit: the container never
// turns a file it accepted into one it refuses.
#include "data/platform.h"
#include "store/tablefile.h"
#include "store_fuzzsupport.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

using namespace pigmora;

namespace {

template<typename File>
File makeFile()
{
    if constexpr (std::is_same_v<File, CColorBoxFile>)
        return File(PIGMORA_FUZZ_VARIANT == 1 ? CColorBoxFile::kColorGroupMode : CColorBoxFile::kColorBoxMode);
    else
        return File();
}

template<typename File>
void readAll(File &file, const std::vector<std::string> &names)
{
    for (const std::string &name : names) {
        std::vector<std::uint8_t> buffer(64);
        int length = static_cast<int>(buffer.size());
        file.readData(name, buffer.data(), length);
        (void)file.entryTag(name);
        if constexpr (requires { file.entryLength(name); }) {
            const int full = file.entryLength(name);
            if (full >= 0) {
                buffer.resize(static_cast<std::size_t>(full) + 1);
                length = full;
                int value = 0;
                file.readEntry(name, value, buffer.data(), length);
            }
        }
    }
}

template<typename File>
void mustReopen(const std::filesystem::path &path)
{
    fuzz::mustStillOpen(makeFile<File>(), path);
}

template<typename File>
void exercise(const std::filesystem::path &path, const std::uint8_t *data, std::size_t size)
{
    File file = makeFile<File>();
    if (!file.open(path))
        return;
    // The names the file holds; the configuration variant does not list
    // them, so it is probed with the one section the program uses.
    std::vector<std::string> names{"SysConfig", "0", "我"};
    if constexpr (requires { file.listNames(names); }) {
        file.listNames(names);
        for (std::string &name : names) // listed as UTF-8, addressed as GBK
            name = platform::utf8ToGbk(name).value_or(name);
    }
    readAll(file, names);

    const std::vector<std::uint8_t> payload(data, data + std::min<std::size_t>(size, 200));
    const int value = static_cast<int>(payload.size() / static_cast<std::size_t>(std::max(file.format().valueUnit, 1)));
    const bool edits[] = {
        file.addEntry("fuzz-new", value, payload, 1),
        !names.empty() && file.writeEntry(names.front(), 0, {}, 2),
        names.size() > 1 && file.deleteEntry(names.back()),
    };
    if constexpr (requires { file.renameEntry("a", "b"); }) {
        if (file.renameEntry("fuzz-new", "fuzz-renamed"))
            mustReopen<File>(path);
    }
    file.adjustDirectory();
    for (bool edited : edits) {
        if (edited) {
            mustReopen<File>(path);
            break;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const std::filesystem::path path = fuzz::scratchFolder("table") / "table.bin";
    if (!fuzz::writeBytes(path, data, size))
        return 0;
#if PIGMORA_FUZZ_VARIANT == 2
    exercise<CPalettePanelFile>(path, data, size);
#elif PIGMORA_FUZZ_VARIANT == 3
    exercise<CConfigFile>(path, data, size);
#else
    exercise<CColorBoxFile>(path, data, size);
#endif
    return 0;
}
