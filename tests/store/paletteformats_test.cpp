#include "data/colormanager.h"
#include "store/gimppalette.h"
#include "store/paletteexport.h"
#include "store/paletteimport.h"

#include "storetestsupport.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <cmath>
#include <cstring>
#include <map>
#include <regex>

namespace pigmora {
namespace {

using test::gbk;

PaletteColorRecord paletteColor(std::string_view code, RgbColor color, std::int32_t cell)
{
    PaletteColorRecord record;
    record.setCode(gbk(code));
    record.setColor(color);
    record.setCell(cell);
    return record;
}

// Cells out of order, one without a code, one with a channel a damaged file
// could hold.
PaletteExport samplePalette()
{
    return {"画室 & \"Studio\"",
            {paletteColor("赭石", {200, 120, 40}, 12), paletteColor("", {10, 20, 30}, 3),
             paletteColor("100002", {300, -4, 255}, 99)},
            {{12, "柠檬黄 60% + 群青 40%"}}};
}

TEST(PaletteSwatches, AreInCellOrderNamedByCodeOrColourWithTheirRecipe)
{
    const auto swatches = paletteSwatches(samplePalette());
    ASSERT_EQ(swatches.size(), 3u);
    EXPECT_EQ(swatches[0].cell, 3);
    EXPECT_EQ(swatches[0].name, "#0A141E");
    EXPECT_EQ(swatches[1].name, "赭石 — 柠檬黄 60% + 群青 40%");
    EXPECT_EQ(swatches[2].name, "100002");
    EXPECT_EQ(swatches[2].color, (RgbColor{255, 0, 255}));
}

// --- A swatch exchange reader written from the format's description ---

struct AseBlock {
    std::uint16_t type = 0;
    std::string name; // UTF-8
    std::string model;
    float values[3] = {};
    std::uint16_t colorType = 0;
};

struct AseReader {
    const std::string &bytes;
    std::size_t at = 0;
    bool ok = true;

    std::uint32_t take(int count)
    {
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i, ++at) {
            ok = ok && at < bytes.size();
            value = (value << 8) | (ok ? static_cast<std::uint8_t>(bytes[at]) : 0u);
        }
        return value;
    }
    std::string utf16Name()
    {
        const std::uint32_t units = take(2);
        std::string out;
        for (std::uint32_t i = 0; i < units; ++i) {
            std::uint32_t cp = take(2);
            if (cp >= 0xD800 && cp < 0xDC00) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (take(2) - 0xDC00);
                ++i;
            }
            if (cp == 0) {
                ok = ok && i + 1 == units; // the zero ends the name
                continue;
            }
            if (cp < 0x80) {
                out += static_cast<char>(cp);
            } else if (cp < 0x800) {
                out += static_cast<char>(0xC0 | (cp >> 6));
                out += static_cast<char>(0x80 | (cp & 0x3F));
            } else if (cp < 0x10000) {
                out += static_cast<char>(0xE0 | (cp >> 12));
                out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (cp & 0x3F));
            } else {
                out += static_cast<char>(0xF0 | (cp >> 18));
                out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
                out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (cp & 0x3F));
            }
        }
        return out;
    }
};

std::vector<AseBlock> readAse(const std::string &bytes)
{
    AseReader r{bytes};
    EXPECT_EQ(bytes.substr(0, 4), "ASEF");
    r.at = 4;
    EXPECT_EQ(r.take(2), 1u); // version 1.0
    EXPECT_EQ(r.take(2), 0u);
    const std::uint32_t count = r.take(4);
    std::vector<AseBlock> blocks;
    for (std::uint32_t i = 0; i < count && r.ok; ++i) {
        AseBlock &block = blocks.emplace_back();
        block.type = static_cast<std::uint16_t>(r.take(2));
        const std::size_t end = r.take(4) + r.at;
        if (block.type != 0xC002)
            block.name = r.utf16Name();
        if (block.type == 0x0001) {
            block.model = bytes.substr(r.at, 4);
            r.at += 4;
            for (float &value : block.values) {
                const std::uint32_t bits = r.take(4);
                std::memcpy(&value, &bits, sizeof value);
            }
            block.colorType = static_cast<std::uint16_t>(r.take(2));
        }
        EXPECT_EQ(r.at, end) << "block " << i << " has the length it declares";
    }
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.at, bytes.size());
    return blocks;
}

