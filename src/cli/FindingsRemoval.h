#pragma once
// --remove of the link-health commands: where a removal may go, the question
// asked on a terminal, and the removal from the Safari or Chrome tree.
#include <optional>
#include <string>

#include "cli/CommandContext.h"
#include "cli/LoadedView.h"

namespace linvara::cli {

// Checked before any work. The unified view removes nothing (its removals do not
// reach the browsers). A removal of findings (`findings`) also needs --yes or a
// terminal to ask, and in the Safari view a Safari that does not run, as its file
// is replaced. nullopt when the removal may go on, else the exit code, the
// reason told on stderr.
std::optional<int> RemovalRefused(const CommandContext& ctx, CliView view, bool findings);

// True with --yes; otherwise asks on the terminal and is true for "y" or "yes".
bool RemovalConfirmed(const CommandContext& ctx, const std::string& question);

// Asks, then removes `nodes` from the view's tree and writes its working copy;
// in the Safari view the working copy then replaces Safari's file. The exit code.
int RemoveFindings(const CommandContext& ctx, LoadedView& loaded, CliView view, const NodeList& nodes);

}  // namespace linvara::cli
