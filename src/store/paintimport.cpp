#include "store/paintimport.h"

#include "data/colormanager.h"
#include "data/platform.h"
#include "store/storesupport.h"

#include <charconv>
#include <optional>
#include <unordered_set>

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

void refuse(PaintListRow &row, PaintRowProblem problem, std::string refusal)
{
    row.problem = problem;
    row.refusal = std::move(refusal);
}

} // namespace

PaintListRow checkPaintListRow(const CsvRow &fields, int line)
{
    PaintListRow row;
    row.line = line;
    row.fieldCount = fields.size();
    if (fields.size() != 4) {
        refuse(row, PaintRowProblem::FieldCount,
               "expected 4 fields (name,r,g,b), found " + std::to_string(fields.size()));
        return row;
    }
    row.name = store::trimmedName(fields[0]);
    const auto red = parseChannel(fields[1]);
    const auto green = parseChannel(fields[2]);
    const auto blue = parseChannel(fields[3]);
    if (!red || !green || !blue) {
        refuse(row, PaintRowProblem::Channel, "r, g and b must be whole numbers 0..255");
        return row;
    }
    if (row.name.empty()) {
        refuse(row, PaintRowProblem::EmptyName, "颜色名称不能为空!");
        return row;
    }
    if (const auto control = store::controlCharacter(row.name)) {
        refuse(row, PaintRowProblem::ControlCharacter,
               "the name holds a control character (" + store::controlCharacterText(*control) + ")");
        row.control = *control;
        // The name is shown up to the character, which a terminal would act on.
        row.name = row.name.substr(0, row.name.find(static_cast<char>(*control))) + "...";
        return row;
    }
    const auto gbk = platform::utf8ToGbk(row.name);
    if (!gbk) {
        refuse(row, PaintRowProblem::NotStorable, "the name holds characters the paint records cannot store");
        return row;
    }
    const std::string_view stored = platform::cutGbk(*gbk, PaintColorRecord::kTextLimit);
    row.storedName = platform::gbkToUtf8(stored);
    row.cut = stored.size() < gbk->size();
    row.color = {*red, *green, *blue};
    return row;
}

Result<std::vector<PaintListRow>> checkPaintList(const CsvTable &table, const CColorManager &colors,
                                                 std::string_view groupName)
{
    const int group = CColorManager::colorGroupIndex(groupName);
    if (group < 0)
        return Status::error("no colour group '" + std::string(groupName) + "'");
    std::unordered_set<std::string> taken; // GBK names as stored
    for (const PaintColorRecord &paint : colors.catalogueRecords()) {
        if (paint.group() == group)
            taken.emplace(paint.name());
    }
    std::vector<PaintListRow> rows;
    rows.reserve(table.rows.size());
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        PaintListRow &row = rows.emplace_back(checkPaintListRow(table.rows[i], table.lineNumbers[i]));
        if (row.accepted()
            && !taken.emplace(platform::cutGbk(*platform::utf8ToGbk(row.name), PaintColorRecord::kTextLimit)).second)
            refuse(row, PaintRowProblem::Duplicate, "色谱中同名颜色存在!");
    }
    return rows;
}

Status addPaintListRows(CColorManager &colors, std::string_view groupName, std::span<const PaintListRow> rows,
                        std::vector<std::string> *codes)
{
    std::vector<CColorManager::NewGroupColor> paints;
    paints.reserve(rows.size());
    for (const PaintListRow &row : rows) {
        if (row.accepted())
            paints.push_back({row.name, "", row.color});
    }
    return colors.addGroupColors(groupName, paints, codes);
}

} // namespace pigmora