TEST(SwatchExchange, ReadsBackAsOneGroupOfRgbColoursInCellOrder)
{
    PaletteExport palette = samplePalette();
    palette.colors.push_back(paletteColor("", {255, 255, 255}, 50));
    palette.recipes[50] = "钛白 𝄞"; // a name beyond the 16-bit plane
    const auto bytes = paletteFileBytes(palette, PaletteFileType::SwatchExchange);
    ASSERT_TRUE(bytes) << bytes.message();
    const auto blocks = readAse(*bytes);
    ASSERT_EQ(blocks.size(), 6u);
    EXPECT_EQ(blocks.front().type, 0xC001);
    EXPECT_EQ(blocks.front().name, palette.name);
    EXPECT_EQ(blocks.back().type, 0xC002);
    const auto swatches = paletteSwatches(palette);
    for (std::size_t i = 0; i < swatches.size(); ++i) {
        const AseBlock &block = blocks[i + 1];
        EXPECT_EQ(block.type, 0x0001);
        EXPECT_EQ(block.name, swatches[i].name);
        EXPECT_EQ(block.model, "RGB ");
        EXPECT_EQ(block.colorType, 2);
        const RgbColor c = swatches[i].color;
        EXPECT_EQ(block.values[0], static_cast<float>(c.red) / 255.0f);
        EXPECT_EQ(block.values[1], static_cast<float>(c.green) / 255.0f);
        EXPECT_EQ(block.values[2], static_cast<float>(c.blue) / 255.0f);
    }
    EXPECT_EQ(blocks[3].name, "#FFFFFF — 钛白 𝄞");
}

// --- Krita palettes, read back with the zip library ---

std::string zipMember(zip_t *archive, const char *name)
{
    zip_stat_t stat;
    if (zip_stat(archive, name, 0, &stat) != 0)
        return "(missing)";
    std::string data(static_cast<std::size_t>(stat.size), '\0');
    zip_file_t *file = zip_fopen(archive, name, 0);
    EXPECT_EQ(zip_fread(file, data.data(), stat.size), static_cast<zip_int64_t>(stat.size));
    zip_fclose(file);
    return data;
}

std::string attribute(const std::string &element, const std::string &name)
{
    std::smatch match;
    const std::regex pattern("\\b" + name + "=\"([^\"]*)\"");
    return std::regex_search(element, match, pattern) ? match[1].str() : "(none)";
}

std::string unescaped(std::string text)
{
    for (const auto &[entity, c] : std::map<std::string, std::string>{
             {"&quot;", "\""}, {"&lt;", "<"}, {"&gt;", ">"}, {"&#9;", "\t"}, {"&amp;", "&"}}) {
        for (std::size_t at; (at = text.find(entity)) != std::string::npos;)
            text.replace(at, entity.size(), c);
    }
    return text;
}

