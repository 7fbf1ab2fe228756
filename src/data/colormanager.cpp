#include "data/colormanager.h"

#include "data/platform.h"

#include <algorithm>
#include <vector>

namespace pigmora {

namespace {

std::unique_ptr<DCArray> newPaintArray()
{
    return std::make_unique<DCArray>(static_cast<std::uint32_t>(PaintColorRecord::kSize), comparePaintColorRecords);
}

// The built-in paints as records in catalogue order, made once per process:
// every new data folder and every reset builds the catalogue again, and in
// order each insertion appends. The sort is stable, so of two paints with
// one code and name the first listed is still the one kept.
const std::vector<PaintColorRecord> &builtInRecords()
{
    static const std::vector<PaintColorRecord> records = [] {
        std::vector<PaintColorRecord> made;
        for (const BuiltInPaint &paint : builtInPaints()) {
            const auto record = CColorManager::makeCatalogueRecord(
                paint.code, paint.name, paint.englishName, {paint.red, paint.green, paint.blue}, paint.strength,
                paint.mixingClass, paint.group, PaintColorRecord::kOriginBuiltIn);
            if (record)
                made.push_back(*record);
        }
        std::stable_sort(made.begin(), made.end(), [](const PaintColorRecord &a, const PaintColorRecord &b) {
            return comparePaintColorRecords(&a, &b) < 0;
        });
        return made;
    }();
    return records;
}

} // namespace

CColorManager::CColorManager(std::filesystem::path programFolder, Notifier *notifier)
    : m_programFolder(std::move(programFolder))
    , m_notifier(notifier)
{ }

CColorManager::~CColorManager()
{
    releaseArrays();
}

bool CColorManager::makeKey(std::string_view code, std::string_view name, PaintColorRecord &key)
{
    const auto gbkCode = platform::utf8ToGbk(code);
    const auto gbkName = platform::utf8ToGbk(name);
    if (!gbkCode || !gbkName)
        return false;
    key = PaintColorRecord();
    key.setCode(*gbkCode);
    key.setName(*gbkName);
    return true;
}

bool CColorManager::buildBuiltInCatalogue()
{
    releaseArrays();
    m_catalogue = newPaintArray();
    m_currentBox = newPaintArray();
    for (const PaintColorRecord &record : builtInRecords())
        addCatalogueRecord(record);
    for (const PaintKey &key : provisionalBoxPaints())
        addToCurrentBox(key.code, key.name);
    return true;
}

bool CColorManager::releaseArrays()
{
    m_catalogue.reset();
    m_currentBox.reset();
    return true;
}

std::optional<PaintColorRecord> CColorManager::makeCatalogueRecord(std::string_view code, std::string_view name,
                                                                   std::string_view englishName, const RgbColor &color,
                                                                   float strength, std::uint8_t mixingClass,
                                                                   std::uint8_t group, std::uint8_t origin)
{
    PaintColorRecord record;
    const auto gbkEnglish = platform::utf8ToGbk(englishName);
    if (!gbkEnglish || !makeKey(code, name, record))
        return std::nullopt;
    record.setEnglishName(*gbkEnglish);
    record.setColor(color);
    record.setStrength(strength);
    record.setMixingClass(mixingClass);
    record.setGroup(group);
    record.setOrigin(origin);
    return record;
}

bool CColorManager::addCatalogueColor(std::string_view code, std::string_view name, std::string_view englishName,
                                      const RgbColor &color, float strength, std::uint8_t mixingClass,
                                      std::uint8_t group, std::uint8_t origin)
{
    const auto record = makeCatalogueRecord(code, name, englishName, color, strength, mixingClass, group, origin);
    return record && addCatalogueRecord(*record);
}

bool CColorManager::addCatalogueRecord(const PaintColorRecord &record)
{
    return m_catalogue && m_catalogue->insertSorted(&record) >= 0;
}

bool CColorManager::modifyCatalogueColor(std::string_view code, std::string_view name, std::string_view englishName,
                                         const RgbColor &color, float strength, std::uint8_t mixingClass,
                                         std::uint8_t group)
{
    PaintColorRecord key;
    const auto gbkEnglish = platform::utf8ToGbk(englishName);
    if (!m_catalogue || !gbkEnglish || !makeKey(code, name, key))
        return false;
    const int index = m_catalogue->find(&key);
    if (index < 0)
        return false;
    auto record = m_catalogue->at<PaintColorRecord>(index);
    record.setEnglishName(*gbkEnglish);
    record.setColor(color);
    record.setStrength(strength);
    record.setMixingClass(mixingClass);
    record.setGroup(group);
    return m_catalogue->setAt(index, &record);
}

bool CColorManager::deleteCatalogueColor(std::string_view code, std::string_view name)
{
    PaintColorRecord key;
    return m_catalogue && makeKey(code, name, key) && m_catalogue->removeByKey(&key);
}

bool CColorManager::findCatalogueColor(std::string_view code, std::string_view name, PaintColorRecord &out) const
{
    out = PaintColorRecord();
    PaintColorRecord key;
    if (!m_catalogue || !makeKey(code, name, key))
        return false;
    const int index = m_catalogue->find(&key);
    return index >= 0 && m_catalogue->getAs(index, out);
}

int CColorManager::catalogueCount() const
{
    return m_catalogue ? m_catalogue->count() : 0;
}

bool CColorManager::catalogueColorAt(int index, PaintColorRecord &out) const
{
    out = PaintColorRecord();
    return m_catalogue && m_catalogue->getAs(index, out);
}

void CColorManager::clearCatalogue()
{
    if (m_catalogue)
        m_catalogue->clear();
}

bool CColorManager::addToCurrentBox(std::string_view code, std::string_view name)
{
    PaintColorRecord record;
    if (!m_currentBox || !findCatalogueColor(code, name, record))
        return false;
    if (m_currentBox->find(&record) >= 0)
        return false;
    record.setBoxFlag(1);
    return m_currentBox->insertSorted(&record) >= 0;
}

bool CColorManager::isInCurrentBox(std::string_view code, std::string_view name) const
{
    PaintColorRecord key;
    return m_currentBox && makeKey(code, name, key) && m_currentBox->find(&key) >= 0;
}

void CColorManager::clearCurrentBox()
{
    if (m_currentBox)
        m_currentBox->clear();
}

std::span<const PaintColorRecord> CColorManager::catalogueRecords() const
{
    return m_catalogue ? m_catalogue->recordsAs<PaintColorRecord>() : std::span<const PaintColorRecord>();
}

std::span<const PaintColorRecord> CColorManager::currentBoxRecords() const
{
    return m_currentBox ? m_currentBox->recordsAs<PaintColorRecord>() : std::span<const PaintColorRecord>();
}

} // namespace pigmora
