#include "data/colormanager.h"
#include "store/defaultdata.h"
#include "store/storesupport.h"
#include "store/tablefile.h"

#include <algorithm>

namespace pigmora {

namespace {

constexpr std::string_view kOpenFailed = "打开色板文件失败!";

std::filesystem::path paletteFilePath(const CColorManager &manager)
{
    return manager.programFolder() / store::kPaletteFileName;
}

std::vector<std::uint8_t> bytesOf(std::span<const PaletteColorRecord> records)
{
    std::vector<std::uint8_t> data;
    data.reserve(records.size() * PaletteColorRecord::kSize);
    for (const PaletteColorRecord &record : records)
        data.insert(data.end(), record.bytes().begin(), record.bytes().end());
    return data;
}

} // namespace

bool CColorManager::createDefaultPaletteFile()
{
    const std::filesystem::path path = paletteFilePath(*this);
    CPalettePanelFile file;
    if (!store::createStoreFile(file, path, m_notifier, "新建收藏夹文件失败!"))
        return false;
    const auto colors = defaultPaletteColors();
    for (const DefaultPalette &palette : defaultPalettes()) {
        DCArray records(static_cast<std::uint32_t>(PaletteColorRecord::kSize), comparePaletteColorRecords);
        for (std::size_t i = 0; i < colors.size(); ++i) {
            PaletteColorRecord record;
            record.setCode(colors[i].code);
            record.setColor(colors[i].color);
            record.setCell(palette.cells[i]);
            records.insertSorted(&record);
        }
        if (!file.writeEntry(*store::gbkName(palette.name), records.count(), records.bytes(), 0))
            return store::abandonDefaultFile(file, m_notifier, "新建收藏夹文件失败!");
    }
    return store::finishDefaultFile(file, m_notifier, "新建收藏夹文件失败!");
}

bool CColorManager::listPalettes(std::vector<std::string> &list) const
{
    list.clear();
    CPalettePanelFile file;
    return store::openStoreFile(file, paletteFilePath(*this), m_notifier, "取色板失败!") && file.listNames(list);
}

bool CColorManager::loadPalette(std::string_view paletteName, std::vector<PaletteColorRecord> &list) const
{
    StoredVersion version;
    return loadPalette(paletteName, list, version);
}

bool CColorManager::loadPalette(std::string_view paletteName, std::vector<PaletteColorRecord> &list,
                                StoredVersion &version) const
{
    version = {};
    CPalettePanelFile file;
    if (!store::openStoreFile(file, paletteFilePath(*this), m_notifier, "取色板夹失败!"))
        return false;
    const auto name = store::storedName(file, paletteName);
    if (!name)
        return true;
    version = store::entryVersion(file, *name);
    if (const auto data = store::readRecordData(file, *name, PaletteColorRecord::kSize)) {
        for (std::size_t at = 0; at < data->size(); at += PaletteColorRecord::kSize)
            list.push_back(PaletteColorRecord::fromBytes(data->data() + at));
    }
    return true;
}

bool CColorManager::savePalette(std::string_view paletteName, const std::vector<PaletteColorRecord> &list)
{
    CPalettePanelFile file;
    if (!store::openStoreFile(file, paletteFilePath(*this), m_notifier, "取色板失败!"))
        return false;
    const auto name = store::storedOrNewName(file, paletteName);
    return name && list.size() <= static_cast<std::size_t>(INT_MAX / PaletteColorRecord::kSize)
        && file.writeEntry(*name, static_cast<int>(list.size()), bytesOf(list), 0);
}

CColorManager::SaveResult CColorManager::savePaletteIfUnchanged(std::string_view paletteName,
                                                                const std::vector<PaletteColorRecord> &list,
                                                                const StoredVersion &loaded)
{
    CPalettePanelFile file;
    if (!store::openStoreFile(file, paletteFilePath(*this), m_notifier, "取色板失败!"))
        return {SaveResult::Outcome::Failed, {}, store::openFailure(file, paletteFilePath(*this))};
    if (list.size() > static_cast<std::size_t>(INT_MAX / PaletteColorRecord::kSize))
        return {SaveResult::Outcome::Failed, {}, "the palette holds too many colours"};
    return store::saveEntryIfUnchanged(file, paletteName, loaded, [&](const std::string &name) {
        return file.writeEntry(name, static_cast<int>(list.size()), bytesOf(list), 0);
    });
}

bool CColorManager::paletteExists(std::string_view paletteName) const
{
    CPalettePanelFile file;
    if (!store::openStoreFile(file, paletteFilePath(*this), m_notifier, kOpenFailed))
        return false;
    return store::hasNamedEntry(file, paletteName);
}

bool CColorManager::createPalette(std::string_view paletteName)
{
    CPalettePanelFile file;
    if (!store::openStoreFile(file, paletteFilePath(*this), m_notifier, kOpenFailed))
        return false;
    const auto name = store::gbkName(paletteName);
    return name && file.writeEntry(*name, 0, {}, 0);
}

Status CColorManager::addPalette(std::string_view paletteName, std::span<const PaletteColorRecord> colors)
{
    const auto name = store::gbkName(paletteName);
    if (!name)
        return Status::error("the palette name cannot be stored");
    if (colors.size() > static_cast<std::size_t>(INT_MAX / PaletteColorRecord::kSize))
        return Status::error("too many colours");
    CPalettePanelFile file;
    if (!store::openStoreFile(file, paletteFilePath(*this), m_notifier, kOpenFailed))
        return Status::error(file.lastError().isOk() ? "no palette file" : file.lastError().message());
    // The name is checked again under the lock the change holds: a palette
    // another program added meanwhile is never replaced.
    bool taken = false;
    const bool added = store::editStoreFile(file, [&] {
        taken = file.hasEntry(*name);
        return !taken && file.addEntry(*name, static_cast<int>(colors.size()), bytesOf(colors), 0);
    });
    if (added)
        return Status::ok();
    if (taken)
        return Status::error("相同名称的色板已经存在!");
    return Status::error(file.lastError().isOk() ? "the palette file cannot be changed" : file.lastError().message());
}

bool CColorManager::deletePalette(std::string_view paletteName)
{
    CPalettePanelFile file;
    if (!store::openStoreFile(file, paletteFilePath(*this), m_notifier, kOpenFailed))
        return false;
    return store::deleteNamedEntry(file, paletteName, m_notifier, "删除色板成功!", "删除色板失败!");
}

bool CColorManager::renamePalette(std::string_view oldName, std::string_view newName)
{
    CPalettePanelFile file;
    if (!store::openStoreFile(file, paletteFilePath(*this), m_notifier, kOpenFailed))
        return false;
    return store::renameNamedEntry(file, oldName, newName);
}

bool CColorManager::isSystemPalette(std::string_view paletteName)
{
    const auto palettes = defaultPalettes();
    return std::any_of(palettes.begin(), palettes.end(),
                       [paletteName](const DefaultPalette &palette) { return palette.name == paletteName; });
}

} // namespace pigmora
