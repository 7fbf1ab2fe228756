#include "cli/cli.h"

#include "data/buildinfo.h"
#include "data/platform.h"
#include "store/datafolder.h"

#include <cstdlib>
#include <exception>
#include <iostream>
#include <unistd.h>

namespace {

// The program's folder, or for an installed copy the per-user data folder
// (made when missing), as the desktop program chooses.
std::filesystem::path defaultDataFolder()
{
    const std::filesystem::path program = pigmora::platform::programFolder();
    if (!pigmora::isInstalledCopy(program, pigmora::buildinfo::kInstallBinFolder))
        return program;
    const std::filesystem::path perUser = pigmora::perUserDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    if (perUser.empty())
        return program;
    std::error_code ec;
    std::filesystem::create_directories(perUser, ec);
    return perUser;
}

} // namespace

int main(int argc, char **argv)
{
    std::ios::sync_with_stdio(false);
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        pigmora::cli::Io io{std::cin, std::cout, std::cerr, ::isatty(STDOUT_FILENO) == 1};
        return pigmora::cli::run(args, io, defaultDataFolder());
    } catch (const std::exception &e) {
        std::cerr << "pigmora-cli: " << e.what() << '\n';
    } catch (...) {
        std::cerr << "pigmora-cli: unexpected error\n";
    }
    return pigmora::cli::kExitFailure;
}
