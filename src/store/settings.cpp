#include "store/settings.h"

#include "engine/colorpick.h"
#include "store/configmanager.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace pigmora {

std::string mixingModeText(int mixingMode)
{
    return mixModelStatusText(mixModelOfSetting(mixingMode));
}

StartupSettings readSettings(const CConfigManager &config)
{
    StartupSettings settings;
    std::int32_t value = 0;
    if (config.getInt(settingkeys::kGridColumns, value))
        settings.gridColumns = value;
    if (config.getInt(settingkeys::kGridRows, value))
        settings.gridRows = value;
    if (config.getInt(settingkeys::kMixingMode, value))
        settings.mixingMode = value;
    if (const std::optional<std::string> text = storedText(config, settingkeys::kMaxParts)) {
        int parts = 0;
        const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), parts);
        if (error == std::errc() && end == text->data() + text->size() && parts >= kMinMaxParts
            && parts <= kMaxMaxParts)
            settings.maxParts = parts;
    }
    return settings;
}

namespace {

// Saves the section after setting keys (held true when every key was there).
SettingsSave saveSection(CConfigManager &config, bool keysHeld)
{
    SettingsSave result;
    if (!config.saveSysConfig())
        result.status
            = config.lastError().isOk() ? Status::error("the settings could not be stored") : config.lastError();
    else if (!keysHeld)
        result.status = Status::error(std::string(CConfigManager::kFileName)
                                      + " lacks the setting's key, so the setting is not stored");
    result.inForce = readSettings(config);
    return result;
}

} // namespace

SettingsSave saveGridCount(CConfigManager &config, int columns, int rows)
{
    const bool columnsHeld = config.setInt(settingkeys::kGridColumns, columns);
    const bool rowsHeld = config.setInt(settingkeys::kGridRows, rows); // set even when the columns' key is absent
    return saveSection(config, columnsHeld && rowsHeld);
}

SettingsSave saveMixingMode(CConfigManager &config, int mixingMode)
{
    const bool held = config.setInt(settingkeys::kMixingMode, mixingMode);
    return saveSection(config, held);
}

std::optional<std::string> storedText(const CConfigManager &config, std::string_view key)
{
    const ConfigItem *item = config.findItem(key);
    if (!item)
        return std::nullopt;
    // Stored with its terminating NUL, like the other text items.
    std::string text = item->value;
    if (const std::size_t nul = text.find('\0'); nul != std::string::npos)
        text.resize(nul);
    return text;
}

bool saveText(CConfigManager &config, std::string_view key, std::string_view text)
{
    if (text.find('\0') != std::string_view::npos)
        return false;
    const std::optional<std::string> stored = storedText(config, key);
    if (stored && *stored == text)
        return true;
    if (!config.setString(key, text))
        config.addStringItem(key, text);
    return config.saveSysConfig();
}

bool saveMaxParts(CConfigManager &config, int maxParts)
{
    maxParts = std::clamp(maxParts, kMinMaxParts, kMaxMaxParts);
    if (maxParts == kDefaultMaxParts && !storedText(config, settingkeys::kMaxParts))
        return true;
    return saveText(config, settingkeys::kMaxParts, std::to_string(maxParts));
}

} // namespace pigmora
