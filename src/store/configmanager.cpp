#include "store/configmanager.h"

#include "data/bytes.h"
#include "store/dcfile.h"
#include "store/settings.h"
#include "store/storesupport.h"

#include <cstring>

namespace pigmora {

namespace {

std::span<const std::uint8_t> bytesOf(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t *>(text.data()), text.size()};
}

// A text key as stored: its letters and the terminating NUL.
std::string storedKey(std::string_view key)
{
    return std::string(key) + '\0';
}

// First item whose key, read as a C string, equals key.
template<typename Items>
auto findByKey(Items &items, std::string_view key) -> decltype(&items.front())
{
    for (auto &item : items) {
        if (std::string_view(item.key.c_str()) == key)
            return &item;
    }
    return nullptr;
}

} // namespace

CConfigManager::CConfigManager(std::filesystem::path programFolder, Notifier *notifier)
    : m_programFolder(std::move(programFolder))
    , m_notifier(notifier)
{ }

CConfigManager::~CConfigManager()
{
    close();
    clearItems();
}

bool CConfigManager::createDefaultConfigFile()
{
    if (!store::createStoreFile(m_file, filePath(), m_notifier, "新建配置参数文件失败!"))
        return false;
    clearItems();
    addStringItem("AppName", "Pigmora(Avelle)");
    addIntItem(settingkeys::kGridColumns, 5);
    addIntItem(settingkeys::kGridRows, 6);
    addIntItem(settingkeys::kMixingMode, 0);
    if (!m_file.writeItems(kSection, m_items))
        return store::abandonDefaultFile(m_file, m_notifier, "新建配置参数文件失败!");
    const bool written = store::finishDefaultFile(m_file, m_notifier, "新建配置参数文件失败!");
    close();
    return written;
}

void CConfigManager::open()
{
    if (m_file.isOpen())
        return;
    m_lastError = m_file.open(filePath()) ? Status::ok() : m_file.lastError();
}

void CConfigManager::close()
{
    if (m_file.isOpen())
        m_file.close();
}

void CConfigManager::clearItems()
{
    CConfigFile::freeItems(m_items);
    m_loadedItems.clear();
}

bool CConfigManager::loadSysConfig()
{
    clearItems();
    m_loadedItems.clear();
    m_loaded = m_file.isOpen();
    const bool loaded = m_loaded && m_file.readItems(kSection, m_items);
    m_loadedItems = m_items;
    return loaded;
}

bool CConfigManager::retryLoad()
{
    if (m_loaded)
        return true;
    open();
    if (!m_file.isOpen())
        return false;
    loadSysConfig();
    return true;
}

// Under the folder's exclusive lock the section is read again from the file
// (another program may have saved since it was loaded) and only the items
// changed here since loading are written over it, so another program's
// change of other items is kept.
bool CConfigManager::saveSysConfig()
{
    if (!m_loaded) {
        const std::string reason = m_lastError ? std::string("it is not open") : m_lastError.message();
        m_lastError = Status::error("the settings were not read from " + std::string(kFileName) + " (" + reason
                                    + "), so they are not stored");
        return false;
    }
    // A save that failed to read the file again closed it: the section was
    // read before, and only this run's changes are written over the file.
    open();
    if (!m_file.isOpen())
        return false;
    if (!m_file.beginEdit()) {
        m_lastError = m_file.lastError();
        return false;
    }
    ConfigItemList current;
    if (!m_file.readItems(kSection, current))
        current = m_loadedItems;
    for (const ConfigItem &item : m_items) {
        const ConfigItem *loaded = findByKey(m_loadedItems, item.key.c_str());
        if (loaded && loaded->key == item.key && loaded->value == item.value)
            continue; // unchanged here: the file's value stands
        if (ConfigItem *stored = findByKey(current, item.key.c_str()))
            *stored = item;
        else
            current.push_back(item);
    }
    if (!m_file.writeItems(kSection, current) || !m_file.commitEdit()) {
        m_lastError = m_file.lastError().isOk()
            ? Status::error(std::string(kFileName) + ": the settings could not be written")
            : m_file.lastError();
        m_file.cancelEdit();
        return false;
    }
    m_lastError = Status::ok();
    m_items = current;
    m_loadedItems = std::move(current);
    return true;
}

const ConfigItem *CConfigManager::findItem(std::string_view key) const
{
    return findByKey(m_items, key);
}

void CConfigManager::addStringItem(std::string_view key, std::string_view text)
{
    const std::string value = std::string(text) + '\0';
    addBinaryItem(bytesOf(storedKey(key)), bytesOf(value));
}

void CConfigManager::addBinaryItem(std::span<const std::uint8_t> key, std::span<const std::uint8_t> value)
{
    const std::string keyText(reinterpret_cast<const char *>(key.data()), key.size());
    if (findItem(keyText.c_str()))
        return;
    m_items.push_back({keyText, std::string(reinterpret_cast<const char *>(value.data()), value.size())});
}

void CConfigManager::addIntItem(std::string_view key, std::int32_t value)
{
    std::uint8_t bytes[4];
    le::writeI32(bytes, value);
    addBinaryItem(bytesOf(storedKey(key)), bytes);
}

bool CConfigManager::getInt(std::string_view key, std::int32_t &out) const
{
    const ConfigItem *item = findItem(key);
    if (!item || item->value.size() < 4)
        return false;
    out = le::readI32(reinterpret_cast<const std::uint8_t *>(item->value.data()));
    return true;
}

bool CConfigManager::setInt(std::string_view key, std::int32_t value)
{
    ConfigItem *found = findByKey(m_items, key);
    if (!found)
        return false;
    found->value.assign(4, '\0');
    le::writeI32(reinterpret_cast<std::uint8_t *>(found->value.data()), value);
    return true;
}

bool CConfigManager::setString(std::string_view key, std::string_view text)
{
    ConfigItem *found = findByKey(m_items, key);
    if (!found)
        return false;
    found->value = std::string(text) + '\0';
    return true;
}

} // namespace pigmora
