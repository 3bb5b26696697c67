#pragma once
// The manual page and the bash completion of linvara-cli, made from the same
// declarations as its help: the global options and the command table.
#include <string>

namespace linvara::cli {

// roff source of linvara-cli(1).
std::string ManPage();

// A bash script that completes commands, their forms, options and the values
// the declarations spell out ("all|safari|chrome"; DIR and PATH as files).
std::string BashCompletion();

}  // namespace linvara::cli
