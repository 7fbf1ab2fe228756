#include "store/paletteexport.h"

#include "data/platform.h"
#include "data/utf8.h"
#include "store/gimppalette.h"
#include "store/safefile.h"

#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>

namespace pigmora {

namespace {

int channel(std::int32_t value)
{
    return std::clamp(value, 0, 255);
}

// --- Adobe swatch exchange 1.0: big-endian blocks ---

constexpr std::uint16_t kAseGroupStart = 0xC001;
constexpr std::uint16_t kAseGroupEnd = 0xC002;
constexpr std::uint16_t kAseColorEntry = 0x0001;
constexpr std::uint16_t kAseNormalColor = 2;

void putU16(std::string &out, std::uint16_t value)
{
    out.push_back(static_cast<char>(value >> 8));
    out.push_back(static_cast<char>(value & 0xFF));
}

void putU32(std::string &out, std::uint32_t value)
{
    putU16(out, static_cast<std::uint16_t>(value >> 16));
    putU16(out, static_cast<std::uint16_t>(value & 0xFFFF));
}

// A name: its length in UTF-16 units with the terminating zero, then the
// units. Names that do not fit the 16-bit length are cut.
void putAseName(std::string &out, std::string_view utf8)
{
    std::u16string units;
    for (const char32_t cp : decodeUtf8(utf8).value_or(U"?")) {
        if (cp >= 0x10000) {
            units.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            units.push_back(static_cast<char16_t>(cp));
        }
    }
    if (units.size() > 0xFFFE) {
        units.resize(0xFFFE);
        if (units.back() >= 0xD800 && units.back() < 0xDC00)
            units.pop_back();
    }
    units.push_back(0);
    putU16(out, static_cast<std::uint16_t>(units.size()));
    for (const char16_t unit : units)
        putU16(out, unit);
}

void putAseBlock(std::string &out, std::uint16_t type, const std::string &body)
{
    putU16(out, type);
    putU32(out, static_cast<std::uint32_t>(body.size()));
    out += body;
}

std::string swatchExchangeBytes(const PaletteExport &palette)
{
    const std::vector<PaletteSwatch> swatches = paletteSwatches(palette);
    std::string out = "ASEF";
    putU16(out, 1);
    putU16(out, 0);
    putU32(out, static_cast<std::uint32_t>(swatches.size() + 2));
    std::string group;
    putAseName(group, palette.name);
    putAseBlock(out, kAseGroupStart, group);
    for (const PaletteSwatch &swatch : swatches) {
        std::string body;
        putAseName(body, swatch.name);
        body += "RGB ";
        for (const int value : {swatch.color.red, swatch.color.green, swatch.color.blue}) {
            const float share = static_cast<float>(value) / 255.0f;
            std::uint32_t bits = 0;
            std::memcpy(&bits, &share, sizeof bits);
            putU32(body, bits);
        }
        putU16(body, kAseNormalColor);
        putAseBlock(out, kAseColorEntry, body);
    }
    putAseBlock(out, kAseGroupEnd, {});
    return out;
}

// --- Krita palette: a zip of the mime type, colorset.xml and profiles.xml ---

constexpr std::string_view kKritaMimeType = "krita/x-colorset";
constexpr std::string_view kSrgbProfile = "sRGB-elle-V2-srgbtrc.icc";
constexpr int kGridColumns = 10;

std::string xmlEscaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\t':
            out += "&#9;";
            break;
        default:
            // XML 1.0 cannot carry the other control characters at all.
            if (static_cast<unsigned char>(c) >= 0x20)
                out += c;
        }
    }
    return out;
}

std::string shareText(int value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(value) / 255.0);
    return text;
}

std::string colorSetXml(const PaletteExport &palette)
{
    const std::vector<PaletteSwatch> swatches = paletteSwatches(palette);
    const std::int32_t lastCell = swatches.empty() ? 0 : swatches.back().cell;
    const int rows = std::max(1, static_cast<int>(lastCell / kGridColumns) + 1);
    std::ostringstream xml;
    xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<ColorSet version=\"2.0\" name=\"" << xmlEscaped(palette.name) << "\" comment=\"\" columns=\""
        << kGridColumns << "\" rows=\"" << rows << "\" readonly=\"false\">\n";
    for (std::size_t i = 0; i < swatches.size(); ++i) {
        const PaletteSwatch &swatch = swatches[i];
        xml << " <ColorSetEntry name=\"" << xmlEscaped(swatch.name) << "\" id=\"" << i
            << "\" spot=\"false\" bitdepth=\"U8\">\n"
            << "  <RGB space=\"" << kSrgbProfile << "\" r=\"" << shareText(swatch.color.red) << "\" g=\""
            << shareText(swatch.color.green) << "\" b=\"" << shareText(swatch.color.blue) << "\"/>\n"
            << "  <Position row=\"" << swatch.cell / kGridColumns << "\" column=\"" << swatch.cell % kGridColumns
            << "\"/>\n"
            << " </ColorSetEntry>\n";
    }
    xml << "</ColorSet>\n";
    return xml.str();
}

