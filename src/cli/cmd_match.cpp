// The colour pick's answer from the command line: "match".
#include "cli/commands.h"

#include <CLI/CLI.hpp>

namespace pigmora::cli {

void addMatchCommands(CLI::App &, Commands &)
{
}

} // namespace pigmora::cli
