#include "clitest.h"

namespace pigmora::test {

namespace {

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line))
        lines.push_back(line);
    return lines;
}

} // namespace

std::vector<std::string> CliRun::outLines() const
{
    return linesOf(out);
}

std::vector<std::string> CliRun::errLines() const
{
    return linesOf(err);
}

CliRun runCli(const std::vector<std::string> &args, const std::string &input, const std::filesystem::path &dataDir,
              bool outIsTerminal)
{
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    // Runs that name no folder share one scratch folder for the whole test program.
    static const TempDir scratch;
    run.status = cli::run(args, {in, out, err, outIsTerminal}, dataDir.empty() ? scratch.path() : dataDir);
    run.out = out.str();
    run.err = err.str();
    return run;
}

} // namespace pigmora::test
