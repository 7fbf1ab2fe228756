#include "data/records.h"

#include "data/platform.h"

#include <cstring>

namespace pigmora {

namespace {

void setField(std::uint8_t *field, std::size_t width, std::size_t limit, std::string_view gbk)
{
    le::writeText(field, width, platform::cutGbk(gbk, limit));
}

void setRgb(std::uint8_t *bytes, std::size_t red, std::size_t green, std::size_t blue, const RgbColor &color)
{
    le::writeI32(bytes + red, color.red);
    le::writeI32(bytes + green, color.green);
    le::writeI32(bytes + blue, color.blue);
}

int compareCodeThenName(const std::uint8_t *a, const std::uint8_t *b, std::size_t nameOffset, std::size_t width)
{
    const int byCode = le::compareText(a, b, width);
    return byCode != 0 ? byCode : le::compareText(a + nameOffset, b + nameOffset, width);
}

} // namespace

PaintColorRecord PaintColorRecord::fromBytes(const std::uint8_t *bytes)
{
    PaintColorRecord record;
    std::memcpy(record.m_bytes.data(), bytes, kSize);
    return record;
}

void PaintColorRecord::setCode(std::string_view gbk)
{
    setField(&m_bytes[kCodeOffset], kTextWidth, kTextLimit, gbk);
}

void PaintColorRecord::setName(std::string_view gbk)
{
    setField(&m_bytes[kNameOffset], kTextWidth, kTextLimit, gbk);
}

void PaintColorRecord::setEnglishName(std::string_view gbk)
{
    setField(&m_bytes[kEnglishNameOffset], kTextWidth, kTextLimit, gbk);
}

void PaintColorRecord::setColor(const RgbColor &color)
{
    setRgb(m_bytes.data(), kRedOffset, kGreenOffset, kBlueOffset, color);
}

bool PaintColorRecord::samePaint(const PaintColorRecord &other) const
{
    return comparePaintColorRecords(this, &other) == 0;
}

void StandardColorRecord::setCode(std::string_view gbk)
{
    setField(&m_bytes[kCodeOffset], kTextWidth, kTextLimit, gbk);
}

void StandardColorRecord::setName(std::string_view gbk)
{
    setField(&m_bytes[kNameOffset], kTextWidth, kTextLimit, gbk);
}

void StandardColorRecord::setEnglishName(std::string_view gbk)
{
    setField(&m_bytes[kEnglishNameOffset], kTextWidth, kTextLimit, gbk);
}

void StandardColorRecord::setColor(const RgbColor &color)
{
    setRgb(m_bytes.data(), kRedOffset, kGreenOffset, kBlueOffset, color);
}

PaletteColorRecord PaletteColorRecord::fromBytes(const std::uint8_t *bytes)
{
    PaletteColorRecord record;
    std::memcpy(record.m_bytes.data(), bytes, kSize);
    return record;
}

void PaletteColorRecord::setCode(std::string_view gbk)
{
    setField(&m_bytes[kCodeOffset], kCodeWidth, kCodeWidth, gbk);
}

void PaletteColorRecord::setColor(const RgbColor &color)
{
    setRgb(m_bytes.data(), kRedOffset, kGreenOffset, kBlueOffset, color);
}

int comparePaintColorRecords(const void *key, const void *element)
{
    return compareCodeThenName(static_cast<const std::uint8_t *>(key), static_cast<const std::uint8_t *>(element),
                               PaintColorRecord::kNameOffset, PaintColorRecord::kTextWidth);
}

int compareStandardColorRecords(const void *key, const void *element)
{
    return compareCodeThenName(static_cast<const std::uint8_t *>(key), static_cast<const std::uint8_t *>(element),
                               StandardColorRecord::kNameOffset, StandardColorRecord::kTextWidth);
}

int comparePaletteColorRecords(const void *key, const void *element)
{
    return le::compareText(static_cast<const std::uint8_t *>(key), static_cast<const std::uint8_t *>(element),
                           PaletteColorRecord::kCodeWidth);
}

} // namespace pigmora
