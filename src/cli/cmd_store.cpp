// Commands on the data files: init, boxes, box, groups, group, palettes,
// palette, import-palette, import-paints, restore.
#include "cli/colorarg.h"
#include "cli/commands.h"
#include "cli/context.h"
#include "cli/csv.h"
#include "cli/json.h"

#include "data/platform.h"
#include "store/gimppalette.h"
#include "store/paintimport.h"
#include "store/paletteexport.h"
#include "store/paletteimport.h"
#include "store/safefile.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>
#include <sstream>

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

struct PaletteOptions {
    bool gpl = false;
    bool ase = false;
    bool kpl = false;
    std::string output; // "-" or empty: stdout
};

// Writes the palette's CSV or palette file to -o FILE or stdout. The binary
// files (.ase, .kpl) need -o: they are never sent to a terminal.
int runPalette(Context &context, const std::string &name, const PaletteOptions &options)
{
    const bool toStdout = options.output.empty() || options.output == "-";
    if ((options.ase || options.kpl) && (options.output.empty() || (toStdout && context.io.outIsTerminal))) {
        context.io.err << "pigmora-cli: --ase and --kpl write a binary file: name it with -o FILE\n";
        return kExitUsage;
    }
    Session *session = context.session();
    if (!session)
        return kExitFailure;
    CColorManager &colors = session->colors();
    std::vector<PaletteColorRecord> list;
    if (!colors.paletteExists(name) || !colors.loadPalette(name, list))
        return context.fail("no palette named '" + name + "'");
    std::string bytes;
    if (options.gpl || options.ase || options.kpl) {
        const PaletteFileType type = options.ase ? PaletteFileType::SwatchExchange
            : options.kpl                        ? PaletteFileType::Krita
                                                 : PaletteFileType::Gimp;
        auto file = paletteFileBytes(PaletteExport{name, std::move(list), {}}, type);
        if (!file)
            return context.fail(file.message());
        bytes = std::move(*file);
    } else {
        std::ostringstream csv;
        writeCsvRow(csv, {"code", "r", "g", "b", "cell"});
        for (const PaletteColorRecord &color : list) {
            const RgbColor c = color.color();
            writeCsvRow(csv,
                        {platform::gbkToUtf8(color.code()), std::to_string(c.red), std::to_string(c.green),
                         std::to_string(c.blue), std::to_string(color.cell())});
        }
        bytes = csv.str();
    }
    if (toStdout) {
        context.io.out << bytes;
        return kExitOk;
    }
    const Status written = safefile::writeExportFile(options.output, bytes);
    return written ? kExitOk : context.fail(written.message());
}

// Adds a GIMP palette's colours as a new palette (cells 0, 1, 2, ...) in one
// change of the palette file; any problem refuses the whole file.
int runImportPalette(Context &context, const std::string &name, const std::string &path)
{
    Session *session = context.session();
    if (!session)
        return kExitFailure;
    const auto palette = importPaletteFile(session->colors(), name, path);
    if (!palette)
        return context.fail(palette.message());
    if (palette->nameCut)
        context.note("the palette name is stored cut to '" + palette->name + "' (" + std::to_string(kPaletteNameBytes)
                     + " bytes)");
    for (const int line : palette->cutLines)
        context.note("line " + std::to_string(line) + ": the colour name is stored cut to "
                     + std::to_string(PaletteColorRecord::kCodeWidth) + " bytes");
    context.io.out << palette->name << ": " << palette->colors.size() << " colours in cells 0.."
                   << palette->colors.size() - 1 << '\n';
    return kExitOk;
}

