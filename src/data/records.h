#pragma once

#include "data/bytes.h"
#include "data/color.h"

#include <array>
#include <cstdint>
#include <string_view>

// The three colour records. Each is its own byte layout: the in-memory record
// is exactly the bytes that the data files hold, and every field is read and
// written through explicit little-endian accessors. Text fields hold GBK and
// are NUL-padded; setters cut a text at its last whole GBK character that fits.
namespace pigmora {

// A paint of a colour group or colour box: 84 bytes, written as they are to
// "QorColorGroup.bin" and "QorColorbox.bin".
class PaintColorRecord
{
public:
    static constexpr std::size_t kSize = 84;
    static constexpr std::size_t kTextWidth = 21;
    static constexpr std::size_t kTextLimit = 20; // every text keeps a NUL

    static constexpr std::size_t kCodeOffset = 0;
    static constexpr std::size_t kNameOffset = 21;
    static constexpr std::size_t kEnglishNameOffset = 42;
    static constexpr std::size_t kRedOffset = 63;
    static constexpr std::size_t kGreenOffset = 67;
    static constexpr std::size_t kBlueOffset = 71;
    static constexpr std::size_t kStrengthOffset = 75;
    static constexpr std::size_t kBoxFlagOffset = 79;
    static constexpr std::size_t kUsedFlagOffset = 80;
    static constexpr std::size_t kMixingClassOffset = 81;
    static constexpr std::size_t kGroupOffset = 82;
    static constexpr std::size_t kOriginOffset = 83;

    // Origin flag values.
    static constexpr std::uint8_t kOriginLocked = 0;
    static constexpr std::uint8_t kOriginBuiltIn = 1;
    static constexpr std::uint8_t kOriginUser = 2;

    PaintColorRecord() = default; // zero-filled

    static PaintColorRecord fromBytes(const std::uint8_t *bytes);
    const std::array<std::uint8_t, kSize> &bytes() const { return m_bytes; }
    const std::uint8_t *data() const { return m_bytes.data(); }

    std::string_view code() const { return le::readText(&m_bytes[kCodeOffset], kTextWidth); }
    std::string_view name() const { return le::readText(&m_bytes[kNameOffset], kTextWidth); }
    std::string_view englishName() const { return le::readText(&m_bytes[kEnglishNameOffset], kTextWidth); }
    void setCode(std::string_view gbk);
    void setName(std::string_view gbk);
    void setEnglishName(std::string_view gbk);

    std::int32_t red() const { return le::readI32(&m_bytes[kRedOffset]); }
    std::int32_t green() const { return le::readI32(&m_bytes[kGreenOffset]); }
    std::int32_t blue() const { return le::readI32(&m_bytes[kBlueOffset]); }
    RgbColor color() const { return {red(), green(), blue()}; }
    void setColor(const RgbColor &color);

    float strength() const { return le::readF32(&m_bytes[kStrengthOffset]); }
    void setStrength(float strength) { le::writeF32(&m_bytes[kStrengthOffset], strength); }

    std::uint8_t boxFlag() const { return m_bytes[kBoxFlagOffset]; }
    void setBoxFlag(std::uint8_t flag) { m_bytes[kBoxFlagOffset] = flag; }
    std::uint8_t usedFlag() const { return m_bytes[kUsedFlagOffset]; }
    void setUsedFlag(std::uint8_t flag) { m_bytes[kUsedFlagOffset] = flag; }
    std::uint8_t mixingClass() const { return m_bytes[kMixingClassOffset]; }
    void setMixingClass(std::uint8_t value) { m_bytes[kMixingClassOffset] = value; }
    std::uint8_t group() const { return m_bytes[kGroupOffset]; }
    void setGroup(std::uint8_t group) { m_bytes[kGroupOffset] = group; }
    std::uint8_t origin() const { return m_bytes[kOriginOffset]; }
    void setOrigin(std::uint8_t origin) { m_bytes[kOriginOffset] = origin; }

    // Same paint: code and name equal.
    bool samePaint(const PaintColorRecord &other) const;

