#pragma once

#include "data/status.h"
#include "engine/mixsolver.h"
#include "engine/recipe.h"

#include <optional>
#include <string>
#include <string_view>

namespace pigmora {

class CConfigManager;

// The user's settings in the section "SysConfig": their keys, their typed
// values and the one place they are read from and written to.
namespace settingkeys {
inline constexpr std::string_view kGridColumns = "GridColCount";
inline constexpr std::string_view kGridRows = "GridRowCount";
inline constexpr std::string_view kMixingMode = "ColorMixingMode";
// UTF-8 text (not GBK: a path may hold any character). Optional: a file
// without it works as before.
inline constexpr std::string_view kLastPictureFolder = "LastPictureFolder";
// The folder the palette export dialog last wrote to; same rules.
inline constexpr std::string_view kLastPaletteFolder = "LastPaletteFolder";
// "1" when the grid has square cells; optional (absent: columns x rows).
inline constexpr std::string_view kGridSquareCells = "GridSquareCells";
// The side of the square a pick takes the mean of ("1", "3", ... "31");
// optional (absent: one pixel).
inline constexpr std::string_view kSampleSize = "SampleSize";
// Where the palette window was put: "x,y" of its frame; optional.
inline constexpr std::string_view kPaletteWindowPlace = "PaletteWindowPlace";
// The largest total of a whole-part recipe, "2".."100"; optional (absent or
// out of range: kDefaultMaxParts).
inline constexpr std::string_view kMaxParts = "MaxParts";
// The interface language: "zh", "en", or "system" (also when absent).
inline constexpr std::string_view kLanguage = "Language";
} // namespace settingkeys

// Settings the program applies at start; a key the configuration lacks keeps
// the program's own initial value.
struct StartupSettings {
    int gridColumns = 8;
    int gridRows = 6;
    int mixingMode = 0; // 0 subtractive, 1 spatial, 2 pigment; any other value counts as subtractive
    int maxParts = kDefaultMaxParts;
};

// The status text of a stored mixing mode ("减法混色", "空间混色", "颜料混色"),
// naming the model mixModelOfSetting picks for it.
std::string mixingModeText(int mixingMode);

// The stored values over the initial ones (keys that are absent keep them).
StartupSettings readSettings(const CConfigManager &config);

// What a settings save did: why it stored nothing (the store's message, or
// a key the section lacks), and the settings in force afterwards: those the
// configuration holds, which after a failed save keep the change for this
// run (the next save that succeeds stores it), merged with what another
// program stored.
struct SettingsSave {
    Status status;
    StartupSettings inForce;
    explicit operator bool() const { return status.isOk(); }
};

// Each writes the values of keys the section holds and saves the section; a
// key the section lacks is not added (a failure then, as a failed save).
SettingsSave saveGridCount(CConfigManager &config, int columns, int rows);
SettingsSave saveMixingMode(CConfigManager &config, int mixingMode);

// An optional text item (the keys above from kLastPictureFolder on); none
// when not stored.
std::optional<std::string> storedText(const CConfigManager &config, std::string_view key);
// Stores the text (adding the key when absent) and saves the section, but
// only when it differs from what is stored.
bool saveText(CConfigManager &config, std::string_view key, std::string_view text);

// Stores the largest parts total (clamped to kMinMaxParts..kMaxMaxParts);
// a file that never had one gets it only when it differs from the default.
bool saveMaxParts(CConfigManager &config, int maxParts);

// The folder a file dialog last used, under one of the folder keys above.
inline std::optional<std::string> lastFolder(const CConfigManager &config, std::string_view key)
{
    return storedText(config, key);
}
inline bool saveLastFolder(CConfigManager &config, std::string_view key, std::string_view folder)
{
    return saveText(config, key, folder);
}

} // namespace pigmora