constexpr std::string_view kProfilesXml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Profiles/>\n";

struct ZipSourceFree {
    void operator()(zip_source_t *source) const { zip_source_free(source); }
};

Result<std::string> kritaBytes(const PaletteExport &palette)
{
    const std::string colorSet = colorSetXml(palette);
    zip_error_t error;
    zip_error_init(&error);
    std::unique_ptr<zip_source_t, ZipSourceFree> buffer(zip_source_buffer_create(nullptr, 0, 0, &error));
    zip_t *archive = buffer ? zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &error) : nullptr;
    if (!archive) {
        const std::string why = zip_error_strerror(&error);
        zip_error_fini(&error);
        return Status::error("cannot make the palette's zip container: " + why);
    }
    zip_source_keep(buffer.get()); // the archive's close would free it; its bytes are read after
    // The mime type comes first and stored, so that a reader can tell the
    // file type from a fixed offset.
    const std::pair<const char *, std::string_view> members[]
        = {{"mimetype", kKritaMimeType}, {"colorset.xml", colorSet}, {"profiles.xml", kProfilesXml}};
    bool added = true;
    for (const auto &[name, data] : members) {
        zip_source_t *source = zip_source_buffer(archive, data.data(), data.size(), 0);
        const zip_int64_t index = source ? zip_file_add(archive, name, source, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            zip_source_free(source);
            added = false;
            break;
        }
        if (std::string_view(name) == "mimetype")
            added = zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0) == 0;
    }
    if (!added || zip_close(archive) != 0) {
        const std::string why = zip_strerror(archive);
        zip_discard(archive);
        return Status::error("cannot make the palette's zip container: " + why);
    }
    zip_stat_t stat;
    zip_stat_init(&stat);
    std::string bytes;
    if (zip_source_stat(buffer.get(), &stat) == 0 && zip_source_open(buffer.get()) == 0) {
        bytes.resize(static_cast<std::size_t>(stat.size));
        const zip_int64_t read = zip_source_read(buffer.get(), bytes.data(), stat.size);
        zip_source_close(buffer.get());
        if (read == static_cast<zip_int64_t>(stat.size))
            return bytes;
    }
    return Status::error("cannot read the palette's zip container back");
}

} // namespace

std::string hexColorText(const RgbColor &color)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", channel(color.red), channel(color.green), channel(color.blue));
    return text;
}

std::vector<PaletteSwatch> paletteSwatches(const PaletteExport &palette)
{
    std::vector<PaletteColorRecord> colors = palette.colors;
    std::stable_sort(colors.begin(), colors.end(),
                     [](const PaletteColorRecord &a, const PaletteColorRecord &b) { return a.cell() < b.cell(); });
    std::vector<PaletteSwatch> swatches;
    swatches.reserve(colors.size());
    for (const PaletteColorRecord &record : colors) {
        const RgbColor c = record.color();
        PaletteSwatch &swatch = swatches.emplace_back();
        swatch.cell = record.cell();
        swatch.color = {channel(c.red), channel(c.green), channel(c.blue)};
        swatch.name = platform::gbkToUtf8(record.code());
        if (swatch.name.empty())
            swatch.name = hexColorText(swatch.color);
        if (const auto recipe = palette.recipes.find(swatch.cell);
            recipe != palette.recipes.end() && !recipe->second.empty())
            swatch.name += std::string(kRecipeSeparator) + recipe->second;
    }
    return swatches;
}

Result<std::string> paletteFileBytes(const PaletteExport &palette, PaletteFileType type)
{
    switch (type) {
    case PaletteFileType::SwatchExchange:
        return swatchExchangeBytes(palette);
    case PaletteFileType::Krita:
        return kritaBytes(palette);
    case PaletteFileType::Gimp:
        break;
    }
    std::ostringstream out;
    writeGimpPalette(out, palette);
    return out.str();
}

Status savePaletteFile(const std::filesystem::path &path, const PaletteExport &palette, PaletteFileType type)
{
    const auto bytes = paletteFileBytes(palette, type);
    if (!bytes)
        return bytes.status();
    return safefile::writeExportFile(path, *bytes);
}

std::string_view paletteFileExtension(PaletteFileType type)
{
    switch (type) {
    case PaletteFileType::SwatchExchange:
        return ".ase";
    case PaletteFileType::Krita:
        return ".kpl";
    case PaletteFileType::Gimp:
        break;
    }
    return ".gpl";
}

} // namespace pigmora