    friend bool operator==(const PaintColorRecord &, const PaintColorRecord &) = default;

private:
    std::array<std::uint8_t, kSize> m_bytes{};
};
static_assert(sizeof(PaintColorRecord) == PaintColorRecord::kSize);

// An entry of a standard colour card. Lives only in memory.
class StandardColorRecord
{
public:
    static constexpr std::size_t kTextWidth = 21;
    static constexpr std::size_t kTextLimit = 20;
    static constexpr std::size_t kCodeOffset = 0;
    static constexpr std::size_t kNameOffset = 21;
    static constexpr std::size_t kEnglishNameOffset = 42;
    static constexpr std::size_t kRedOffset = 63;
    static constexpr std::size_t kGreenOffset = 67;
    static constexpr std::size_t kBlueOffset = 71;
    static constexpr std::size_t kSize = 75;

    StandardColorRecord() = default;

    std::string_view code() const { return le::readText(&m_bytes[kCodeOffset], kTextWidth); }
    std::string_view name() const { return le::readText(&m_bytes[kNameOffset], kTextWidth); }
    std::string_view englishName() const { return le::readText(&m_bytes[kEnglishNameOffset], kTextWidth); }
    // The text shown for an entry is its code.
    std::string_view displayText() const { return code(); }
    void setCode(std::string_view gbk);
    void setName(std::string_view gbk);
    void setEnglishName(std::string_view gbk);

    RgbColor color() const
    {
        return {le::readI32(&m_bytes[kRedOffset]), le::readI32(&m_bytes[kGreenOffset]),
                le::readI32(&m_bytes[kBlueOffset])};
    }
    void setColor(const RgbColor &color);
    // An entry whose colour no published source gives carries -1 channels;
    // such an entry is listed but never offered as a match.
    bool hasColor() const { return color().red >= 0; }

private:
    std::array<std::uint8_t, kSize> m_bytes{};
};
static_assert(sizeof(StandardColorRecord) == StandardColorRecord::kSize);

// A colour saved in a palette: 37 bytes, written as they are to "QorPalette.bin".
class PaletteColorRecord
{
public:
    static constexpr std::size_t kSize = 37;
    static constexpr std::size_t kCodeWidth = 21; // no NUL when the code fills it
    static constexpr std::size_t kCodeOffset = 0;
    static constexpr std::size_t kRedOffset = 21;
    static constexpr std::size_t kGreenOffset = 25;
    static constexpr std::size_t kBlueOffset = 29;
    static constexpr std::size_t kCellOffset = 33;
    static constexpr std::int32_t kEmptyCell = -1;

    PaletteColorRecord() = default;

    static PaletteColorRecord fromBytes(const std::uint8_t *bytes);
    const std::array<std::uint8_t, kSize> &bytes() const { return m_bytes; }
    const std::uint8_t *data() const { return m_bytes.data(); }

    std::string_view code() const { return le::readText(&m_bytes[kCodeOffset], kCodeWidth); }
    void setCode(std::string_view gbk);

    RgbColor color() const
    {
        return {le::readI32(&m_bytes[kRedOffset]), le::readI32(&m_bytes[kGreenOffset]),
                le::readI32(&m_bytes[kBlueOffset])};
    }
    void setColor(const RgbColor &color);
    std::int32_t cell() const { return le::readI32(&m_bytes[kCellOffset]); }
    void setCell(std::int32_t cell) { le::writeI32(&m_bytes[kCellOffset], cell); }

    friend bool operator==(const PaletteColorRecord &, const PaletteColorRecord &) = default;

private:
    std::array<std::uint8_t, kSize> m_bytes{};
};
static_assert(sizeof(PaletteColorRecord) == PaletteColorRecord::kSize);

// Compare functions for DCArray (key, element): unsigned byte comparison of
// the NUL-terminated texts, -1, 0 or +1, ascending.
int comparePaintColorRecords(const void *key, const void *element); // code, then name
int compareStandardColorRecords(const void *key, const void *element); // code, then name
int comparePaletteColorRecords(const void *key, const void *element); // code

} // namespace pigmora
