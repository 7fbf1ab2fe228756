#include "data/colormanager.h"
#include "store/storesupport.h"
#include "store/tablefile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <unordered_set>

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

// The user number of a code "u_<number>", if it is one.
std::optional<unsigned long long> userNumber(std::string_view code)
{
    if (!code.starts_with(kUserCodePrefix))
        return std::nullopt;
    const std::string_view digits = code.substr(kUserCodePrefix.size());
    unsigned long long number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return number;
}

// The code for a new user paint: "u_" and the counter, which starts at
// 10000001 and steps past every user code met in catalogue order. Nothing
// when a user code is not a non-negative decimal number.
std::optional<std::string> nextUserCode(std::span<const PaintColorRecord> catalogue)
{
    unsigned long long counter = kFirstUserCode;
    for (const PaintColorRecord &record : catalogue) {
        if (!record.code().starts_with(kUserCodePrefix))
            continue;
        const auto number = userNumber(record.code());
        if (!number)
            return std::nullopt;
        if (*number == counter)
            ++counter;
    }
    return std::string(kUserCodePrefix) + std::to_string(counter);
}

// Makes records the catalogue. They are inserted in catalogue order, so that
// every insertion appends; the sort is stable, so of a repeated code and name
// the first read is kept, as when inserted in the order read.
void fillCatalogue(CColorManager &manager, std::vector<PaintColorRecord> records)
{
    std::stable_sort(records.begin(), records.end(), [](const PaintColorRecord &a, const PaintColorRecord &b) {
        return comparePaintColorRecords(&a, &b) < 0;
    });
    manager.clearCatalogue();
    for (const PaintColorRecord &record : records)
        manager.addCatalogueRecord(record); // a repeated code and name is refused
}

// Reads the catalogue again from the group file, inside the file's
// transaction and so under the folder's exclusive lock: the rewrite of a group
// then carries what another program added, changed or deleted meanwhile, and
// no code is given out twice. A group whose entry cannot be read keeps the
// catalogue's paints.
void refreshCatalogue(CColorManager &manager, CColorBoxFile &file)
{
    std::vector<PaintColorRecord> records;
    records.reserve(manager.catalogueRecords().size());
    std::array<bool, kColorGroupCount> fromFile{};
    for (int index = 0; index < kColorGroupCount; ++index) {
        const auto data = store::readRecordData(file, std::to_string(index), PaintColorRecord::kSize);
        if (!data)
            continue;
        fromFile[static_cast<std::size_t>(index)] = true;
        for (std::size_t at = 0; at < data->size(); at += PaintColorRecord::kSize)
            records.push_back(PaintColorRecord::fromBytes(data->data() + at));
    }
    for (const PaintColorRecord &record : manager.catalogueRecords()) {
        if (record.group() >= kColorGroupCount || !fromFile[record.group()])
            records.push_back(record);
    }
    fillCatalogue(manager, std::move(records));
}

// Index, file and open handling shared by the paint edits: the group's index
// once the group file is open in file, its transaction begun and the
// catalogue read again from it; else -1 (an open failure shown).
int beginGroupEdit(CColorManager &manager, std::string_view groupName, CColorBoxFile &file)
{
    const int index = CColorManager::colorGroupIndex(groupName);
    if (index < 0 || !store::openStoreFile(file, groupFilePath(manager), manager.notifier(), "打开色谱文件失败!"))
        return -1;
    if (!file.beginEdit()) {
        store::notify(manager.notifier(), "打开色谱文件失败!");
        return -1;
    }
    refreshCatalogue(manager, file);
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
            return store::abandonDefaultFile(file, m_notifier, "新建色谱文件失败!");
    }
    return store::finishDefaultFile(file, m_notifier, "新建色谱文件失败!");
}

bool CColorManager::loadColorGroups()
{
    CColorBoxFile file(CColorBoxFile::kColorGroupMode);
    if (!store::openStoreFile(file, groupFilePath(*this), m_notifier, "打开色谱文件失败!"))
        return false;
    clearCurrentBox();
    std::vector<PaintColorRecord> records;
    for (int index = 0; index < kColorGroupCount; ++index) {
        const auto data = store::readRecordData(file, std::to_string(index), PaintColorRecord::kSize);
        if (!data)
            continue; // a group that cannot be read contributes nothing
        for (std::size_t at = 0; at < data->size(); at += PaintColorRecord::kSize)
            records.push_back(PaintColorRecord::fromBytes(data->data() + at));
    }
    fillCatalogue(*this, std::move(records));
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
    const NewGroupColor paint{std::string(paintName), std::string(englishName), color, strength, mixingClass, origin};
    return addGroupColors(groupName, {&paint, 1}).isOk();
}

