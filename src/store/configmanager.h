#pragma once

#include "store/tablefile.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace pigmora {

class Notifier;

// The program's settings: the section "SysConfig" of "QorConfig.bin", kept
// open for the whole run. Integers are 4-byte little-endian values.
class CConfigManager
{
public:
    static constexpr std::string_view kFileName = "QorConfig.bin";
    static constexpr std::string_view kSection = "SysConfig";

    explicit CConfigManager(std::filesystem::path programFolder, Notifier *notifier = nullptr);
    ~CConfigManager();
    CConfigManager(const CConfigManager &) = delete;
    CConfigManager &operator=(const CConfigManager &) = delete;

    // Creates the file with the default section when it does not exist. A
    // file that cannot be written completely is removed again, so the next
    // start creates it anew.
    bool createDefaultConfigFile();
    void open();
    void close();
    bool isOpen() const { return m_file.isOpen(); }
    void clearItems();
    bool loadSysConfig();
    // Writes the items changed since loadSysConfig over the section as the
    // file holds it now (read again under the folder's lock), so another
    // program's change of other items is not undone; the items then hold the
    // merged section. Refused while the section was never read from the
    // file (isLoaded): the items would be defaults, not the stored settings.
    bool saveSysConfig();

    // True once loadSysConfig ran on the open file: the items are the stored
    // section (as far as it could be read), with this run's changes.
    bool isLoaded() const { return m_loaded; }
    // Why the file did not open or the last save failed; ok otherwise.
    const Status &lastError() const { return m_lastError; }
    // Opens the file and reads the section when that did not happen at
    // start (the folder's lock was busy, the file missing or refused): true
    // once the section is loaded, which replaces the items held so far.
    bool retryLoad();

    const ConfigItem *findItem(std::string_view key) const;
    void addStringItem(std::string_view key, std::string_view text);
    // key and value are the stored bytes (a text key includes its NUL).
    void addBinaryItem(std::span<const std::uint8_t> key, std::span<const std::uint8_t> value);
    // False (out untouched) when the key is absent or its value is shorter
    // than 4 bytes.
    bool getInt(std::string_view key, std::int32_t &out) const;
    // False, and nothing added, when the key is absent.
    bool setInt(std::string_view key, std::int32_t value);
    // Replaces a text value (stored with its NUL); false, and nothing added,
    // when the key is absent.
    bool setString(std::string_view key, std::string_view text);

    const ConfigItemList &items() const { return m_items; }
    const CConfigFile &file() const { return m_file; }
    std::filesystem::path filePath() const { return m_programFolder / kFileName; }

private:
    void addIntItem(std::string_view key, std::int32_t value);

    std::filesystem::path m_programFolder;
    Notifier *m_notifier;
    CConfigFile m_file;
    ConfigItemList m_items;
    ConfigItemList m_loadedItems; // the section as last read or written
    bool m_loaded = false;
    Status m_lastError;
};

} // namespace pigmora
