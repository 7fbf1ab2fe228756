// Commands on the data files: init, boxes, box, groups, group, palettes,
// palette, import-paints.
#include "cli/colorarg.h"
#include "cli/commands.h"
#include "cli/context.h"
#include "cli/csv.h"
#include "cli/json.h"

#include "data/platform.h"
#include "store/gimppalette.h"
#include "store/paintimport.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <memory>
#include <ostream>

namespace pigmora::cli {

namespace {

void printNames(Context &context, const std::vector<std::string> &names, bool json)
{
    if (!json) {
        for (const std::string &name : names)
            context.io.out << name << '\n';
        return;
    }
    JsonWriter writer;
    writer.beginArray();
    for (const std::string &name : names)
        writer.value(name);
    writer.endArray();
    context.io.out << writer.text() << '\n';
}

std::vector<std::string> paintFields(const PaintColorRecord &paint)
{
    const RgbColor c = paint.color();
    return {platform::gbkToUtf8(paint.code()),
            platform::gbkToUtf8(paint.name()),
            platform::gbkToUtf8(paint.englishName()),
            std::to_string(c.red),
            std::to_string(c.green),
            std::to_string(c.blue)};
}

// A colour group given by its index (0..5) or its name.
std::optional<int> groupIndexOf(std::string_view text)
{
    if (const auto index = parseInt(text, 0, kColorGroupCount - 1))
        return index;
    const int index = CColorManager::colorGroupIndex(text);
    return index >= 0 ? std::optional<int>(index) : std::nullopt;
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

int runInit(Context &context)
{
    const Status created = context.createMissingFiles();
    return created ? kExitOk : context.fail(created.message());
}

int runBoxes(Context &context, bool json)
{
    Session *session = context.session();
    if (!session)
        return kExitFailure;
    std::vector<std::string> names;
    if (!session->colors().listColorBoxes(names))
        return context.fail("cannot read the colour box file");
    printNames(context, names, json);
    return kExitOk;
}

int runBox(Context &context, const std::string &name)
{
    Session *session = context.session();
    if (!session)
        return kExitFailure;
    CColorManager &colors = session->colors();
    if (!colors.colorBoxExists(name) || !colors.loadColorBox(name))
        return context.fail("no colour box named '" + name + "'");
    writeCsvRow(context.io.out, {"code", "name", "name_en", "r", "g", "b"});
    for (const PaintColorRecord &paint : colors.currentBoxRecords())
        writeCsvRow(context.io.out, paintFields(paint));
    return kExitOk;
}

int runGroups(Context &context)
{
    if (!context.session())
        return kExitFailure;
    std::vector<std::string> names;
    CColorManager::listColorGroups(names);
    printNames(context, names, false);
    return kExitOk;
}

int runGroup(Context &context, const std::string &group)
{
    const auto index = groupIndexOf(group);
    if (!index)
        return context.fail("no colour group '" + group + "' (an index 0..5 or a group name)");
    Session *session = context.session();
    if (!session)
        return kExitFailure;
    writeCsvRow(context.io.out, {"code", "name", "name_en", "r", "g", "b", "origin"});
    for (const PaintColorRecord &paint : session->colors().catalogueRecords()) {
        if (paint.group() != *index)
            continue;
        std::vector<std::string> fields = paintFields(paint);
        fields.push_back(std::to_string(paint.origin()));
        writeCsvRow(context.io.out, fields);
    }
    return kExitOk;
}

int runPalettes(Context &context, bool json)
{
    Session *session = context.session();
    if (!session)
        return kExitFailure;
    std::vector<std::string> names;
    if (!session->colors().listPalettes(names))
        return context.fail("cannot read the palette file");
    printNames(context, names, json);
    return kExitOk;
}

int runPalette(Context &context, const std::string &name, bool gpl)
{
    Session *session = context.session();
    if (!session)
        return kExitFailure;
    CColorManager &colors = session->colors();
    std::vector<PaletteColorRecord> list;
    if (!colors.paletteExists(name) || !colors.loadPalette(name, list))
        return context.fail("no palette named '" + name + "'");
    if (gpl) {
        writeGimpPalette(context.io.out, name, std::move(list));
        return kExitOk;
    }
    writeCsvRow(context.io.out, {"code", "r", "g", "b", "cell"});
    for (const PaletteColorRecord &color : list) {
        const RgbColor c = color.color();
        writeCsvRow(context.io.out,
                    {platform::gbkToUtf8(color.code()), std::to_string(c.red), std::to_string(c.green),
                     std::to_string(c.blue), std::to_string(color.cell())});
    }
    return kExitOk;
}

// Adds the file's paints to a colour group as the colour group manager's add
// does; one line per row says what happened.
int runImportPaints(Context &context, const std::string &group, const std::string &path)
{
    const auto index = groupIndexOf(group);
    if (!index)
        return context.fail("no colour group '" + group + "' (an index 0..5 or a group name)");
    auto table = readCsvFile(path);
    if (!table)
        return context.fail(table.message());
    if (Status header = expectHeader(*table, {"name", "r", "g", "b"}); !header)
        return context.fail(path + ": " + header.message());
    Session *session = context.session();
    if (!session)
        return kExitFailure;

    CColorManager &colors = session->colors();
    std::string groupName;
    CColorManager::colorGroupName(*index, groupName);
    bool refusedAny = false;
    for (std::size_t i = 0; i < table->rows.size(); ++i) {
        const CsvRow &row = table->rows[i];
        std::ostream &out = context.io.out;
        out << "line " << table->lineNumbers[i] << ": ";
        auto refuse = [&](std::string_view name, std::string_view why) {
            out << "refused" << (name.empty() ? "" : " ") << name << ": " << why << '\n';
            refusedAny = true;
        };
        const auto checked = checkPaintListRow(row);
        if (!checked) {
            refuse(row.size() == 4 ? trimmed(row[0]) : "", checked.message());
            continue;
        }
        const auto added = importPaintListRow(colors, groupName, *checked);
        if (!added) {
            refuse(checked->name, added.message());
            continue;
        }
        out << "added " << platform::gbkToUtf8(added->code()) << ' ' << platform::gbkToUtf8(added->name()) << '\n';
    }
    return refusedAny ? kExitFailure : kExitOk;
}

struct StoreOptions {
    bool json = false;
    bool gpl = false;
    std::string name;
    std::string file;
};

} // namespace

void addStoreCommands(CLI::App &app, Commands &commands)
{
    auto o = std::make_shared<StoreOptions>();

    CLI::App *init = app.add_subcommand("init", "Create the missing data files with their defaults");
    commands.push_back({init, [](Context &context) { return runInit(context); }});

    CLI::App *boxes = app.add_subcommand("boxes", "Colour box names in file order");
    boxes->add_flag("--json", o->json, "A JSON array");
    commands.push_back({boxes, [o](Context &context) { return runBoxes(context, o->json); }});

    CLI::App *box = app.add_subcommand("box", "The paints a colour box holds, as CSV");
    box->add_option("NAME", o->name, "Colour box name")->required();
    commands.push_back({box, [o](Context &context) { return runBox(context, o->name); }});

    CLI::App *groups = app.add_subcommand("groups", "The six colour group names");
    commands.push_back({groups, [](Context &context) { return runGroups(context); }});

    CLI::App *group = app.add_subcommand("group", "A colour group's paints in catalogue order, as CSV");
    group->add_option("INDEX", o->name, "Group index 0..5 (or name)")->required();
    commands.push_back({group, [o](Context &context) { return runGroup(context, o->name); }});

    CLI::App *palettes = app.add_subcommand("palettes", "Palette names in file order");
    palettes->add_flag("--json", o->json, "A JSON array");
    commands.push_back({palettes, [o](Context &context) { return runPalettes(context, o->json); }});

    CLI::App *palette = app.add_subcommand("palette", "A palette's colours as CSV, or as a GIMP palette");
    palette->add_option("NAME", o->name, "Palette name")->required();
    palette->add_flag("--gpl", o->gpl, "Write a GIMP palette file (.gpl) instead of CSV");
    commands.push_back({palette, [o](Context &context) { return runPalette(context, o->name, o->gpl); }});

    CLI::App *import = app.add_subcommand("import-paints", "Add user paints to a colour group from a CSV name,r,g,b");
    import->add_option("GROUP", o->name, "Group index 0..5 or name")->required();
    import->add_option("FILE", o->file, "UTF-8 CSV with header name,r,g,b")->required();
    commands.push_back({import, [o](Context &context) { return runImportPaints(context, o->name, o->file); }});
}

} // namespace pigmora::cli