TEST(KritaPalette, IsAZipWithTheStoredMimeTypeFirstAndOneEntryPerColour)
{
    const PaletteExport palette = samplePalette();
    const auto bytes = paletteFileBytes(palette, PaletteFileType::Krita);
    ASSERT_TRUE(bytes) << bytes.message();
    // The mime type is readable at a fixed offset: the first member, stored.
    EXPECT_EQ(bytes->substr(30, 24), "mimetypekrita/x-colorset");

    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(bytes->data(), bytes->size(), 0, &error);
    zip_t *archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    ASSERT_NE(archive, nullptr) << zip_error_strerror(&error);
    ASSERT_EQ(zip_get_num_entries(archive, 0), 3);
    zip_stat_t first;
    ASSERT_EQ(zip_stat_index(archive, 0, 0, &first), 0);
    EXPECT_STREQ(first.name, "mimetype");
    EXPECT_EQ(first.comp_method, ZIP_CM_STORE);
    EXPECT_EQ(zipMember(archive, "mimetype"), "krita/x-colorset");
    EXPECT_NE(zipMember(archive, "profiles.xml").find("<Profiles"), std::string::npos);
    const std::string colorSet = zipMember(archive, "colorset.xml");
    zip_close(archive);

    const std::regex header("<ColorSet [^>]*>");
    std::smatch set;
    ASSERT_TRUE(std::regex_search(colorSet, set, header)) << colorSet;
    EXPECT_EQ(unescaped(attribute(set[0], "name")), palette.name);
    EXPECT_EQ(attribute(set[0], "columns"), "10");
    EXPECT_EQ(attribute(set[0], "rows"), "10");

    const std::regex entry(R"(<ColorSetEntry [^>]*>\s*(<RGB [^>]*>)\s*(<Position [^>]*>)\s*</ColorSetEntry>)");
    const auto swatches = paletteSwatches(palette);
    std::size_t i = 0;
    for (std::sregex_iterator it(colorSet.begin(), colorSet.end(), entry), end; it != end; ++it, ++i) {
        ASSERT_LT(i, swatches.size());
        const std::string whole = (*it)[0], rgb = (*it)[1], position = (*it)[2];
        EXPECT_EQ(unescaped(attribute(whole, "name")), swatches[i].name);
        const RgbColor c = swatches[i].color;
        EXPECT_EQ(std::lround(std::stod(attribute(rgb, "r")) * 255), c.red);
        EXPECT_EQ(std::lround(std::stod(attribute(rgb, "g")) * 255), c.green);
        EXPECT_EQ(std::lround(std::stod(attribute(rgb, "b")) * 255), c.blue);
        EXPECT_EQ(std::stoi(attribute(position, "row")) * 10 + std::stoi(attribute(position, "column")),
                  swatches[i].cell);
    }
    EXPECT_EQ(i, swatches.size());
}

// --- GIMP palettes in ---

struct GimpCase {
    std::string name;
    std::string text;
    std::string error; // empty: read
    std::size_t colors = 0;
};

class GimpPaletteFiles : public ::testing::TestWithParam<GimpCase>
{ };

TEST_P(GimpPaletteFiles, AreReadOrRefusedWithTheLine)
{
    const GimpCase &c = GetParam();
    const auto palette = parseGimpPalette(c.text);
    if (!c.error.empty()) {
        ASSERT_FALSE(palette);
        EXPECT_EQ(palette.message().substr(0, c.error.size()), c.error) << palette.message();
        return;
    }
    ASSERT_TRUE(palette) << palette.message();
    EXPECT_EQ(palette->colors.size(), c.colors);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GimpPaletteFiles,
    ::testing::Values(GimpCase{"Plain", "GIMP Palette\nName: x\nColumns: 4\n#\n  0 10 255\tBlue\n1 2 3\n", "", 2},
                      GimpCase{"CrlfBomAndBlankLines", "\xEF\xBB\xBFGIMP Palette\r\n\r\n# note\r\n9 9 9 grey\r\n", "",
                               1},
                      GimpCase{"NoColours", "GIMP Palette\nName: empty\n", "", 0},
                      GimpCase{"Empty", "", "line 1: not a GIMP palette"},
                      GimpCase{"WrongHeader", "JASC-PAL\n0100\n", "line 1: not a GIMP palette"},
                      GimpCase{"ChannelTooLarge", "GIMP Palette\n1 2 3\n1 256 3 x\n", "line 3: expected a colour"},
                      GimpCase{"NegativeZero", "GIMP Palette\n-0 2 3\n", "line 2: expected a colour"},
                      GimpCase{"TwoNumbers", "GIMP Palette\n\n1 2\n", "line 3: expected a colour"},
                      GimpCase{"Fraction", "GIMP Palette\n1.5 2 3\n", "line 2: expected a colour"},
                      GimpCase{"GluedName", "GIMP Palette\n1 2 3x\n", "line 2: expected a colour"},
                      GimpCase{"NotUtf8", "GIMP Palette\n1 2 3 ok\n4 5 6 \xC3\x28\n", "line 3: not valid UTF-8"}),
    test::CaseName());

class PaletteImportTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(manager.createDefaultPaletteFile()); }
    Result<PaletteImport> check(std::string_view name, const std::string &text)
    {
        const auto file = parseGimpPalette(text);
        EXPECT_TRUE(file) << file.message();
        return checkPaletteImport(name, *file, manager);
    }

    test::TempDir dir;
    test::RecordingNotifier notifier;
    CColorManager manager{dir.path(), &notifier};
};

TEST_F(PaletteImportTest, AnExportedPaletteComesBackWithTheSameCells)
{
    std::vector<PaletteColorRecord> original;
    ASSERT_TRUE(manager.loadPalette("Morvane色板", original)); // cells 0..7, with codes
    original.push_back(paletteColor("", {12, 34, 56}, 8)); // a colour placed by hand has no code
    original.push_back(paletteColor("一二三四五六七八九十", {1, 2, 3}, 9)); // the whole 21-byte field
    std::ostringstream gpl;
    writeGimpPalette(gpl, PaletteExport{"Morvane色板", original, {{3, "recipe text"}}});

    const auto imported = check("  回来的色板 ", gpl.str());
    ASSERT_TRUE(imported) << imported.message();
    EXPECT_EQ(imported->name, "回来的色板");
    EXPECT_TRUE(imported->cutLines.empty());
    ASSERT_TRUE(manager.addPalette(imported->name, imported->colors));
    std::vector<PaletteColorRecord> back;
    ASSERT_TRUE(manager.loadPalette("回来的色板", back));
    EXPECT_EQ(back, original);
}

TEST_F(PaletteImportTest, RefusesWhatCannotBecomeANewPalette)
{
    std::string tooMany = "GIMP Palette\n";
    for (int i = 0; i < 101; ++i)
        tooMany += "1 2 3\n";
    const struct {
        std::string name;
        std::string text;
        std::string error;
    } cases[] = {
        {" \t", "GIMP Palette\n1 2 3\n", "色板名称不能为空!"},
        {"Quessel色板", "GIMP Palette\n1 2 3\n", "相同名称的色板已经存在!"},
        {"新\n色板", "GIMP Palette\n1 2 3\n", "the palette name holds a control character (U+000A)"},
        {"色板😀", "GIMP Palette\n1 2 3\n", "the palette name holds characters the palette file cannot store"},
        {"新色板", "GIMP Palette\n", "the file holds no colours"},
        {"新色板", tooMany, "the file holds 101 colours; a palette holds at most 100"},
        {"新色板", "GIMP Palette\n1 2 3 ok\n4 5 6 a\x01z\n",
         "line 3: the colour name holds a control character (U+0001)"},
        {"新色板", "GIMP Palette\n\n4 5 6 😀\n",
         "line 3: the colour name holds characters the palette records cannot store"},
    };
    for (const auto &c : cases) {
        const auto imported = check(c.name, c.text);
        ASSERT_FALSE(imported) << c.name;
        EXPECT_EQ(imported.message(), c.error);
    }
    tooMany.erase(tooMany.rfind("1 2 3\n"));
    EXPECT_EQ(check("新色板", tooMany)->colors.size(), 100u);
}

TEST_F(PaletteImportTest, LongNamesAreKeptCutAndANameTakenMeanwhileIsNeverReplaced)
{
    const auto imported = check("一二三四五六七八九十一二三四五六", "GIMP Palette\n1 2 3 一二三四五六七八九十一\n");
    ASSERT_TRUE(imported) << imported.message();
    EXPECT_EQ(imported->name, "一二三四五六七八九十一二三四五"); // 31 bytes at a whole character
    EXPECT_TRUE(imported->nameCut);
    EXPECT_EQ(imported->cutLines, std::vector<int>{2});
    EXPECT_EQ(imported->colors[0].code(), gbk("一二三四五六七八九十"));

    // Another program creates the name between the check and the change.
    ASSERT_TRUE(manager.createPalette(imported->name));
    const auto before = test::readFileBytes(dir / "QorPalette.bin");
    const Status added = manager.addPalette(imported->name, imported->colors);
    EXPECT_EQ(added.message(), "相同名称的色板已经存在!");
    EXPECT_EQ(test::readFileBytes(dir / "QorPalette.bin"), before);
}

} // namespace
} // namespace pigmora
