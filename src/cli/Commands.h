#pragma once
// The commands of linvara-cli: one table, and the body of each command.
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/CommandContext.h"
#include "edit/BrowserFileReplacement.h"
#include "model/PRBookMarkNode.h"

namespace linvara::cli {

// Every command in the order of the help text. A name of two words ("cookies
// export") is a form of the command named by its first word.
const std::vector<CommandDeclaration>& CommandTable();
// The command called `name` and, for a one-word name, its forms.
std::vector<const CommandDeclaration*> CommandForms(const std::string& name);
// The help of linvara-cli itself: global options and the commands.
std::string GeneralHelp();
// Prints the help of the command called `name` and its forms; 2 when there is no such command.
int PrintCommandHelp(const std::string& name, std::ostream& out, std::ostream& err);
// Prints "linvara-cli: PROBLEM" and the usage of the command and its forms; returns 2.
int UsageError(const CommandDeclaration& command, std::ostream& err, const std::string& problem);

// Prints nodes as list does: one line each (flat) or as a tree, or JSON with --json.
void PrintAsList(const CommandContext& ctx, const NodeList& nodes, bool flat);

// Replaces the browser's file (refused while the browser runs, unless --force) and says what was kept.
int ReplaceBrowserFile(const CommandContext& ctx, BrowserFile browser, Replacement what);

int RunHelp(CommandContext& ctx);
int RunPaths(CommandContext& ctx);
int RunList(CommandContext& ctx);
int RunSearch(CommandContext& ctx);
int RunSort(CommandContext& ctx);
int RunDuplicates(CommandContext& ctx);
int RunDeadLinks(CommandContext& ctx);
int RunEmptyFolders(CommandContext& ctx);
int RunCookieList(CommandContext& ctx);
int RunCookieExport(CommandContext& ctx);
int RunCookieClear(CommandContext& ctx);
int RunMakeDemo(CommandContext& ctx);
int RunDelete(CommandContext& ctx);
int RunEdit(CommandContext& ctx);
int RunMove(CommandContext& ctx);
int RunApply(CommandContext& ctx);
int RunRestore(CommandContext& ctx);
int RunExport(CommandContext& ctx);
int RunUpdateCheck(CommandContext& ctx);
int RunEncrypt(CommandContext& ctx);
int RunDecrypt(CommandContext& ctx);

}  // namespace linvara::cli
