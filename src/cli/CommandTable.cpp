#include "cli/Commands.h"

#include <algorithm>
#include <ostream>

#include "cli/GlobalOptions.h"
#include "cli/Output.h"

namespace linvara::cli {

namespace {
const OptionDeclaration kJson{"--json", "", "print JSON instead of text"};
const OptionDeclaration kView{"--view", "all|safari|chrome", "the bookmarks of every browser (all, the default) or one tree"};
const OptionDeclaration kWorkingCopy{"--working-copy", "", "start from the working copy instead of the browser's file"};
const OptionDeclaration kForce{"--force", "", "go ahead even while the browser runs"};
const OptionDeclaration kSafariView{"--view", "safari", "the Safari tree (the only one these commands change)"};
const OptionDeclaration kFromWorkingCopy{"--working-copy", "", "start from the Safari working copy, when there is one"};
const OptionDeclaration kRemoveYes{"--yes", "", "with --remove: remove without asking (only a terminal is asked)"};
}  // namespace

const std::vector<CommandDeclaration>& CommandTable() {
  static const std::vector<CommandDeclaration> table = {
      {"paths", "print every location Linvara reads or writes", {}, {kJson}, RunPaths},
      {"list",
       "print the bookmarks of every browser",
       {},
       {kView, {"--flat", "", "one line per bookmark instead of the tree"}, kJson},
       RunList},
      {"search", "print the bookmarks whose title or address contains TEXT", {"TEXT"}, {kView, kJson}, RunSearch},
      {"sort",
       "print the bookmarks of every browser sorted (nothing is written), or sort a tree and write its working copy",
       {"[UUID]..."},
       {kView,
        {"--by", "address|name|host|browser", "what to sort by (a tree: address or name)"},
        {"--folders", "first|last", "folders before (the default) or after the bookmarks, by address or name"},
        {"--flat", "", "sort the list of every bookmark instead of the top level"},
        {"--selected", "", "a tree: order only the top-level entries with the uuids given among themselves"},
        kWorkingCopy,
        kJson},
       RunSort},
      {"duplicates",
       "print the bookmarks that share an address, grouped",
       {},
       {kView, kJson,
        {"--remove", "", "remove the members the automatic ticks mark (the first of each group and its first favourite stay); print them"},
        kRemoveYes},
       RunDuplicates},
      {"dead-links",
       "probe every bookmark and print the unreachable ones",
       {},
       {kView,
        kJson,
        {"--concurrency", "N", "addresses probed at once"},
        {"--per-host", "N", "addresses of one host probed at once"},
        {"--timeout", "S", "seconds to wait for each answer"},
        {"--remove", "", "remove them from the safari or chrome tree; safari's file is replaced at once"},
        kRemoveYes},
       RunDeadLinks},
      {"empty-folders",
       "print the top-level folders that hold no bookmark",
       {},
       {{"--view", "all|safari", "the bookmarks of every browser (all, the default) or Safari's tree"},
        kJson,
        {"--remove", "", "safari view: remove them and write the working copy (apply reaches Safari)"}},
       RunEmptyFolders},
      {"cookies",
       "list the cookies of Safari, Chrome or a cookie file",
       {"safari|chrome|PATH"},
       {kJson},
       RunCookieList},
      {"cookies export",
       "write the cookies of Safari or Chrome to cookiedata.txt",
       {"safari|chrome"},
       {{"--out", "DIR", "the folder to write to (default: the cookie export folder)"}},
       RunCookieExport},
      {"cookies clear",
       "remove every cookie of Safari or Chrome",
       {"safari|chrome"},
       {{"--yes", "", "go ahead (nothing is removed without it)"}},
       RunCookieClear},
      {"delete",
       "remove the bookmarks with these uuids (from list --json) and write the working copy",
       {"UUID..."},
       {{"--view", "safari|chrome", "the tree to change (default safari)"}, kWorkingCopy},
       RunDelete},
      {"edit",
       "give a bookmark a new title or address and write the Safari working copy",
       {"UUID"},
       {{"--view", "safari", "the tree to change"},
        {"--title", "T", "the new title (empty or missing: keep it)"},
        {"--url", "U", "the new address (empty or missing: keep it)"},
        kWorkingCopy},
       RunEdit},
      {"move",
       "move bookmarks to the end of the first folder titled TITLE and write the Safari working copy",
       {"UUID..."},
       {{"--view", "safari", "the tree to change"}, {"--to", "TITLE", "the folder's title"}, kWorkingCopy},
       RunMove},
      {"apply",
       "replace the browser's bookmark file with its working copy",
       {"safari|chrome"},
       {kForce},
       RunApply},
      {"restore",
       "put the first-start backup in place of the browser's bookmark file",
       {"safari|chrome"},
       {{"--yes", "", "go ahead (nothing is replaced without it)"}, kForce},
       RunRestore},
      {"export",
       "write the view's bookmarks, every folder with its subtree, to DIR/Linvara.html",
       {"DIR"},
       {kView, {"--chrome-tree", "", "the whole Chrome tree, to DIR/Chrome BookMark.html"}},
       RunExport},
      {"update-check",
       "compare this version with the newest published one",
       {},
       {{"--update-url", "URL", "the manifest's address (https, or http on a loopback address)"}, kJson},
       RunUpdateCheck},
      {"encrypt",
       "hide the addresses of Safari bookmarks behind the password read from stdin (the first sets it)",
       {"UUID..."},
       {kSafariView, kFromWorkingCopy},
       RunEncrypt},
      {"decrypt",
       "give encrypted Safari bookmarks their title and address back (password read from stdin)",
       {"UUID..."},
       {kSafariView, kFromWorkingCopy},
       RunDecrypt},
      {"make-demo", "write the demo profile into DIR (macOS layout)", {"DIR"}, {}, RunMakeDemo},
      {"help", "print the help of COMMAND, or this help", {"[COMMAND]"}, {}, RunHelp},
  };
  return table;
}

std::vector<const CommandDeclaration*> CommandForms(const std::string& name) {
  std::vector<const CommandDeclaration*> forms;
  for (const auto& command : CommandTable())
    if (command.name == name || command.name.rfind(name + " ", 0) == 0) forms.push_back(&command);
  return forms;
}

std::string GeneralHelp() {
  std::size_t width = 0;
  for (const auto& command : CommandTable()) width = std::max(width, command.name.size());
  std::string text = "Usage: linvara-cli [OPTIONS] COMMAND [ARGS]\n\nOptions:\n" + OptionLines(GlobalOptions()) +
                     "\nCommands:\n";
  for (const auto& command : CommandTable())
    text += "  " + command.name + std::string(width - command.name.size() + 2, ' ') + command.summary + "\n";
  return text + "\nlinvara-cli help COMMAND prints the arguments and options of a command.\n";
}

int PrintCommandHelp(const std::string& name, std::ostream& out, std::ostream& err) {
  const auto forms = CommandForms(name);
  if (forms.empty()) {
    ErrorLine(err, "unknown command '" + name + "'");
    return 2;
  }
  for (std::size_t i = 0; i < forms.size(); ++i) out << (i ? "\n" : "") << HelpText(*forms[i]);
  return 0;
}

int UsageError(const CommandDeclaration& command, std::ostream& err, const std::string& problem) {
  ErrorLine(err, problem);
  const char* lead = "usage: ";
  for (const CommandDeclaration* form : CommandForms(command.name)) {
    err << lead << UsageLine(*form) << "\n";
    lead = "       ";
  }
  return 2;
}

int CommandContext::UsageError(const std::string& problem) const { return cli::UsageError(command, err, problem); }

int RunHelp(CommandContext& ctx) {
  if (ctx.args.positionals.empty()) {
    ctx.out << GeneralHelp();
    return 0;
  }
  return PrintCommandHelp(ctx.args.positionals[0], ctx.out, ctx.err);
}

}  // namespace linvara::cli
