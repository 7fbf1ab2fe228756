#include "data/colormanager.h"
#include "store/storesupport.h"
#include "store/tablefile.h"

#include <charconv>

namespace pigmora {

namespace {

constexpr std::string_view kCustomColorPrefix = "自定义颜色";
constexpr std::string_view kUserCodePrefix = "u_";
constexpr unsigned long long kFirstUserCode = 10000001;

std::filesystem::path groupFilePath(const CColorManager &manager)
{
    return manager.programFolder() / store::kColorGroupFileName;
}

std::span<const std::uint8_t> bytesOf(std::span<const PaintColorRecord> records)
{
    return {reinterpret_cast<const std::uint8_t *>(records.data()), records.size_bytes()};
}

// Writes the entry of one colour group from the catalogue: every paint whose
// group byte is the index, in catalogue order.
bool writeGroupEntry(CColorBoxFile &file, const CColorManager &manager, int index)
{
    std::vector<PaintColorRecord> records;
    for (const PaintColorRecord &record : manager.catalogueRecords()) {
        if (record.group() == index)
            records.push_back(record);
    }
    return file.writeEntry(std::to_string(index), static_cast<int>(records.size()), bytesOf(records), index);
}

// The code for a new user paint: "u_" and the counter, which starts at
// 10000001 and steps past every user code met in catalogue order. Nothing
// when a user code is not a non-negative decimal number.
std::optional<std::string> nextUserCode(std::span<const PaintColorRecord> catalogue)
{
    unsigned long long counter = kFirstUserCode;
    for (const PaintColorRecord &record : catalogue) {
        const std::string_view code = record.code();
        if (!code.starts_with(kUserCodePrefix))
            continue;
        const std::string_view digits = code.substr(kUserCodePrefix.size());
        unsigned long long number = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
            return std::nullopt;
        if (number == counter)
            ++counter;
    }
    return std::string(kUserCodePrefix) + std::to_string(counter);
}

// Index, file and open handling shared by the paint edits: the group's index
// once the group file is open in file, else -1 (the open failure shown).
int openGroupFileFor(const CColorManager &manager, std::string_view groupName, CColorBoxFile &file)
{
    const int index = CColorManager::colorGroupIndex(groupName);
    if (index < 0 || !store::openStoreFile(file, groupFilePath(manager), manager.notifier(), "打开色谱文件失败!"))
        return -1;
    return index;
}

} // namespace

bool CColorManager::colorGroupName(int index, std::string &name)
{
    name = std::string(colorGroupNameOf(index));
    return !name.empty();
}

bool CColorManager::listColorGroups(std::vector<std::string> &list)
{
    for (int index = 0; index < kColorGroupCount; ++index)
        list.emplace_back(colorGroupNameOf(index));
    return kColorGroupCount > 0;
}

int CColorManager::colorGroupIndex(std::string_view groupName)
{
    return colorGroupIndexOf(groupName);
}

bool CColorManager::createDefaultColorGroupFile()
{
    const std::filesystem::path path = groupFilePath(*this);
    CColorBoxFile file(CColorBoxFile::kColorGroupMode);
    if (!store::createStoreFile(file, path, m_notifier, "新建色谱文件失败!"))
        return false;
    for (int index = 0; index < kColorGroupCount; ++index) {
        if (!writeGroupEntry(file, *this, index))
            return store::abandonDefaultFile(path, m_notifier, "新建色谱文件失败!");
    }
    return true;
}

bool CColorManager::loadColorGroups()
{
    CColorBoxFile file(CColorBoxFile::kColorGroupMode);
    if (!store::openStoreFile(file, groupFilePath(*this), m_notifier, "打开色谱文件失败!"))
        return false;
    clearCurrentBox();
    clearCatalogue();
    for (int index = 0; index < kColorGroupCount; ++index) {
        const auto data = store::readRecordData(file, std::to_string(index), PaintColorRecord::kSize);
        if (!data)
            continue; // a group that cannot be read contributes nothing
        for (std::size_t at = 0; at < data->size(); at += PaintColorRecord::kSize)
            addCatalogueRecord(PaintColorRecord::fromBytes(data->data() + at));
    }
    return true;
}

bool CColorManager::findGroupColor(std::string_view groupName, std::string_view paintName, PaintColorRecord &out) const
{
    out = PaintColorRecord();
    const int index = colorGroupIndex(groupName);
    const auto name = store::gbkName(paintName);
    if (index < 0 || !name)
        return false;
    // Names are stored cut at 20 bytes, so a longer name is looked up cut too.
    const std::string_view stored = platform::cutGbk(*name, PaintColorRecord::kTextLimit);
    for (const PaintColorRecord &record : catalogueRecords()) {
        if (record.group() == index && record.name() == stored) {
            out = record;
            return true;
        }
    }
    return false;
}

bool CColorManager::nextCustomColorName(std::string_view groupName, std::string &name) const
{
    const int index = colorGroupIndex(groupName);
    if (index < 0)
        return false;
    const std::string prefix = *store::gbkName(kCustomColorPrefix);
    int n = 1;
    for (bool increased = true; increased;) {
        increased = false;
        for (const PaintColorRecord &record : catalogueRecords()) {
            if (record.group() == index && record.name() == prefix + std::to_string(n)) {
                ++n;
                increased = true;
            }
        }
    }
    name = std::string(kCustomColorPrefix) + std::to_string(n);
    return true;
}

bool CColorManager::addGroupColor(std::string_view groupName, std::string_view paintName, std::string_view englishName,
                                  const RgbColor &color, float strength, std::uint8_t mixingClass, std::uint8_t origin)
{
    CColorBoxFile file(CColorBoxFile::kColorGroupMode);
    const int index = openGroupFileFor(*this, groupName, file);
    if (index < 0)
        return false;
    PaintColorRecord found;
    if (findGroupColor(groupName, paintName, found))
        return false;
    const auto code = nextUserCode(catalogueRecords());
    if (!code
        || !addCatalogueColor(*code, paintName, englishName, color, strength, mixingClass,
                              static_cast<std::uint8_t>(index), origin))
        return false;
    if (writeGroupEntry(file, *this, index))
        return true;
    deleteCatalogueColor(*code, paintName); // the file does not hold it: neither does the catalogue
    return false;
}

bool CColorManager::modifyGroupColor(std::string_view groupName, std::string_view paintName,
                                     std::string_view englishName, const RgbColor &color, float strength,
                                     std::uint8_t mixingClass, std::uint8_t /*origin: a paint keeps its own*/)
{
    const auto gbkEnglish = store::gbkName(englishName);
    CColorBoxFile file(CColorBoxFile::kColorGroupMode);
    const int index = gbkEnglish ? openGroupFileFor(*this, groupName, file) : -1;
    if (index < 0)
        return false;
    PaintColorRecord found;
    if (!findGroupColor(groupName, paintName, found))
        return false;
    if (found.origin() == PaintColorRecord::kOriginLocked) {
        store::notify(m_notifier, "系统颜色不能修改!");
        return false;
    }
    // In place by the stored code and name, so even a name that does not
    // survive a round trip through UTF-8 is found.
    const int at = m_catalogue->find(&found);
    PaintColorRecord changed = found;
    changed.setEnglishName(*gbkEnglish);
    changed.setColor(color);
    changed.setStrength(strength);
    changed.setMixingClass(mixingClass);
    changed.setGroup(static_cast<std::uint8_t>(index));
    m_catalogue->setAt(at, &changed);
    if (writeGroupEntry(file, *this, index))
        return true;
    m_catalogue->setAt(at, &found);
    return false;
}

bool CColorManager::deleteGroupColor(std::string_view groupName, std::string_view paintName)
{
    CColorBoxFile file(CColorBoxFile::kColorGroupMode);
    const int index = openGroupFileFor(*this, groupName, file);
    if (index < 0)
        return false;
    PaintColorRecord found;
    if (!findGroupColor(groupName, paintName, found))
        return false;
    if (found.origin() != PaintColorRecord::kOriginUser) {
        store::notify(m_notifier, "系统颜色不能删除!");
        return false;
    }
    if (isColorInAnyColorBox(found)) {
        store::notify(m_notifier, "色谱颜色在颜色盒中存在，不能删除!");
        writeGroupEntry(file, *this, index);
        return false;
    }
    m_catalogue->removeByKey(&found);
    if (writeGroupEntry(file, *this, index))
        return true;
    m_catalogue->insertSorted(&found);
    return false;
}

bool CColorManager::isColorInAnyColorBox(const PaintColorRecord &record) const
{
    const std::filesystem::path path = m_programFolder / store::kColorBoxFileName;
    CColorBoxFile file(CColorBoxFile::kColorBoxMode);
    std::vector<std::string> names;
    if (!DCFile::exists(path) || !file.open(path) || !file.listNames(names))
        return false;
    std::vector<PaintColorRecord> records;
    for (const std::string &name : names) {
        const auto gbk = store::gbkName(name);
        if (gbk && file.loadPaintRecords(*gbk, records)) {
            for (const PaintColorRecord &stored : records) {
                if (stored.code() == record.code())
                    return true;
            }
        }
        CColorBoxFile::freeRecordList(records);
    }
    return false;
}

} // namespace pigmora