// Adds the file's paints to a colour group as the colour group manager's add
// does, all in one change of the colour group file. A refused row refuses the
// whole file (nothing is written) unless skipBad: then the good rows are
// added. Refusals go to stderr, one line each; added rows to stdout.
int runImportPaints(Context &context, const std::string &group, const std::string &path, bool skipBad)
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
    const auto rows = checkPaintList(*table, colors, groupName);
    if (!rows)
        return context.fail(rows.message());
    std::vector<const PaintListRow *> added;
    for (const PaintListRow &row : *rows) {
        if (row.accepted())
            added.push_back(&row);
        else
            context.note("line " + std::to_string(row.line) + ": refused" + (row.name.empty() ? "" : " ") + row.name
                         + ": " + row.refusal);
    }
    const std::size_t refused = rows->size() - added.size();
    if (refused > 0 && !skipBad)
        return context.fail(path + ": " + std::to_string(refused) + " of " + std::to_string(rows->size())
                            + " rows refused; nothing was added (--skip-bad adds the others)");
    for (const PaintListRow *row : added) {
        if (row->cut)
            context.note("line " + std::to_string(row->line) + ": the name '" + row->name + "' is stored cut to '"
                         + row->storedName + "' (" + std::to_string(PaintColorRecord::kTextLimit) + " bytes)");
    }
    std::vector<std::string> codes;
    if (const Status done = addPaintListRows(colors, groupName, *rows, &codes); !done)
        return context.fail("增加色谱颜色失败!: " + done.message() + "; nothing was added");
    for (std::size_t i = 0; i < added.size(); ++i)
        context.io.out << "line " << added[i]->line << ": added " << codes[i] << ' ' << added[i]->storedName << '\n';
    return kExitOk;
}

// Puts the backup of a damaged data file in its place; the damaged file is
// moved aside, never deleted.
int runRestore(Context &context, const std::string &file)
{
    if (file.empty())
        return context.fail("restore needs the name of a data file (QorConfig.bin, QorColorGroup.bin, "
                            "QorColorbox.bin, QorPalette.bin or QorObservation.bin)");
    std::filesystem::path path(file);
    if (!path.has_parent_path())
        path = context.dataDir() / path;
    const auto restored = DataFolder::restoreFromBackup(path);
    if (!restored) {
        const std::string name = path.filename().string();
        const bool named = !name.empty() && !restored.message().starts_with(name);
        return context.fail((named ? name + ": " : std::string()) + restored.message());
    }
    context.io.out << "restored " << path.string() << " from " << path.filename().string() << ".bak";
    if (!restored->empty()) // beside a linked file's target, which may lie elsewhere
        context.io.out << "; the damaged file is kept as "
                       << (restored->parent_path() == path.parent_path() ? restored->filename() : *restored).string();
    context.io.out << '\n';
    return kExitOk;
}

struct StoreOptions {
    bool json = false;
    PaletteOptions palette;
    bool skipBad = false;
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

    CLI::App *palette
        = app.add_subcommand("palette", "A palette's colours as CSV, or as a GIMP, swatch exchange or Krita palette");
    palette->add_option("NAME", o->name, "Palette name")->required();
    CLI::Option *gpl = palette->add_flag("--gpl", o->palette.gpl, "Write a GIMP palette file (.gpl) instead of CSV");
    CLI::Option *ase = palette->add_flag("--ase", o->palette.ase, "Write an Adobe swatch exchange file (.ase)");
    CLI::Option *kpl = palette->add_flag("--kpl", o->palette.kpl, "Write a Krita palette (.kpl)");
    gpl->excludes(ase, kpl);
    ase->excludes(kpl);
    palette->add_option("-o,--output", o->palette.output, "Write to FILE (needed for --ase and --kpl)");
    commands.push_back({palette, [o](Context &context) { return runPalette(context, o->name, o->palette); }});

    CLI::App *importPalette = app.add_subcommand(
        "import-palette", "Add a GIMP palette (.gpl) as a new palette, its colours in cells 0..99");
    importPalette->add_option("NAME", o->name, "Name of the new palette")->required();
    importPalette->add_option("FILE", o->file, "GIMP palette file (.gpl)")->required();
    commands.push_back({importPalette, [o](Context &context) { return runImportPalette(context, o->name, o->file); }});

    CLI::App *import = app.add_subcommand("import-paints", "Add user paints to a colour group from a CSV name,r,g,b");
    import->add_option("GROUP", o->name, "Group index 0..5 or name")->required();
    import->add_option("FILE", o->file, "UTF-8 CSV with header name,r,g,b")->required();
    import->add_flag("--skip-bad", o->skipBad, "Add the good rows even when some are refused");
    commands.push_back(
        {import, [o](Context &context) { return runImportPaints(context, o->name, o->file, o->skipBad); }});

    CLI::App *restore = app.add_subcommand("restore", "Put the last good copy of a damaged data file in its place");
    restore->add_option("FILE", o->file, "QorConfig.bin, QorColorGroup.bin, QorColorbox.bin or QorPalette.bin")
        ->required();
    commands.push_back({restore, [o](Context &context) { return runRestore(context, o->file); }});
}

} // namespace pigmora::cli
