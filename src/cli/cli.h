#pragma once

#include "cli/context.h"

#include <filesystem>
#include <string>
#include <vector>

namespace pigmora::cli {

// Runs one command line (args without the program name) and returns the exit
// status. defaultDataDir is used when --data-dir is not given.
int run(const std::vector<std::string> &args, Io io, const std::filesystem::path &defaultDataDir);

} // namespace pigmora::cli
