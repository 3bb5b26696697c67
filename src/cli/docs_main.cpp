// Writes linvara-cli's manual page or bash completion at build time:
//   linvara-cli-docs man|bash OUTPUT
#include <iostream>
#include <string>

#include "cli/CliDocs.h"
#include "platform/AtomicFile.h"

int main(int argc, char** argv) {
  const std::string kind = argc == 3 ? argv[1] : "";
  if (kind != "man" && kind != "bash") {
    std::cerr << "usage: linvara-cli-docs man|bash OUTPUT\n";
    return 2;
  }
  const std::string text = kind == "man" ? linvara::cli::ManPage() : linvara::cli::BashCompletion();
  if (auto written = linvara::WriteFileAtomically(argv[2], text); !written) {
    std::cerr << "linvara-cli-docs: " << written.error() << "\n";
    return 1;
  }
  return 0;
}
