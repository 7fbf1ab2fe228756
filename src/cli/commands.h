#pragma once

#include <functional>
#include <vector>

namespace CLI {
class App;
}

namespace pigmora::cli {

class Context;

// A subcommand and what runs when the command line chose it. Options are
// parsed into storage the handler owns; the handler returns the exit status.
struct Command {
    CLI::App *app;
    std::function<int(Context &)> run;
};
using Commands = std::vector<Command>;

// Each group of commands adds its subcommands to the application.
void addCalibrateCommands(CLI::App &app, Commands &commands);
void addCardCommands(CLI::App &app, Commands &commands);
void addCorrectCommands(CLI::App &app, Commands &commands);
void addMatchCommands(CLI::App &app, Commands &commands);
void addMixCommands(CLI::App &app, Commands &commands);
void addObserveCommands(CLI::App &app, Commands &commands);
void addStoreCommands(CLI::App &app, Commands &commands);
void addViewCommands(CLI::App &app, Commands &commands);

} // namespace pigmora::cli
