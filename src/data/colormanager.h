#pragma once

#include "data/builtincatalogue.h"
#include "data/color.h"
#include "data/dcarray.h"
#include "data/records.h"
#include "data/status.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pigmora {

class Notifier;
struct MixResult;

// The object through which the windows reach colour data: the catalogue of
// every known paint and the current colour box that the solver mixes from.
// Texts passed in and out of this interface are UTF-8; the records hold GBK.
class CColorManager
{
public:
    // programFolder holds the data files. The notifier receives the stores'
    // messages; without one they are dropped.
    explicit CColorManager(std::filesystem::path programFolder, Notifier *notifier = nullptr);
    ~CColorManager();

    CColorManager(const CColorManager &) = delete;
    CColorManager &operator=(const CColorManager &) = delete;

    // --- Catalogue and current colour box (in memory) ---

    // Fills the catalogue with the 261 built-in paints and the current colour
    // box with the provisional box (15 of its 17 listed paints exist).
    bool buildBuiltInCatalogue();
    bool releaseArrays();

    bool addCatalogueColor(std::string_view code, std::string_view name, std::string_view englishName,
                           const RgbColor &color, float strength, std::uint8_t mixingClass, std::uint8_t group,
                           std::uint8_t origin);
    // The record addCatalogueColor inserts; none when a text cannot be
    // represented in GBK.
    static std::optional<PaintColorRecord> makeCatalogueRecord(std::string_view code, std::string_view name,
                                                               std::string_view englishName, const RgbColor &color,
                                                               float strength, std::uint8_t mixingClass,
                                                               std::uint8_t group, std::uint8_t origin);
    // Inserts a ready record (as read from a file) at its sorted place; false
    // when the catalogue already holds that code and name.
    bool addCatalogueRecord(const PaintColorRecord &record);
    bool modifyCatalogueColor(std::string_view code, std::string_view name, std::string_view englishName,
                              const RgbColor &color, float strength, std::uint8_t mixingClass, std::uint8_t group);
    bool deleteCatalogueColor(std::string_view code, std::string_view name);
    bool findCatalogueColor(std::string_view code, std::string_view name, PaintColorRecord &out) const;
    int catalogueCount() const;
    bool catalogueColorAt(int index, PaintColorRecord &out) const;
    void clearCatalogue();

    bool addToCurrentBox(std::string_view code, std::string_view name);
    bool isInCurrentBox(std::string_view code, std::string_view name) const;
    void clearCurrentBox();

    // Read-only views in array order (code, then name); empty when absent.
    std::span<const PaintColorRecord> catalogueRecords() const;
    std::span<const PaintColorRecord> currentBoxRecords() const;
    bool hasArrays() const { return m_catalogue && m_currentBox; }

    // --- Mixing solver ---

    bool findSpatialMix(MixResult &result) const;
    bool findSubtractiveMix(MixResult &result) const;
    bool findPigmentMix(MixResult &result) const;

    // --- Stores: colour groups, colour boxes and palettes (src/store) ---
    // Each operation opens its data file in the program folder, does one
    // query or change and closes it. Names are UTF-8 here and GBK in the
    // files. A missing file makes an operation return false without a
    // message; a file that does not open shows the operation's message.

    // Every change runs as one transaction of its file under the data
    // folder's exclusive lock; the colour group edits first read the
    // catalogue again from the file, so another program's paints are kept.
    // Names holding control characters are refused.

    // Colour groups ("QorColorGroup.bin", one entry "0" to "5" per group).
    static bool colorGroupName(int index, std::string &name);
    static bool listColorGroups(std::vector<std::string> &list);
    static int colorGroupIndex(std::string_view groupName);
    bool createDefaultColorGroupFile();
    bool loadColorGroups();
    bool findGroupColor(std::string_view groupName, std::string_view paintName, PaintColorRecord &out) const;
    bool nextCustomColorName(std::string_view groupName, std::string &name) const;
    bool addGroupColor(std::string_view groupName, std::string_view paintName, std::string_view englishName,
                       const RgbColor &color, float strength, std::uint8_t mixingClass, std::uint8_t origin);
    bool modifyGroupColor(std::string_view groupName, std::string_view paintName, std::string_view englishName,
                          const RgbColor &color, float strength, std::uint8_t mixingClass, std::uint8_t origin);
    bool deleteGroupColor(std::string_view groupName, std::string_view paintName);
    bool isColorInAnyColorBox(const PaintColorRecord &record) const;

