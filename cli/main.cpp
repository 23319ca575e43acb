// tallyx-cli: the printer tool's commands from a shell.
#include <iostream>

#include "cli/RunCli.h"
#include "link/PosixPlatform.h"

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    tallyx::PosixPlatform platform;
    const std::vector<std::string> args(argv + 1, argv + argc);
    return tallyx::cli::RunCli(args, platform, std::cin, std::cout, std::cerr);
}
