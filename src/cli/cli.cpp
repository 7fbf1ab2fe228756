#include "cli/cli.h"

#include "cli/commands.h"
#include "store/folderlock.h"

#include "data/buildinfo.h"

#include <CLI/CLI.hpp>

#include <ostream>

namespace pigmora::cli {

namespace {

constexpr const char *kUsage
    = "usage: pigmora-cli [--data-dir DIR] COMMAND [ARGS]   ('pigmora-cli --help' lists the commands)";

// CLI11 reports a word that names no command as a missing subcommand; say
// which word it was.
std::string describeParseError(const CLI::App &app, const std::vector<std::string> &args, const CLI::ParseError &e)
{
    bool afterDataDir = false;
    for (const std::string &arg : args) {
        if (afterDataDir) {
            afterDataDir = false;
            continue;
        }
        if (arg == "--data-dir") {
            afterDataDir = true;
            continue;
        }
        if (arg.rfind("-", 0) == 0)
            continue;
        bool known = false;
        for (const CLI::App *sub : app.get_subcommands([](const CLI::App *) { return true; }))
            known = known || sub->get_name() == arg;
        return known ? e.what() : "unknown command '" + arg + "'";
    }
    return e.what();
}

} // namespace

int run(const std::vector<std::string> &args, Io io, const std::filesystem::path &defaultDataDir)
{
    CLI::App app("Pigmora command-line companion: match colours to paint mixes, read and export the data files.",
                 "pigmora-cli");
    app.require_subcommand(1);
    app.set_version_flag("--version", "pigmora-cli " + std::string(buildinfo::kVersion));
    app.fallthrough(); // --data-dir may also follow the command name

    std::string dataDir = defaultDataDir.string();
    app.add_option("--data-dir", dataDir,
                   "Folder holding the data files (default: the program's own folder; the per-user data folder for an "
                   "installed copy)");

    Commands commands;
    addCalibrateCommands(app, commands);
    addCardCommands(app, commands);
    addCorrectCommands(app, commands);
    addMatchCommands(app, commands);
    addMixCommands(app, commands);
    addObserveCommands(app, commands);
    addStoreCommands(app, commands);
    addViewCommands(app, commands);

    // CLI11's vector overload takes the arguments in reverse order.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp &) {
        io.out << app.help();
        return kExitOk;
    } catch (const CLI::CallForAllHelp &) {
        io.out << app.help("", CLI::AppFormatMode::All);
        return kExitOk;
    } catch (const CLI::CallForVersion &e) {
        io.out << e.what() << '\n';
        return kExitOk;
    } catch (const CLI::ParseError &e) {
        io.err << "pigmora-cli: " << describeParseError(app, args, e) << '\n' << kUsage << '\n';
        return kExitUsage;
    }

    Context context(io, dataDir);
    const FolderLock::CommandScope oneWait; // every lock request of the command shares one wait limit
    for (const Command &command : commands) {
        if (command.app->parsed())
            return command.run(context);
    }
    io.err << kUsage << '\n';
    return kExitUsage;
}

} // namespace pigmora::cli