    // A paint for addGroupColors (texts UTF-8).
    struct NewGroupColor {
        std::string name;
        std::string englishName;
        RgbColor color;
        float strength = 1.0f;
        std::uint8_t mixingClass = 2;
        std::uint8_t origin = PaintColorRecord::kOriginUser;
    };
    // Adds the paints to the group as addGroupColor would one after another,
    // as one change of the colour group file: all of them or none. Refused,
    // with the reason, when a name is taken in the group, repeats in the list
    // or cannot be stored. codes receives the new paints' codes in order.
    Status addGroupColors(std::string_view groupName, std::span<const NewGroupColor> paints,
                          std::vector<std::string> *codes = nullptr);

    // The version of one colour box or palette as the file holds it: a
    // fingerprint of its entry (value, tag and data), or absent. Two windows
    // (or programs) that loaded the same box or palette tell by it whether
    // the other saved it since.
    struct StoredVersion {
        bool present = false;
        std::uint64_t fingerprint = 0;
        bool operator==(const StoredVersion &) const = default;
    };
    // What a save that checks the stored version did.
    struct SaveResult {
        enum class Outcome {
            Saved,
            ChangedOnDisk, // stored differently than when loaded: nothing written
            Failed, // message says why; nothing written
        };
        Outcome outcome = Outcome::Failed;
        // Saved: the version now stored. ChangedOnDisk: the version found,
        // with which a second save overwrites it on purpose ("keep mine").
        StoredVersion version;
        std::string message;
    };

    // Colour boxes ("QorColorbox.bin", one entry per box).
    bool createDefaultColorBoxFile();
    bool loadColorBox(std::string_view boxName);
    bool reloadCurrentColorBox();
    bool listColorBoxes(std::vector<std::string> &list) const;
    bool saveCurrentColorBox();
    // The version of the current box as loadColorBox found it (or as the
    // last save that checked it stored it).
    const StoredVersion &currentColorBoxVersion() const { return m_currentBoxVersion; }
    // Saves the current box as saveCurrentColorBox does, from the file as it
    // is now (other boxes stay as another program left them), but only when
    // the box is still stored as the version given; otherwise nothing is
    // written and the outcome is ChangedOnDisk.
    SaveResult saveCurrentColorBoxIfUnchanged(const StoredVersion &loaded);
    bool colorBoxExists(std::string_view boxName) const;
    bool createColorBox(int groupIndex, std::string_view boxName);
    bool deleteColorBox(std::string_view boxName);
    bool renameColorBox(std::string_view oldName, std::string_view newName);
    static bool isSystemColorBox(std::string_view boxName);

    // Palettes ("QorPalette.bin", one entry per palette).
    bool createDefaultPaletteFile();
    bool listPalettes(std::vector<std::string> &list) const;
    bool loadPalette(std::string_view paletteName, std::vector<PaletteColorRecord> &list) const;
    static void freePaletteColors(std::vector<PaletteColorRecord> &list) { list.clear(); }
    bool savePalette(std::string_view paletteName, const std::vector<PaletteColorRecord> &list);
    // loadPalette that also answers the palette's stored version.
    bool loadPalette(std::string_view paletteName, std::vector<PaletteColorRecord> &list, StoredVersion &version) const;
    // Saves the palette as savePalette does, from the file as it is now
    // (other palettes stay as another program left them), but only when the
    // palette is still stored as the version given; otherwise nothing is
    // written and the outcome is ChangedOnDisk.
    SaveResult savePaletteIfUnchanged(std::string_view paletteName, const std::vector<PaletteColorRecord> &list,
                                      const StoredVersion &loaded);
    bool paletteExists(std::string_view paletteName) const;
    bool createPalette(std::string_view paletteName);
    // Adds a new palette with its colours as one change of the palette file,
    // refused (the reason said) when a palette of that name exists by then,
    // the name cannot be stored or the file cannot be changed.
    Status addPalette(std::string_view paletteName, std::span<const PaletteColorRecord> colors);
    bool deletePalette(std::string_view paletteName);
    bool renamePalette(std::string_view oldName, std::string_view newName);
    static bool isSystemPalette(std::string_view paletteName);

    // --- Current colour box identity (set by loading a box) ---

    const std::string &currentColorBoxName() const { return m_currentBoxName; } // UTF-8
    std::uint8_t currentColorBoxGroup() const { return m_currentBoxGroup; }

    const std::filesystem::path &programFolder() const { return m_programFolder; }
    Notifier *notifier() const { return m_notifier; }

private:
    // Key records for lookups: code and name (GBK, cut at 20 bytes), all else
    // zero. False when a text cannot be represented in GBK.
    static bool makeKey(std::string_view code, std::string_view name, PaintColorRecord &key);

    std::unique_ptr<DCArray> m_catalogue;
    std::unique_ptr<DCArray> m_currentBox;
    std::filesystem::path m_programFolder;
    std::string m_currentBoxName;
    std::uint8_t m_currentBoxGroup = 0;
    StoredVersion m_currentBoxVersion;
    Notifier *m_notifier = nullptr;
};

} // namespace pigmora
