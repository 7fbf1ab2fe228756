#include "store/paintimport.h"

#include "data/colormanager.h"
#include "data/platform.h"

#include <charconv>
#include <optional>

namespace pigmora {

namespace {

std::optional<int> parseChannel(std::string_view text)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text[0] == '-' || ec != std::errc() || end != text.data() + text.size() || value > 255)
        return std::nullopt;
    return value;
}

// Names typed by people are trimmed of blanks and control characters.
std::string trimmed(std::string_view text)
{
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

Status refuse(PaintRowProblem *problem, PaintRowProblem kind, std::string message)
{
    if (problem)
        *problem = kind;
    return Status::error(std::move(message));
}

} // namespace

Result<PaintListRow> checkPaintListRow(const std::vector<std::string> &fields, PaintRowProblem *problem)
{
    if (problem)
        *problem = PaintRowProblem::None;
    if (fields.size() != 4)
        return refuse(problem, PaintRowProblem::FieldCount,
                      "expected 4 fields (name,r,g,b), found " + std::to_string(fields.size()));
    PaintListRow row{trimmed(fields[0]), {}};
    const auto red = parseChannel(fields[1]);
    const auto green = parseChannel(fields[2]);
    const auto blue = parseChannel(fields[3]);
    if (!red || !green || !blue)
        return refuse(problem, PaintRowProblem::Channel, "r, g and b must be whole numbers 0..255");
    if (row.name.empty())
        return refuse(problem, PaintRowProblem::EmptyName, "颜色名称不能为空!");
    if (!platform::utf8ToGbk(row.name))
        return refuse(problem, PaintRowProblem::NotStorable,
                      "the name holds characters the paint records cannot store");
    row.color = {*red, *green, *blue};
    return row;
}

Result<PaintColorRecord> importPaintListRow(CColorManager &colors, std::string_view groupName, const PaintListRow &row,
                                            PaintRowProblem *problem)
{
    if (problem)
        *problem = PaintRowProblem::None;
    PaintColorRecord existing;
    if (colors.findGroupColor(groupName, row.name, existing))
        return refuse(problem, PaintRowProblem::Duplicate, "色谱中同名颜色存在!");
    if (!colors.addGroupColor(groupName, row.name, "", row.color, 1.0f, 2, PaintColorRecord::kOriginUser))
        return refuse(problem, PaintRowProblem::StoreFailed, "增加色谱颜色失败!");
    PaintColorRecord added;
    colors.findGroupColor(groupName, row.name, added);
    return added;
}

} // namespace pigmora
