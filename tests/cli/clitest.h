#pragma once

#include "cli/cli.h"
#include "support/testsupport.h"

#include <sstream>
#include <string>
#include <vector>

namespace pigmora::test {

// One run of pigmora-cli with captured streams.
struct CliRun {
    int status = -1;
    std::string out;
    std::string err;

    std::vector<std::string> outLines() const;
    std::vector<std::string> errLines() const;
};

// outIsTerminal: stdout stands for a terminal.
CliRun runCli(const std::vector<std::string> &args, const std::string &input = {},
              const std::filesystem::path &dataDir = {}, bool outIsTerminal = false);

} // namespace pigmora::test
