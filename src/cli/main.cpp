#include "cli/cli.h"

#include "data/platform.h"

#include <exception>
#include <iostream>

int main(int argc, char **argv)
{
    std::ios::sync_with_stdio(false);
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        return pigmora::cli::run(args, {std::cin, std::cout, std::cerr}, pigmora::platform::programFolder());
    } catch (const std::exception &e) {
        std::cerr << "pigmora-cli: " << e.what() << '\n';
    } catch (...) {
        std::cerr << "pigmora-cli: unexpected error\n";
    }
    return pigmora::cli::kExitFailure;
}
