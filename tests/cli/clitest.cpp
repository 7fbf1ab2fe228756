#include "clitest.h"

namespace pigmora::test {

std::vector<std::string> CliRun::outLines() const
{
    std::vector<std::string> lines;
    std::istringstream stream(out);
    std::string line;
    while (std::getline(stream, line))
        lines.push_back(line);
    return lines;
}

CliRun runCli(const std::vector<std::string> &args, const std::string &input, const std::filesystem::path &dataDir)
{
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    run.status = cli::run(args, {in, out, err}, dataDir.empty() ? std::filesystem::temp_directory_path() : dataDir);
    run.out = out.str();
    run.err = err.str();
    return run;
}

} // namespace pigmora::test
