#include <unistd.h>

#include <iostream>

#include "cli/Cli.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return linvara::cli::RunCli(args, std::cout, std::cerr, nullptr, {&std::cin, ::isatty(STDIN_FILENO) != 0, true});
}