Status CColorManager::addGroupColors(std::string_view groupName, std::span<const NewGroupColor> paints,
                                     std::vector<std::string> *codes)
{
    if (paints.empty())
        return Status::ok();
    CColorBoxFile file(CColorBoxFile::kColorGroupMode);
    const int index = beginGroupEdit(*this, groupName, file);
    if (index < 0)
        return Status::error(file.lastError().isOk() ? "no colour group '" + std::string(groupName) + "'"
                                                     : file.lastError().message());
    // Names as stored (GBK, cut to the field) and user numbers in use.
    std::unordered_set<std::string> taken;
    std::unordered_set<unsigned long long> used;
    for (const PaintColorRecord &record : catalogueRecords()) {
        if (record.group() == index)
            taken.emplace(record.name());
        if (const auto number = userNumber(record.code()))
            used.insert(*number);
    }
    m_catalogue->reserve(catalogueCount() + static_cast<int>(paints.size()));
    std::vector<PaintColorRecord> added;
    auto rollBack = [&] {
        file.cancelEdit();
        for (const PaintColorRecord &record : added)
            m_catalogue->removeByKey(&record);
        if (codes)
            codes->clear();
    };
    auto refuse = [&](const NewGroupColor &paint, const std::string &why) {
        rollBack();
        return Status::error(paint.name + ": " + why);
    };
    std::optional<unsigned long long> last;
    for (const NewGroupColor &paint : paints) {
        const auto name = store::gbkName(paint.name);
        if (!name || !store::gbkName(paint.englishName))
            return refuse(paint, "the name holds a character the paint records cannot store");
        if (!taken.emplace(platform::cutGbk(*name, PaintColorRecord::kTextLimit)).second)
            return refuse(paint, "色谱中同名颜色存在!");
        // The next number is the one after the last unless that is taken;
        // then the full scan decides, as for a single add.
        std::optional<std::string> code;
        if (last && !used.contains(*last + 1))
            code = std::string(kUserCodePrefix) + std::to_string(*last + 1);
        else
            code = nextUserCode(catalogueRecords());
        if (!code)
            return refuse(paint, "a user paint's code is not a number");
        if (!addCatalogueColor(*code, paint.name, paint.englishName, paint.color, paint.strength, paint.mixingClass,
                               static_cast<std::uint8_t>(index), paint.origin))
            return refuse(paint, "增加色谱颜色失败!");
        PaintColorRecord record;
        makeKey(*code, paint.name, record);
        added.push_back(record);
        last = userNumber(*code);
        if (last)
            used.insert(*last);
        if (codes)
            codes->push_back(*code);
    }
    if (!writeGroupEntry(file, *this, index) || !file.commitEdit()) {
        const std::string reason = file.lastError().message();
        rollBack();
        return Status::error(reason.empty() ? "the colour group file could not be written" : reason);
    }
    return Status::ok();
}

bool CColorManager::modifyGroupColor(std::string_view groupName, std::string_view paintName,
                                     std::string_view englishName, const RgbColor &color, float strength,
                                     std::uint8_t mixingClass, std::uint8_t /*origin: a paint keeps its own*/)
{
    const auto gbkEnglish = store::gbkName(englishName);
    CColorBoxFile file(CColorBoxFile::kColorGroupMode);
    const int index = gbkEnglish ? beginGroupEdit(*this, groupName, file) : -1;
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
    if (writeGroupEntry(file, *this, index) && file.commitEdit())
        return true;
    m_catalogue->setAt(at, &found);
    return false;
}

bool CColorManager::deleteGroupColor(std::string_view groupName, std::string_view paintName)
{
    CColorBoxFile file(CColorBoxFile::kColorGroupMode);
    const int index = beginGroupEdit(*this, groupName, file);
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
        if (writeGroupEntry(file, *this, index))
            file.commitEdit();
        return false;
    }
    m_catalogue->removeByKey(&found);
    if (writeGroupEntry(file, *this, index) && file.commitEdit())
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
