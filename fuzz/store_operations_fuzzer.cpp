// Sequences of store operations on a data folder that starts every run with
// the files of a first start. The input is a program: each operation is one
// byte (which operation, and which data file or name) and one argument byte.
// Besides the colour box, palette, colour group and settings changes it
// damages, removes and restores data files and prepares the folder again.
//
// Traps: a data file the program did not damage or remove stops opening; a
// palette saved reads back otherwise; a save against the version just loaded
// meets a change nobody made; a restore leaves no data file; start-up does
// not list a data file that does not open.
#include "data/colormanager.h"
#include "data/notifier.h"
#include "data/platform.h"
#include "store/configmanager.h"
#include "store/datafolder.h"
#include "store/settings.h"
#include "store/tablefile.h"
#include "store_fuzzsupport.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace pigmora;

namespace {

constexpr std::array<std::string_view, 4> kFiles
    = {"QorConfig.bin", "QorColorGroup.bin", "QorColorbox.bin", "QorPalette.bin"};
// Names that meet the stored ones, new ones, a control character and one
// longer than the name field.
constexpr std::array<std::string_view, 8> kNames
    = {"我的颜色盒", "标准颜色盒", "Morvane色板", "Tarlowe色板",
       "新的",       "a",          "bad\x01name", "一个长得放不进名称字段的名字啊啊啊"};

void fail(const char *what, std::string_view detail = {})
{
    std::fprintf(stderr, "%s %.*s\n", what, static_cast<int>(detail.size()), detail.data());
    __builtin_trap();
}

std::vector<char> readAll(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool opens(const std::filesystem::path &folder, std::size_t file)
{
    const std::filesystem::path path = folder / kFiles[file];
    switch (file) {
    case 0:
        return CConfigFile().open(path);
    case 1:
        return CColorBoxFile(CColorBoxFile::kColorGroupMode).open(path);
    case 2:
        return CColorBoxFile(CColorBoxFile::kColorBoxMode).open(path);
    default:
        return CPalettePanelFile().open(path);
    }
}

// The four files of a first start, made once per process.
const std::array<std::vector<char>, 4> &pristineFiles()
{
    static const std::array<std::vector<char>, 4> files = [] {
        const auto folder = fuzz::scratchFolder("operations-template");
        DataFolder(folder, nullptr).prepare();
        std::array<std::vector<char>, 4> bytes;
        for (std::size_t i = 0; i < kFiles.size(); ++i)
            bytes[i] = readAll(folder / kFiles[i]);
        return bytes;
    }();
    return files;
}

// What a run changed, which the next run sets back first: data files, and
// the colour manager's catalogue (only the colour group edits change it).
struct Leftovers {
    std::array<bool, 4> files{true, true, true, true};
    bool catalogue = true;
};

class Run
{
public:
    // colors: the process's colour manager (its built-in catalogue made
    // once), whose catalogue is loaded from the group file when the last run
    // changed it: then it and its current box are those of a new manager.
    Run(const std::filesystem::path &folder, CColorManager &colors, Leftovers &leftovers)
        : m_folder(folder)
        , m_colors(colors)
        , m_leftovers(leftovers)
    {
        if (m_leftovers.catalogue)
            m_colors.loadColorGroups();
        m_leftovers = Leftovers{{}, false};
    }

    // Applies one operation and checks the data file it changed.
    void step(std::uint8_t op, std::uint8_t arg)
    {
        const std::size_t changed = apply(op, arg);
        for (std::size_t file = 0; file < kFiles.size(); ++file) {
            if (changed == file || changed == kFiles.size())
                m_leftovers.files[file] = true;
        }
        m_leftovers.catalogue = m_leftovers.catalogue || op % 16 == 8 || op % 16 == 9;
        check(changed);
    }

    // Every file the run changed still opens unless it was damaged or
    // removed on purpose.
    void checkChanged() const
    {
        for (std::size_t file = 0; file < kFiles.size(); ++file) {
            if (m_leftovers.files[file])
                check(file);
        }
    }

private:
    CConfigManager &config()
    {
        if (!m_config) {
            m_config.emplace(m_folder, &m_silent);
            m_config->open();
            m_config->loadSysConfig();
        }
        return *m_config;
    }

    // Applies one operation; the data file it changes (kFiles.size(): any).
    std::size_t apply(std::uint8_t op, std::uint8_t arg)
    {
        const std::string name(kNames[op >> 4 & 7]);
        const std::string other(kNames[arg & 7]);
        const std::size_t file = op >> 4 & 3;
        switch (op % 16) {
        case 0:
            m_colors.createColorBox(arg % 7, name);
            return 2;
        case 1:
            m_colors.deleteColorBox(name);
            return 2;
        case 2:
            m_colors.renameColorBox(name, other);
            return 2;
        case 3:
            saveBox(name, arg);
            return 2;
        case 4:
            m_colors.createPalette(name);
            return 3;
        case 5:
            m_colors.deletePalette(name);
            return 3;
        case 6:
            m_colors.renamePalette(name, other);
            return 3;
        case 7:
            savePalette(name, arg);
            return 3;
        case 8: {
            std::string group;
            CColorManager::colorGroupName(arg % kColorGroupCount, group);
            m_colors.addGroupColor(group, other, "", {arg, 0, 255}, 1.0f, 2, 2);
            return 1;
        }
        case 9: {
            std::string group;
            CColorManager::colorGroupName(arg % kColorGroupCount, group);
            m_colors.deleteGroupColor(group, other);
            return 1;
        }
        case 10:
            saveMixingMode(config(), arg % 4);
            return 0;
        case 11: // damage: cut the file
            std::filesystem::resize_file(m_folder / kFiles[file], arg * 16u, m_error);
            m_spoiled[file] = true;
            return file;
        case 12:
            std::filesystem::remove(m_folder / kFiles[file], m_error);
            m_spoiled[file] = true;
            return file;
        case 13:
            restore(file);
            return file;
        case 14:
            prepareAgain();
            return kFiles.size();
        default:
            config().retryLoad();
            return 0;
        }
    }

    // The file (kFiles.size(): every file) still opens unless it was
    // damaged or removed on purpose.
    void check(std::size_t which) const
    {
        for (std::size_t file = 0; file < kFiles.size(); ++file) {
            if ((which == file || which == kFiles.size()) && !m_spoiled[file] && !opens(m_folder, file))
                fail("a data file stopped opening:", kFiles[file]);
        }
    }

    void saveBox(const std::string &name, std::uint8_t arg)
    {
        if (!m_colors.colorBoxExists(name) || !m_colors.loadColorBox(name))
            return;
        PaintColorRecord paint;
        if (m_colors.catalogueColorAt(arg % std::max(m_colors.catalogueCount(), 1), paint))
            m_colors.addToCurrentBox(platform::gbkToUtf8(paint.code()), platform::gbkToUtf8(paint.name()));
        const auto saved = m_colors.saveCurrentColorBoxIfUnchanged(m_colors.currentColorBoxVersion());
        if (saved.outcome == CColorManager::SaveResult::Outcome::ChangedOnDisk)
            fail("a box nobody else changed was reported changed:", name);
    }

    void savePalette(const std::string &name, std::uint8_t arg)
    {
        std::vector<PaletteColorRecord> list;
        CColorManager::StoredVersion version;
        if (!m_colors.loadPalette(name, list, version))
            return;
        PaletteColorRecord added;
        added.setCode("f" + std::to_string(arg));
        added.setColor({arg, arg, 0});
        added.setCell(arg % 100);
        list.push_back(added);
        const auto saved = m_colors.savePaletteIfUnchanged(name, list, version);
        if (saved.outcome == CColorManager::SaveResult::Outcome::ChangedOnDisk)
            fail("a palette nobody else changed was reported changed:", name);
        if (saved.outcome != CColorManager::SaveResult::Outcome::Saved)
            return;
        std::vector<PaletteColorRecord> again;
        if (!m_colors.loadPalette(name, again) || again.size() != list.size())
            fail("a saved palette reads back otherwise:", name);
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (again[i].bytes() != list[i].bytes())
                fail("a saved palette reads back otherwise:", name);
        }
    }

    void restore(std::size_t file)
    {
        const std::filesystem::path path = m_folder / kFiles[file];
        const bool present = std::filesystem::exists(std::filesystem::symlink_status(path));
        const auto restored = DataFolder::restoreFromBackup(path);
        if (present && !std::filesystem::exists(std::filesystem::symlink_status(path)))
            fail("a restore left no data file:", kFiles[file]);
        if (restored) {
            if (!opens(m_folder, file))
                fail("a restored file does not open:", kFiles[file]);
            m_spoiled[file] = false;
        }
    }

    void prepareAgain()
    {
        DataFolder folder(m_folder, &m_silent);
        folder.prepare();
        for (std::size_t file = 0; file < kFiles.size(); ++file) {
            const bool listed
                = std::any_of(folder.problems().begin(), folder.problems().end(),
                              [&](const auto &problem) { return problem.path == m_folder / kFiles[file]; });
            const bool open = opens(m_folder, file);
            if (open == listed)
                fail(open ? "start-up listed a file that opens:" : "start-up missed a file that does not open:",
                     kFiles[file]);
            if (open)
                m_spoiled[file] = false;
        }
    }

    std::filesystem::path m_folder;
    SilentNotifier m_silent;
    CColorManager &m_colors;
    Leftovers &m_leftovers;
    std::optional<CConfigManager> m_config;
    std::array<bool, 4> m_spoiled{};
    std::error_code m_error;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const std::filesystem::path folder = fuzz::scratchFolder("operations");
    static Leftovers leftovers;
    // Back to the files of a first start: backups, working copies, damaged
    // copies and the lock file go, changed data files are written again.
    std::error_code ec;
    for (const auto &entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (std::find(kFiles.begin(), kFiles.end(), name) == kFiles.end())
            std::filesystem::remove_all(entry.path(), ec);
    }
    const auto &pristine = pristineFiles();
    for (std::size_t i = 0; i < kFiles.size(); ++i) {
        if (leftovers.files[i]) {
            std::filesystem::remove_all(folder / kFiles[i], ec);
            if (!fuzz::writeBytes(folder / kFiles[i], reinterpret_cast<const std::uint8_t *>(pristine[i].data()),
                                  pristine[i].size()))
                return 0;
        }
    }
    static SilentNotifier silent;
    static const auto colors = [] {
        auto manager = std::make_unique<CColorManager>(folder, &silent);
        manager->buildBuiltInCatalogue();
        return manager;
    }();
    Run run(folder, *colors, leftovers);
    for (std::size_t at = 0; at + 1 < size && at < 64; at += 2)
        run.step(data[at], data[at + 1]);
    run.checkChanged();
    return 0;
}
