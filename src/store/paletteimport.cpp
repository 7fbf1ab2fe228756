#include "store/paletteimport.h"

#include "data/colormanager.h"
#include "data/platform.h"
#include "store/paletteexport.h"
#include "store/storesupport.h"

#include <algorithm>
#include <cctype>

namespace pigmora {

namespace {

bool sameText(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
    });
}

// The code a colour line gives (GBK), or why it cannot be stored.
Result<std::string> colorCode(const GimpPaletteColor &color, bool &cut)
{
    const std::string prefix = "line " + std::to_string(color.line) + ": ";
    std::string_view label = color.name;
    label = store::trimmedName(label.substr(0, label.find(kRecipeSeparator)));
    if (label.empty() || sameText(label, hexColorText(color.color)))
        return std::string();
    if (const auto control = store::controlCharacter(label))
        return Status::error(prefix + "the colour name holds a control character ("
                             + store::controlCharacterText(*control) + ")");
    const auto gbk = platform::utf8ToGbk(label);
    if (!gbk)
        return Status::error(prefix + "the colour name holds characters the palette records cannot store");
    const std::string_view kept = platform::cutGbk(*gbk, PaletteColorRecord::kCodeWidth);
    cut = kept.size() < gbk->size();
    return std::string(kept);
}

} // namespace

Result<PaletteImport> checkPaletteImport(std::string_view paletteName, const GimpPalette &file,
                                         const CColorManager &colors)
{
    PaletteImport result;
    const std::string_view name = store::trimmedName(paletteName);
    if (name.empty())
        return Status::error("色板名称不能为空!");
    if (const auto control = store::controlCharacter(name))
        return Status::error("the palette name holds a control character (" + store::controlCharacterText(*control)
                             + ")");
    const auto gbk = platform::utf8ToGbk(name);
    if (!gbk)
        return Status::error("the palette name holds characters the palette file cannot store");
    const std::string_view stored = platform::cutGbk(*gbk, kPaletteNameBytes);
    result.name = platform::gbkToUtf8(stored);
    result.nameCut = stored.size() < gbk->size();
    if (colors.paletteExists(result.name))
        return Status::error("相同名称的色板已经存在!");
    if (file.colors.empty())
        return Status::error("the file holds no colours");
    if (file.colors.size() > kPaletteCellCount)
        return Status::error("the file holds " + std::to_string(file.colors.size())
                             + " colours; a palette holds at most " + std::to_string(kPaletteCellCount));
    for (std::size_t i = 0; i < file.colors.size(); ++i) {
        const GimpPaletteColor &color = file.colors[i];
        bool cut = false;
        const auto code = colorCode(color, cut);
        if (!code)
            return code.status();
        if (cut)
            result.cutLines.push_back(color.line);
        PaletteColorRecord &record = result.colors.emplace_back();
        record.setCode(*code);
        record.setColor(color.color);
        record.setCell(static_cast<std::int32_t>(i));
    }
    return result;
}

Result<PaletteImport> importPaletteFile(CColorManager &colors, std::string_view paletteName,
                                        const std::filesystem::path &path)
{
    const std::string shown = path.string();
    const auto file = readGimpPaletteFile(path);
    if (!file)
        return Status::error(file.message().rfind("line ", 0) == 0 ? shown + ": " + file.message() : file.message());
    auto palette = checkPaletteImport(paletteName, *file, colors);
    if (!palette)
        return Status::error(shown + ": " + palette.message() + "; nothing was imported");
    if (const Status added = colors.addPalette(palette->name, palette->colors); !added)
        return Status::error(added.message() + "; nothing was imported");
    return palette;
}

} // namespace pigmora
