#include "data/colormanager.h"
#include "store/defaultdata.h"
#include "store/storesupport.h"
#include "store/tablefile.h"

#include <algorithm>

namespace pigmora {

namespace {

constexpr std::string_view kOpenFailed = "打开颜色盒文件失败!";

std::filesystem::path boxFilePath(const CColorManager &manager)
{
    return manager.programFolder() / store::kColorBoxFileName;
}

} // namespace

bool CColorManager::createDefaultColorBoxFile()
{
    const std::filesystem::path path = boxFilePath(*this);
    CColorBoxFile file(CColorBoxFile::kColorBoxMode);
    if (!store::createStoreFile(file, path, m_notifier, "新建颜色盒文件失败!"))
        return false;
    for (const DefaultColorBox &box : defaultColorBoxes()) {
        // Exact lookups: a pair the catalogue does not hold is left out.
        DCArray records(static_cast<std::uint32_t>(PaintColorRecord::kSize), comparePaintColorRecords);
        for (const PaintKey &paint : box.paints) {
            PaintColorRecord record;
            if (findCatalogueColor(paint.code, paint.name, record))
                records.insertSorted(&record);
        }
        if (!file.writeEntry(*store::gbkName(box.name), records.count(), records.bytes(), box.group))
            return store::abandonDefaultFile(file, m_notifier, "新建颜色盒文件失败!");
    }
    return store::finishDefaultFile(file, m_notifier, "新建颜色盒文件失败!");
}

bool CColorManager::loadColorBox(std::string_view boxName)
{
    CColorBoxFile file(CColorBoxFile::kColorBoxMode);
    if (!store::openStoreFile(file, boxFilePath(*this), m_notifier, kOpenFailed))
        return false;
    const auto name = store::storedName(file, boxName);
    if (!name)
        return true; // no such box: nothing changes
    m_currentBoxVersion = store::entryVersion(file, *name);
    m_currentBoxGroup = static_cast<std::uint8_t>(file.entryTag(*name));
    const auto data = store::readRecordData(file, *name, PaintColorRecord::kSize);
    if (!data)
        return true;

    clearCurrentBox();
    // Only code and name are taken from the file: the paint itself comes from
    // the catalogue, so later edits of a paint apply to every box.
    for (std::size_t at = 0; at < data->size(); at += PaintColorRecord::kSize) {
        const PaintColorRecord stored = PaintColorRecord::fromBytes(data->data() + at);
        const int index = m_catalogue ? m_catalogue->find(&stored) : -1;
        if (index < 0 || !m_currentBox || m_currentBox->find(&stored) >= 0)
            continue;
        auto record = m_catalogue->at<PaintColorRecord>(index);
        record.setBoxFlag(1);
        m_currentBox->insertSorted(&record);
    }
    m_currentBoxName = std::string(boxName);
    return true;
}

bool CColorManager::reloadCurrentColorBox()
{
    if (m_currentBoxName.empty())
        return false;
    const std::string name = m_currentBoxName;
    return loadColorBox(name);
}

bool CColorManager::listColorBoxes(std::vector<std::string> &list) const
{
    list.clear();
    CColorBoxFile file(CColorBoxFile::kColorBoxMode);
    return store::openStoreFile(file, boxFilePath(*this), m_notifier, "取颜色盒表失败!") && file.listNames(list);
}

bool CColorManager::saveCurrentColorBox()
{
    if (m_currentBoxName.empty())
        return false;
    CColorBoxFile file(CColorBoxFile::kColorBoxMode);
    if (!store::openStoreFile(file, boxFilePath(*this), m_notifier, "打开颜色盒设置文件失败!"))
        return false;
    const auto name = store::storedOrNewName(file, m_currentBoxName);
    if (!name || !m_currentBox)
        return false;
    // Tag 0 only for a new entry: an existing box keeps its group.
    return file.writeEntry(*name, m_currentBox->count(), m_currentBox->bytes(), 0);
}

CColorManager::SaveResult CColorManager::saveCurrentColorBoxIfUnchanged(const StoredVersion &loaded)
{
    if (m_currentBoxName.empty() || !m_currentBox)
        return {SaveResult::Outcome::Failed, {}, "no colour box is loaded"};
    CColorBoxFile file(CColorBoxFile::kColorBoxMode);
    if (!store::openStoreFile(file, boxFilePath(*this), m_notifier, "打开颜色盒设置文件失败!"))
        return {SaveResult::Outcome::Failed, {}, store::openFailure(file, boxFilePath(*this))};
    SaveResult result = store::saveEntryIfUnchanged(file, m_currentBoxName, loaded, [&](const std::string &name) {
        // Tag 0 only for a new entry: an existing box keeps its group.
        return file.writeEntry(name, m_currentBox->count(), m_currentBox->bytes(), 0);
    });
    if (result.outcome == SaveResult::Outcome::Saved)
        m_currentBoxVersion = result.version;
    return result;
}

bool CColorManager::colorBoxExists(std::string_view boxName) const
{
    CColorBoxFile file(CColorBoxFile::kColorBoxMode);
    if (!store::openStoreFile(file, boxFilePath(*this), m_notifier, kOpenFailed))
        return false;
    return store::hasNamedEntry(file, boxName);
}

bool CColorManager::createColorBox(int groupIndex, std::string_view boxName)
{
    CColorBoxFile file(CColorBoxFile::kColorBoxMode);
    if (!store::openStoreFile(file, boxFilePath(*this), m_notifier, kOpenFailed))
        return false;
    const auto name = store::gbkName(boxName);
    return name && file.writeEntry(*name, 0, {}, groupIndex);
}

bool CColorManager::deleteColorBox(std::string_view boxName)
{
    CColorBoxFile file(CColorBoxFile::kColorBoxMode);
    if (!store::openStoreFile(file, boxFilePath(*this), m_notifier, kOpenFailed))
        return false;
    return store::deleteNamedEntry(file, boxName, m_notifier, "删除颜色盒成功!", "删除颜色盒失败!");
}

bool CColorManager::renameColorBox(std::string_view oldName, std::string_view newName)
{
    CColorBoxFile file(CColorBoxFile::kColorBoxMode);
    if (!store::openStoreFile(file, boxFilePath(*this), m_notifier, kOpenFailed))
        return false;
    return store::renameNamedEntry(file, oldName, newName);
}

bool CColorManager::isSystemColorBox(std::string_view boxName)
{
    const auto boxes = defaultColorBoxes();
    return std::any_of(boxes.begin(), boxes.end(),
                       [boxName](const DefaultColorBox &box) { return box.name == boxName; });
}

} // namespace pigmora
