#pragma once

#include "data/builtincatalogue.h"
#include "data/color.h"
#include "data/dcarray.h"
#include "data/records.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

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

    // --- Current colour box identity (set by loading a box) ---

    const std::string &currentColorBoxName() const { return m_currentBoxName; } // UTF-8
    std::uint8_t currentColorBoxGroup() const { return m_currentBoxGroup; }

    const std::filesystem::path &programFolder() const { return m_programFolder; }
    Notifier *notifier() const { return m_notifier; }

private:
    // Key records for lookups: code and name (GBK, cut at 20 bytes), all else
    // zero. False when a text cannot be represented in GBK.
    static bool makeKey(std::string_view code, std::string_view name, PaintColorRecord &key);
    static std::span<const PaintColorRecord> recordsOf(const DCArray *array);

    std::unique_ptr<DCArray> m_catalogue;
    std::unique_ptr<DCArray> m_currentBox;
    std::filesystem::path m_programFolder;
    std::string m_currentBoxName;
    std::uint8_t m_currentBoxGroup = 0;
    Notifier *m_notifier = nullptr;
};

} // namespace pigmora
